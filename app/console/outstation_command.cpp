// tc101tool outstation: the built-in outstation simulator on a serial port,
// printing its traffic as the console master prints its own.

#include <signal.h>

#include <array>
#include <chrono>
#include <cmath>
#include <optional>
#include <cstdio>
#include <ctime>
#include <string>
#include <string_view>

#include "app/console/args.h"
#include "app/console/commands.h"
#include "app/console/table_print.h"
#include "outstation/station_runner.h"
#include "serial/comm_settings.h"

namespace tc101::console {

namespace {

constexpr std::string_view kUsage =
    "usage: tc101tool outstation --port NAME [--baud N] [--data-bits 5|6|7|8]\n"
    "                            [--parity none|odd|even|mark|space] [--stop-bits 1|1.5|2]\n"
    "                            [--frame-delay MS] [--address N] [--yc N] [--yx N]\n"
    "                            [--change-every MS] [--event-every MS] [--strict-fcb]\n"
    "                            [--single-char-ack] [--seed N] [--seconds S]\n"
    "\n"
    "Plays an IEC 60870-5-101 outstation (secondary station of an unbalanced link)\n"
    "on the port and prints the frames it receives (Rx:) and sends (TX:).\n"
    "  --address N         link address and common address, 0 to 255 (default 1)\n"
    "  --yx N              telesignals from address 1, 0 to 247 (default 16)\n"
    "  --yc N              measured values from address 1, 0 to 123 (default 8)\n"
    "  --change-every MS   a measured value change as class 2 data (default 2000, 0 none)\n"
    "  --event-every MS    a telesignal change and its event as class 1 data\n"
    "                      (default 5000, 0 none)\n"
    "  --strict-fcb        follow the frame count bit; confirm interrogations on the link\n"
    "  --single-char-ack   acknowledge with E5 when no class 1 data waits\n"
    "  --seed N            seed of the values (default 1)\n"
    "  --seconds S         stop after S seconds, fractions allowed (default: run until\n"
    "                      interrupted)\n";

constexpr std::int64_t kMaxInterval = 24LL * 60 * 60 * 1000;
constexpr double kMaxSeconds = 365.0 * 24 * 60 * 60;
constexpr std::int64_t kMaxFrameDelay = 60'000;
constexpr std::int64_t kImmediateDelivery = -1;
// How often the waiting thread looks at the clock and the runner.
constexpr std::chrono::milliseconds kWaitSlice{100};

StationConfig ReadStationConfig(Args& args) {
    StationConfig config;
    if (auto v = args.Integer("--address", 0, 255)) config.address = static_cast<std::uint8_t>(*v);
    if (auto v = args.Integer("--yx", 0, kMaxStationYx)) config.yxCount = static_cast<int>(*v);
    if (auto v = args.Integer("--yc", 0, kMaxStationYc)) config.ycCount = static_cast<int>(*v);
    if (auto v = args.Integer("--change-every", 0, kMaxInterval)) config.changeEveryMs = *v;
    if (auto v = args.Integer("--event-every", 0, kMaxInterval)) config.eventEveryMs = *v;
    if (auto v = args.Integer("--seed", 0, UINT32_MAX)) config.seed = static_cast<std::uint32_t>(*v);
    config.strictFcb = args.Flag("--strict-fcb");
    config.singleCharAck = args.Flag("--single-char-ack");
    return config;
}

// The line of the console port options, applied to the component before it opens.
struct PortLine {
    std::string name;
    LineSettings line;
    std::uint32_t frameDelay = CommTimeouts{}.ReadIntervalTimeout;
};

PortLine ReadPortLine(Args& args) {
    PortLine port;
    const auto name = args.Value("--port");
    if (!name || name->empty()) throw UsageError("--port NAME is required");
    port.name = *name;
    // No flow control: every octet value passes.
    port.line.DtrControl = TDtrControl::DtrDisable;
    port.line.RtsControl = TRtsControl::RtsDisable;
    port.line.TxContinueOnXoff = false;
    port.line.Outx_XonXoffFlow = false;
    port.line.Inx_XonXoffFlow = false;
    port.line.XonChar = 0;
    port.line.XoffChar = 0;
    if (auto v = args.Integer("--baud", 1, 4'000'000)) port.line.BaudRate = static_cast<std::uint32_t>(*v);
    static constexpr std::array<std::string_view, 4> kDataBits{"5", "6", "7", "8"};
    if (auto v = args.Choice("--data-bits", kDataBits)) port.line.ByteSize = static_cast<TByteSize>((*v)[0] - '5');
    static constexpr std::array<std::string_view, 5> kParities{"none", "odd", "even", "mark", "space"};
    if (auto v = args.Choice("--parity", kParities)) {
        for (std::size_t i = 0; i < kParities.size(); ++i)
            if (*v == kParities[i]) port.line.Parity = static_cast<TParity>(i);
        port.line.ParityCheck = port.line.Parity != TParity::None;
    }
    static constexpr std::array<std::string_view, 3> kStopBits{"1", "1.5", "2"};
    if (auto v = args.Choice("--stop-bits", kStopBits)) {
        for (std::size_t i = 0; i < kStopBits.size(); ++i)
            if (*v == kStopBits[i]) port.line.StopBits = static_cast<TStopBits>(i);
    }
    if (auto v = args.Integer("--frame-delay", kImmediateDelivery, kMaxFrameDelay))
        port.frameDelay = *v == kImmediateDelivery ? kTimeoutAllOnes : static_cast<std::uint32_t>(*v);
    return port;
}

void ApplyPortLine(const PortLine& port, TComm& comm) {
    comm.SetCommName(port.name);
    const LineSettings& l = port.line;
    comm.SetBaudRate(l.BaudRate);
    comm.SetParityCheck(l.ParityCheck);
    comm.SetDtrControl(l.DtrControl);
    comm.SetRtsControl(l.RtsControl);
    comm.SetTxContinueOnXoff(l.TxContinueOnXoff);
    comm.SetOutx_XonXoffFlow(l.Outx_XonXoffFlow);
    comm.SetInx_XonXoffFlow(l.Inx_XonXoffFlow);
    comm.SetXonChar(l.XonChar);
    comm.SetXoffChar(l.XoffChar);
    comm.SetByteSize(l.ByteSize);
    comm.SetParity(l.Parity);
    comm.SetStopBits(l.StopBits);
    comm.SetReadIntervalTimeout(port.frameDelay);
}

// Interrupt and terminate end the run in order: they are blocked in every
// thread and taken here by the waiting thread.
class StopSignals {
public:
    StopSignals() {
        sigemptyset(&set_);
        sigaddset(&set_, SIGINT);
        sigaddset(&set_, SIGTERM);
        pthread_sigmask(SIG_BLOCK, &set_, &previous_);
    }
    ~StopSignals() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // True when a stop signal came within the time.
    bool Wait(std::chrono::milliseconds time) const {
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(time).count();
        const timespec timeout{static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
        return sigtimedwait(&set_, nullptr, &timeout) > 0;
    }

private:
    sigset_t set_{};
    sigset_t previous_{};
};

// --seconds S, fractions allowed, as the console master takes it.
std::optional<std::chrono::milliseconds> TakeRunTime(Args& args) {
    const auto text = args.Value("--seconds");
    if (!text) return std::nullopt;
    std::size_t used = 0;
    double seconds = 0;
    try {
        seconds = std::stod(*text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != text->size() || text->empty() || !std::isfinite(seconds) || seconds <= 0 || seconds > kMaxSeconds)
        throw UsageError("--seconds takes a positive number of seconds, not '" + *text + "'");
    return std::chrono::milliseconds(std::llround(seconds * 1000));
}

void PrintLine(const std::string& line) {
    WriteAll(stdout, line + "\n");
    std::fflush(stdout);
}

}  // namespace

int RunOutstation(Words words) {
    Args args(words);
    if (args.Flag("--help") || args.Flag("-h")) {
        WriteAll(stdout, kUsage);
        return 0;
    }
    const PortLine port = ReadPortLine(args);
    const StationConfig config = ReadStationConfig(args);
    const std::optional<std::chrono::milliseconds> runTime = TakeRunTime(args);
    if (const auto rest = args.Rest(); !rest.empty()) throw UsageError("unexpected word '" + rest.front() + "'");

    const StopSignals signals;
    StationRunner runner(config, [&port](TComm& comm) { ApplyPortLine(port, comm); }, PrintLine);
    runner.Start();
    const auto deadline = std::chrono::steady_clock::now() + runTime.value_or(std::chrono::milliseconds(0));
    while (!runTime || std::chrono::steady_clock::now() < deadline) {
        if (signals.Wait(kWaitSlice) || runner.WaitEnded(std::chrono::milliseconds(0))) break;
    }
    runner.Stop();

    const StationCounters counters = runner.Counters();
    std::fprintf(stderr,
                 "outstation: %lld blocks received, %lld frames handled, %lld ignored, %lld sent again, "
                 "%lld replies\n",
                 static_cast<long long>(runner.BlocksReceived()), static_cast<long long>(counters.framesHandled),
                 static_cast<long long>(counters.framesIgnored), static_cast<long long>(counters.repeats),
                 static_cast<long long>(runner.FramesSent()));
    if (const std::string failure = runner.Failure(); !failure.empty()) throw std::runtime_error(failure);
    if (runner.HungUp()) throw std::runtime_error("the port hung up");
    return 0;
}

}  // namespace tc101::console
