#pragma once

// TComm: one serial port with a receive thread and a transmit thread. The
// owner's thread opens, closes, sends and sets properties; the threads post
// notices to the owner's sink, and the owner hands each one back to Deliver
// on its own thread, which raises the events. Nothing here calls the owner's
// code on a worker thread, except the block end check, a pure function.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <thread>

#include "serial/comm_notice.h"
#include "serial/comm_settings.h"
#include "serial/frame_port.h"

namespace tc101 {

struct PortSession;
class UniqueFd;

class TComm : public FramePort {
public:
    using ReceiveDataEvent = std::function<void(const std::uint8_t* buffer, std::uint16_t bufferLength)>;
    using ReceiveErrorEvent = std::function<void(std::uint32_t eventMask)>;
    using ModemStateChangeEvent = std::function<void(std::uint32_t modemEvent)>;
    using NotifyEvent = std::function<void()>;
    using LineErrorsEvent = std::function<void(const LineErrorCounts& counts)>;
    using WriteTimeoutEvent = std::function<void(std::uint32_t written, std::uint32_t requested)>;
    using SteadyTime = std::chrono::steady_clock::time_point;
    using FrameLeftEvent = std::function<void(SteadyTime lastOctetLeft, std::uint32_t octets)>;
    // Whether the octets read so far may go up as a block before the frame
    // delay has passed (called on the receive thread: must be pure); empty: never.
    using BlockEndCheck = std::function<bool(std::span<const std::uint8_t>)>;

    // The sink must outlive the component.
    explicit TComm(CommNoticeSink& sink);
    // Closes the port if it is still open (joins the threads).
    ~TComm() override;
    TComm(const TComm&) = delete;
    TComm& operator=(const TComm&) = delete;

    // Throws ECommsError; a failed call leaves the component as it was.
    // A "tcp:HOST:PORT" name connects to a serial device server within
    // ConnectTimeoutMs.
    void OpenPort();
    // Opens on a socket already connected (a master that reached a
    // listening outstation), as OpenPort does on a named port.
    void OpenPortOn(UniqueFd connectedSocket);
    // Lets what is queued leave first (see Drain), then stops both threads
    // and closes the port; nothing when closed.
    void ClosePort();
    bool IsOpen() const { return session_ != nullptr; }
    // Queues a copy of the bytes for the transmit thread; never waits for the
    // line. False, queuing nothing, when closed, for count 0, or when the
    // transmit side has ended.
    // One call per frame: each request goes to the line in one write when
    // the driver has room for it, so no idle time splits a frame.
    bool SendBytes(const std::uint8_t* data, std::uint16_t count) override;
    // Waits until every request queued so far has left the line, bounded by
    // the write time-outs or, without them, by a line that stops moving
    // (kDrainStall). True when all of it went; false when closed, or when
    // some of it timed out or is still held.
    bool Drain() override;

    // Raises the event a notice stands for. Call on the owner's thread.
    void Deliver(CommNotice notice);

    ReceiveDataEvent OnReceiveData;
    ReceiveErrorEvent OnReceiveError;
    ModemStateChangeEvent OnModemStateChange;
    NotifyEvent OnRequestHangup;
    NotifyEvent OnSendDataEmpty;
    // Raised with OnReceiveError: how many errors of each kind.
    LineErrorsEvent OnLineErrors;
    // A request that the write time-outs ended: how much of it was sent.
    WriteTimeoutEvent OnWriteTimeout;
    // A request that went out whole, with when its last octet left the line.
    FrameLeftEvent OnFrameLeft;
    // During OnReceiveData: when the block's first octet was read.
    SteadyTime BlockFirstOctet() const { return blockFirstOctet_; }

    // Applied at once while open and at every open.
    void SetBlockEndCheck(BlockEndCheck check);

