#include "app/console/console_master.h"

#include <algorithm>
#include <span>

#include "traffic/frame_complete_check.h"

namespace tc101::console {

namespace {
// How long a wait may last before Ctrl-C is looked at again.
constexpr auto kInterruptCheck = std::chrono::milliseconds(100);

// A frame's lines once it has left: the console has no later event to tell a write time-out.
MasterStationOptions ConsoleOptions(DecodingSettings decoding) {
    MasterStationOptions options;
    options.sendLogging = SendLogging::WhenLeft;
    options.decoding = decoding;
    return options;
}
}  // namespace

ConsoleMaster::ConsoleMaster(ConsoleLog& log, ValueTables& tables, InterruptSignals& interrupts,
                             DecodingSettings decoding)
    : interrupts_(interrupts), station_(comm_, log, tables, ConsoleOptions(decoding)) {
    SetComm1Properties(comm_);
    comm_.OnReceiveData = [this](const std::uint8_t* data, std::uint16_t count) {
        station_.Received(std::span(data, count), std::chrono::system_clock::now(), comm_.BlockFirstOctet());
    };
    comm_.OnFrameLeft = [this](TComm::SteadyTime at, std::uint32_t) { station_.Link().Statistics().FrameLeft(at); };
    comm_.OnRequestHangup = [this] { hungUp_ = true; };
    comm_.OnLineErrors = [this](const LineErrorCounts& counts) { station_.LineErrors(counts, Clock::now()); };
}

void ConsoleMaster::Open(const PortSettings& settings) {
    portName_ = settings.port;
    ApplyPortSettings(settings, comm_);
    comm_.SetBlockEndCheck(FrameCompleteCheck(settings.frameComplete, station_.Profile().sizes.linkAddress));
    comm_.OpenPort();
    station_.PortOpened(settings.recieveDelay);
}

void ConsoleMaster::Close() {
    comm_.ClosePort();
    station_.ShowDueLineErrors(Clock::time_point::max());
}

ConsoleMaster::PumpEnd ConsoleMaster::PumpUntil(Clock::time_point deadline, const std::function<bool()>& done) {
    for (;;) {
        station_.ShowDueLineErrors(Clock::now());
        if (const auto due = station_.NextBalancedDue(); due && *due <= Clock::now()) station_.BalancedDue(Clock::now());
        if (interrupts_.Arrived()) return PumpEnd::Interrupted;
        if (hungUp_) return PumpEnd::HungUp;
        if (done && done()) return PumpEnd::Done;
        const auto now = Clock::now();
        if (now >= deadline) return PumpEnd::Deadline;
        CommNotice notice;
        const auto wake = std::min({deadline, now + kInterruptCheck, station_.NextLineErrorDue().value_or(deadline),
                                    station_.NextBalancedDue().value_or(deadline)});
        if (queue_.WaitUntil(wake, notice)) comm_.Deliver(std::move(notice));
    }
}

}  // namespace tc101::console
