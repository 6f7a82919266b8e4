#include "app/console/console_master.h"

#include <algorithm>

#include "protocol/analyzer.h"

namespace tc101::console {

namespace {
// How long a wait may last before Ctrl-C is looked at again.
constexpr auto kInterruptCheck = std::chrono::milliseconds(100);

}  // namespace

ConsoleMaster::ConsoleMaster(ConsoleLog& log, ValueTables& tables, InterruptSignals& interrupts)
    : log_(log), tables_(tables), interrupts_(interrupts) {
    SetComm1Properties(comm_);
    comm_.OnReceiveData = [this](const std::uint8_t* data, std::uint16_t count) { Received(data, count); };
    comm_.OnRequestHangup = [this] { hungUp_ = true; };
}

void ConsoleMaster::Open(const PortSettings& settings) {
    portName_ = settings.port;
    ApplyPortSettings(settings, comm_);
    comm_.OpenPort();
}

void ConsoleMaster::SendRequest(MasterRequest request, std::span<const std::uint8_t> built, std::int64_t address) {
    const std::vector<std::uint8_t> octets = cycle_.FrameToSend(built);
    for (const std::uint8_t& octet : octets) comm_.SendBytes(&octet, 1);
    const auto now = std::chrono::system_clock::now();
    capture_.Add(CaptureDirection::Sent, octets, now);
    log_.Line(LogColour::Black, RequestBanner(request, address));
    log_.Line(LogColour::Blue, RequestLine(octets, TimeStamp(now)));
}

void ConsoleMaster::SendMessage(std::string_view content, std::span<const std::uint8_t> octets) {
    for (const std::uint8_t& octet : octets) comm_.SendBytes(&octet, 1);
    const auto now = std::chrono::system_clock::now();
    capture_.Add(CaptureDirection::Sent, octets, now);
    cycle_.MessageSent();
    log_.Line(LogColour::Blue, SendListLine(content, TimeStamp(now)));
}

void ConsoleMaster::Received(const std::uint8_t* data, std::uint16_t count) {
    const auto now = std::chrono::system_clock::now();
    const std::string stamp = TimeStamp(now);
    if (count == 0) return;
    const std::span<const std::uint8_t> block(data, count);
    capture_.Add(CaptureDirection::Received, block, now);
    log_.Line(LogColour::Green, ReceiveLine(block, stamp));
    const FrameAnalysis analysis = AnalyzeFrames(block, tables_);
    cycle_.ReplyArrived(block, analysis.verdict);
    log_.Account(analysis.lines);
}

ConsoleMaster::PumpEnd ConsoleMaster::PumpUntil(Clock::time_point deadline, const std::function<bool()>& done) {
    for (;;) {
        if (interrupts_.Arrived()) return PumpEnd::Interrupted;
        if (hungUp_) return PumpEnd::HungUp;
        if (done && done()) return PumpEnd::Done;
        const auto now = Clock::now();
        if (now >= deadline) return PumpEnd::Deadline;
        CommNotice notice;
        if (queue_.WaitUntil(std::min(deadline, now + kInterruptCheck), notice)) comm_.Deliver(std::move(notice));
    }
}

}  // namespace tc101::console