    // Properties. Storing an equal value does nothing; a changed line
    // property or time-out is applied at once while open. CommName takes
    // effect at the next open, Parity at the next application of the line.
    const std::string& CommName() const { return commName_; }
    void SetCommName(const std::string& name) { commName_ = name; }
    std::uint32_t ConnectTimeoutMs() const { return connectTimeoutMs_; }
    void SetConnectTimeoutMs(std::uint32_t v) { connectTimeoutMs_ = v; }
    std::uint32_t BaudRate() const { return line_.BaudRate; }
    void SetBaudRate(std::uint32_t v) { SetLine(&LineSettings::BaudRate, v); }
    bool ParityCheck() const { return line_.ParityCheck; }
    void SetParityCheck(bool v) { SetLine(&LineSettings::ParityCheck, v); }
    bool Outx_CtsFlow() const { return line_.Outx_CtsFlow; }
    void SetOutx_CtsFlow(bool v) { SetLine(&LineSettings::Outx_CtsFlow, v); }
    bool Outx_DsrFlow() const { return line_.Outx_DsrFlow; }
    void SetOutx_DsrFlow(bool v) { SetLine(&LineSettings::Outx_DsrFlow, v); }
    TDtrControl DtrControl() const { return line_.DtrControl; }
    void SetDtrControl(TDtrControl v) { SetLine(&LineSettings::DtrControl, v); }
    bool DsrSensitivity() const { return line_.DsrSensitivity; }
    void SetDsrSensitivity(bool v) { SetLine(&LineSettings::DsrSensitivity, v); }
    bool TxContinueOnXoff() const { return line_.TxContinueOnXoff; }
    void SetTxContinueOnXoff(bool v) { SetLine(&LineSettings::TxContinueOnXoff, v); }
    bool Outx_XonXoffFlow() const { return line_.Outx_XonXoffFlow; }
    void SetOutx_XonXoffFlow(bool v) { SetLine(&LineSettings::Outx_XonXoffFlow, v); }
    bool Inx_XonXoffFlow() const { return line_.Inx_XonXoffFlow; }
    void SetInx_XonXoffFlow(bool v) { SetLine(&LineSettings::Inx_XonXoffFlow, v); }
    bool ReplaceWhenParityError() const { return line_.ReplaceWhenParityError; }
    void SetReplaceWhenParityError(bool v) { SetLine(&LineSettings::ReplaceWhenParityError, v); }
    bool IgnoreNullChar() const { return line_.IgnoreNullChar; }
    void SetIgnoreNullChar(bool v) { SetLine(&LineSettings::IgnoreNullChar, v); }
    TRtsControl RtsControl() const { return line_.RtsControl; }
    void SetRtsControl(TRtsControl v) { SetLine(&LineSettings::RtsControl, v); }
    std::uint16_t XonLimit() const { return line_.XonLimit; }
    void SetXonLimit(std::uint16_t v) { SetLine(&LineSettings::XonLimit, v); }
    std::uint16_t XoffLimit() const { return line_.XoffLimit; }
    void SetXoffLimit(std::uint16_t v) { SetLine(&LineSettings::XoffLimit, v); }
    TByteSize ByteSize() const { return line_.ByteSize; }
    void SetByteSize(TByteSize v) { SetLine(&LineSettings::ByteSize, v); }
    TParity Parity() const { return line_.Parity; }
    void SetParity(TParity v) { line_.Parity = v; }
    TStopBits StopBits() const { return line_.StopBits; }
    void SetStopBits(TStopBits v) { SetLine(&LineSettings::StopBits, v); }
    std::uint8_t XonChar() const { return line_.XonChar; }
    void SetXonChar(std::uint8_t v) { SetLine(&LineSettings::XonChar, v); }
    std::uint8_t XoffChar() const { return line_.XoffChar; }
    void SetXoffChar(std::uint8_t v) { SetLine(&LineSettings::XoffChar, v); }
    std::uint8_t ReplacedChar() const { return line_.ReplacedChar; }
    void SetReplacedChar(std::uint8_t v) { SetLine(&LineSettings::ReplacedChar, v); }

    std::uint32_t ReadIntervalTimeout() const { return timeouts_.ReadIntervalTimeout; }
    void SetReadIntervalTimeout(std::uint32_t v) { SetTimeout(&CommTimeouts::ReadIntervalTimeout, v); }
    std::uint32_t ReadTotalTimeoutMultiplier() const { return timeouts_.ReadTotalTimeoutMultiplier; }
    void SetReadTotalTimeoutMultiplier(std::uint32_t v) { SetTimeout(&CommTimeouts::ReadTotalTimeoutMultiplier, v); }
    std::uint32_t ReadTotalTimeoutConstant() const { return timeouts_.ReadTotalTimeoutConstant; }
    void SetReadTotalTimeoutConstant(std::uint32_t v) { SetTimeout(&CommTimeouts::ReadTotalTimeoutConstant, v); }
    std::uint32_t WriteTotalTimeoutMultiplier() const { return timeouts_.WriteTotalTimeoutMultiplier; }
    void SetWriteTotalTimeoutMultiplier(std::uint32_t v) { SetTimeout(&CommTimeouts::WriteTotalTimeoutMultiplier, v); }
    std::uint32_t WriteTotalTimeoutConstant() const { return timeouts_.WriteTotalTimeoutConstant; }
    void SetWriteTotalTimeoutConstant(std::uint32_t v) { SetTimeout(&CommTimeouts::WriteTotalTimeoutConstant, v); }

private:
    template <typename T>
    void SetLine(T LineSettings::*member, T value) {
        if (line_.*member == value) {
            return;
        }
        line_.*member = value;
        if (IsOpen()) {
            ApplyLineSettings();
        }
    }
    void SetTimeout(std::uint32_t CommTimeouts::*member, std::uint32_t value) {
        if (timeouts_.*member == value) {
            return;
        }
        timeouts_.*member = value;
        if (IsOpen()) {
            ApplyTimeouts();
        }
    }
    void ApplyLineSettings();
    void ApplyTimeouts();
    void StopThreads() noexcept;
    void Start(std::unique_ptr<PortSession> session);

    CommNoticeSink& sink_;
    std::string commName_ = kDefaultCommName;
    std::uint32_t connectTimeoutMs_ = kDefaultConnectTimeoutMs;
    LineSettings line_;
    CommTimeouts timeouts_;
    BlockEndCheck blockEnd_;
    SteadyTime blockFirstOctet_{};
    // Declared before the threads: they use it until joined.
    std::unique_ptr<PortSession> session_;
    std::thread receiveThread_;
    std::thread transmitThread_;
};

}  // namespace tc101
