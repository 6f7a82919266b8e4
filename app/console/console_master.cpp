#include "app/console/console_master.h"

#include <algorithm>

#include "protocol/analyzer.h"

namespace tc101::console {

namespace {
// How long a wait may last before Ctrl-C is looked at again.
constexpr auto kInterruptCheck = std::chrono::milliseconds(100);

std::string Stamp() { return TimeStamp(std::chrono::system_clock::now()); }
}  // namespace

ConsoleMaster::ConsoleMaster(ConsoleLog& log, ValueTables& tables, InterruptSignals& interrupts,
                             DecodingSettings decoding)
    : log_(log), tables_(tables), interrupts_(interrupts), decoding_(decoding) {
    SetComm1Properties(comm_);
    comm_.OnReceiveData = [this](const std::uint8_t* data, std::uint16_t count) { Received(data, count); };
    comm_.OnRequestHangup = [this] { hungUp_ = true; };
    comm_.OnLineErrors = [this](const LineErrorCounts& counts) { ShowLineErrors(lineErrors_.Add(counts, Clock::now())); };
}

void ConsoleMaster::Open(const PortSettings& settings) {
    ApplyPortSettings(settings, comm_);
    comm_.OpenPort();
    if (!FrameDelayUsable(settings.recieveDelay))
        log_.Line(LogColour::Red,
                  FrameDelayReplacedText(settings.recieveDelay, UsableFrameDelay(settings.recieveDelay)));
}

void ConsoleMaster::Close() {
    comm_.ClosePort();
    ShowLineErrors(lineErrors_.Due(Clock::time_point::max()));
}

bool ConsoleMaster::Write(std::span<const std::uint8_t> octets) {
    // Printed only once the octets have left: a line held by flow control
    // must not look as if the request went out.
    return comm_.SendBytes(octets.data(), static_cast<std::uint16_t>(octets.size())) && comm_.Drain();
}

void ConsoleMaster::SendRequest(MasterRequest request, std::span<const std::uint8_t> built, std::int64_t address) {
    const std::vector<std::uint8_t> octets = cycle_.FrameToSend(built);
    const bool written = Write(octets);
    log_.Line(LogColour::Black, RequestBanner(request, address));
    if (written)
        log_.Line(LogColour::Blue, RequestLine(octets, Stamp()));
    else
        log_.Line(LogColour::Red, NotWrittenText(octets.size()));
}

bool ConsoleMaster::SendMessage(std::string_view content, std::span<const std::uint8_t> octets) {
    if (!Write(octets)) {
        log_.Line(LogColour::Red, NotWrittenText(octets.size()));
        return false;
    }
    cycle_.MessageSent();
    log_.Line(LogColour::Blue, SendListLine(content, Stamp()));
    return true;
}

void ConsoleMaster::ShowLineErrors(std::optional<std::string> line) {
    if (line) log_.Line(LogColour::Red, *line);
}

void ConsoleMaster::Received(const std::uint8_t* data, std::uint16_t count) {
    const std::string stamp = Stamp();
    if (count == 0) return;
    const std::span<const std::uint8_t> block(data, count);
    log_.Line(LogColour::Green, ReceiveLine(block, stamp));
    const FrameAnalysis analysis = AnalyzeFrames(block, tables_, decoding_);
    cycle_.ReplyArrived(block, analysis.verdict);
    log_.Account(analysis.lines);
}

ConsoleMaster::PumpEnd ConsoleMaster::PumpUntil(Clock::time_point deadline, const std::function<bool()>& done) {
    for (;;) {
        ShowLineErrors(lineErrors_.Due(Clock::now()));
        if (interrupts_.Arrived()) return PumpEnd::Interrupted;
        if (hungUp_) return PumpEnd::HungUp;
        if (done && done()) return PumpEnd::Done;
        const auto now = Clock::now();
        if (now >= deadline) return PumpEnd::Deadline;
        CommNotice notice;
        const auto wake = std::min({deadline, now + kInterruptCheck, lineErrors_.NextDue().value_or(deadline)});
        if (queue_.WaitUntil(wake, notice)) comm_.Deliver(std::move(notice));
    }
}

}  // namespace tc101::console
