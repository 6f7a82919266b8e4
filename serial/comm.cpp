#include "serial/comm.h"

#include <chrono>
#include <system_error>
#include <utility>
#include <type_traits>

#include "serial/comms_error.h"
#include "serial/line_termios.h"
#include "serial/port_names.h"
#include "serial/port_session.h"
#include "serial/tcp_socket.h"
#include "serial/write_timing.h"

namespace tc101 {

TComm::TComm(CommNoticeSink& sink) : sink_(sink) {}

TComm::~TComm() {
    ClosePort();
}

void TComm::OpenPort() {
    if (IsOpen()) {
        throw ECommsError(kMsgAlreadyOpen);
    }
    if (IsTcpPortName(commName_)) {
        Start(std::make_unique<PortSession>(OpenTcpPort(commName_, std::chrono::milliseconds(connectTimeoutMs_)),
                                            timeouts_, sink_));
        return;
    }
    Start(std::make_unique<PortSession>(DevicePathFor(commName_), OpeningModemLines(line_), timeouts_, sink_));
}

void TComm::OpenPortOn(UniqueFd connectedSocket) {
    if (IsOpen()) {
        throw ECommsError(kMsgAlreadyOpen);
    }
    Start(std::make_unique<PortSession>(std::move(connectedSocket), timeouts_, sink_));
}

void TComm::Start(std::unique_ptr<PortSession> session) {
    session->port.DiscardInput();
    session->port.DiscardOutput();
    session->port.ApplyLine(line_);
    session->ignoreNullChar = line_.IgnoreNullChar;
    session->octetNs = OctetTime(line_).count();
    session->blockEnd.Store(blockEnd_);

    std::thread receiver;
    try {
        receiver = std::thread(RunReceiveThread, std::ref(*session));
    } catch (const std::system_error&) {
        throw ECommsError(kMsgReadThreadFailed);
    }
    try {
        transmitThread_ = std::thread(RunTransmitThread, std::ref(*session));
    } catch (const std::system_error&) {
        session->stop.Signal();
        receiver.join();
        throw ECommsError(kMsgWriteThreadFailed);
    }
    receiveThread_ = std::move(receiver);
    session_ = std::move(session);
}

void TComm::ClosePort() {
    if (!IsOpen()) {
        return;
    }
    session_->drained = Drain();
    StopThreads();
    session_.reset();
}

bool TComm::Drain() {
    if (!IsOpen()) {
        return false;
    }
    return DrainTransmit(*session_, DrainStallLimit(timeouts_, session_->progress.Now().pendingOctets));
}

void TComm::StopThreads() noexcept {
    session_->stop.Signal();
    session_->port.DiscardInput();
    if (!session_->drained) {
        session_->port.DiscardOutput();
    }
    // Every wait of both threads includes the stop signal, so these return promptly.
    if (receiveThread_.joinable()) {
        receiveThread_.join();
    }
    if (transmitThread_.joinable()) {
        transmitThread_.join();
    }
}

bool TComm::SendBytes(const std::uint8_t* data, std::uint16_t count) {
    if (!IsOpen() || count == 0 || data == nullptr) {
        return false;
    }
    try {
        TxQueue::Request request(data, data + count);
        session_->progress.Queued(count);
        if (session_->txQueue.Push(std::move(request))) {
            return true;
        }
        session_->progress.Finished(count);
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

namespace {

// An event without a handler is skipped.
template <typename Handler, typename... Args>
void Raise(const Handler& handler, Args... args) {
    if (handler) {
        handler(args...);
    }
}

}  // namespace

void TComm::Deliver(CommNotice notice) {
    std::visit(
        [this](const auto& n) {
            using N = std::decay_t<decltype(n)>;
            if constexpr (std::is_same_v<N, NotifyData>) {
                blockFirstOctet_ = n.firstOctet;
                Raise(OnReceiveData, n.block.data(), n.Count());
            } else if constexpr (std::is_same_v<N, NotifyError>) {
                Raise(OnReceiveError, n.errorMask);
                Raise(OnLineErrors, n.counts);
            } else if constexpr (std::is_same_v<N, NotifyHangup>) {
                Raise(OnRequestHangup);
            } else if constexpr (std::is_same_v<N, NotifyModem>) {
                Raise(OnModemStateChange, n.modemBits);
            } else if constexpr (std::is_same_v<N, NotifyTxEmpty>) {
                Raise(OnSendDataEmpty);
            } else if constexpr (std::is_same_v<N, NotifyWriteTimeout>) {
                Raise(OnWriteTimeout, n.written, n.requested);
            } else if constexpr (std::is_same_v<N, NotifyFrameLeft>) {
                Raise(OnFrameLeft, n.at, n.octets);
            }
        },
        notice);
}

void TComm::ApplyLineSettings() {
    session_->port.ApplyLine(line_);
    session_->ignoreNullChar = line_.IgnoreNullChar;
    session_->octetNs = OctetTime(line_).count();
}

void TComm::SetBlockEndCheck(BlockEndCheck check) {
    blockEnd_ = std::move(check);
    if (IsOpen()) session_->blockEnd.Store(blockEnd_);
}

void TComm::ApplyTimeouts() {
    session_->timeouts.Store(timeouts_);
    session_->timeoutsChanged.Signal();
}

}  // namespace tc101
