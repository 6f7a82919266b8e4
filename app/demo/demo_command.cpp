// tc101tool demo: the simulator on one end of an in-process pseudo-terminal
// link and the main window on the other; without a display the console
// master plays the window's part and prints the traffic as poll does.

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "app/demo/demo_command.h"

#include "app/console/args.h"
#include "app/console/interrupt_signals.h"
#include "app/console/master_run_setup.h"
#include "app/console/poll_run.h"
#include "app/console/profile_options.h"
#include "app/console/station_options.h"
#include "app/console/table_print.h"
#include "app/demo/demo_definitions.h"
#include "app/demo/display_probe.h"
#include "app/demo/pty_link.h"
#include "outstation/station_runner.h"
#include "protocol/requests.h"
#include "serial/port_settings.h"

namespace tc101::demo {

using console::Args;
using console::UsageError;

namespace {

constexpr std::string_view kUsage =
    "usage: tc101tool demo [--seconds S] [--console] [--start] [--interval MS] [--frame-delay MS]\n"
    "                      [--yc N] [--yx N] [--seed N] [--change-every MS] [--event-every MS]\n"
    "                      [--strict-fcb] [--single-char-ack] [--tables] [--color auto|always|never]\n"
    "                      [profile options]\n"
    "\n"
    "Runs the built-in outstation simulator in this process on one end of a\n"
    "pseudo-terminal link and the main window on the other end, its port already\n"
    "open: tick \"模拟主站(&M)\" to watch the master simulation fill 遥测, 遥信 and\n"
    "事件记录. The window opens the link for this run only: the stored port settings\n"
    "(comset.ini) are neither used for the port name nor changed, also when the port\n"
    "settings dialog is used meanwhile (its line settings apply to the link, its\n"
    "port to the next ordinary start).\n"
    "\n"
    "Without a display (DISPLAY and WAYLAND_DISPLAY unset, or the one named there not\n"
    "answering) or a window in this build, the console master polls the simulator\n"
    "instead for --seconds and prints the traffic as 'tc101tool poll' does.\n"
    "\n"
    "The station's link and common address is the window's device address (Address\n"
    "of section DefaultSend in comset.ini, default 1). When the working folder has\n"
    "no yc.sen or yx.sen, the run makes stand-in definitions (feeder measurands with\n"
    "ratios, switches with 分/合) in a temporary folder; the user's files are never\n"
    "written.\n"
    "\n"
    "Run:\n"
    "  --seconds S         console: stop after S seconds (default 10); window: close\n"
    "                      it after S seconds (default: stays until closed)\n"
    "  --console           the console run even with a display\n"
    "  --start             window: tick \"模拟主站(&M)\" at once\n"
    "  --interval MS       console: tick interval (default 200; the window keeps its own)\n"
    "  --frame-delay MS    console: silence ending a block on both sides (default 20;\n"
    "                      the link has no line timing)\n"
    "  --tables            console: print GrdYC, GrdYX and GrdSJ at the end\n"
    "  --color WHEN        console: auto, always or never (default auto)\n"
    "Simulator (as 'tc101tool outstation'):\n"
    "  --yx N              telesignals (default 16)\n"
    "  --yc N              measured values (default 8)\n"
    "  --seed N            seed of the values (default 1)\n"
    "  --change-every MS   a measured value change as class 2 data (default 1000, 0 none)\n"
    "  --event-every MS    a telesignal change and its event as class 1 data\n"
    "                      (default 3000, 0 none)\n"
    "  --strict-fcb        follow the frame count bit, confirm interrogations on the\n"
    "                      link; the console master then uses the standard link\n"
    "                      procedure, the window needs \"标准链路规程(&F)\" ticked\n"
    "  --single-char-ack   acknowledge with E5 when no class 1 data waits\n"
    "  --drop-ack N, --silence-at MS, --silence-for MS\n"
    "                      with --mode balanced: a missing acknowledgement, a silent\n"
    "                      station (as 'tc101tool outstation')\n"
    "\n"
    "Profile (the simulator, the window and the console master all use it; the\n"
    "window for this run only, comset.ini keeps its own):\n";

constexpr std::string_view kUsageEnd =
    "\n"
    "At the end the simulator's figures go to standard error. Exit status: 0 when\n"
    "the run ends (Ctrl-C included); 1 when something fails; 2 for a bad option.\n";

constexpr std::int64_t kDefaultIntervalMs = 200;
constexpr std::int64_t kDefaultFrameDelayMs = 20;
constexpr std::int64_t kDefaultChangeEveryMs = 1000;
constexpr std::int64_t kDefaultEventEveryMs = 3000;
constexpr std::chrono::milliseconds kDefaultConsoleTime{10000};
constexpr std::int64_t kMaxIntervalMs = 24LL * 60 * 60 * 1000;
constexpr std::int64_t kSettleMs = 50;

struct DemoOptions {
    std::optional<std::chrono::milliseconds> seconds;
    bool console = false;
    bool start = false;
    std::int64_t intervalMs = kDefaultIntervalMs;
    std::int64_t frameDelayMs = kDefaultFrameDelayMs;
    bool tables = false;
    std::optional<std::string> colour;
    StationConfig station;
};

DemoOptions ReadOptions(Args& args) {
    DemoOptions options;
    options.seconds = args.Seconds("--seconds");
    options.console = args.Flag("--console");
    options.start = args.Flag("--start");
    if (auto v = args.Integer("--interval", 1, kMaxIntervalMs)) options.intervalMs = *v;
    if (auto v = args.Integer("--frame-delay", 1, kMaxIntervalMs)) options.frameDelayMs = *v;
    options.tables = args.Flag("--tables");
    options.colour = args.Value("--color");

    StationConfig defaults;
    defaults.changeEveryMs = kDefaultChangeEveryMs;
    defaults.eventEveryMs = kDefaultEventEveryMs;
    StationConfig& station = options.station;
    // The profile first: the balanced mode admits more simulator options.
    defaults.profile = console::TakeProfileOptions(args);
    station = console::TakeStationOptions(args, defaults);
    if (const auto rest = args.Rest(); !rest.empty()) throw UsageError("unexpected word '" + rest.front() + "'");
    // The window and the console master poll the stored device address.
    station.address = static_cast<std::uint16_t>(LinkAddressOf(console::StoredDeviceAddress(), station.profile));
    // A stored list of devices: one station for each.
    if (const std::vector<std::int64_t> list = console::StoredDeviceList(station.profile); !list.empty()) {
        station.address = static_cast<std::uint16_t>(list.front());
        for (std::size_t n = 1; n < list.size(); ++n)
            station.moreAddresses.push_back(static_cast<std::uint16_t>(list[n]));
    }
    return options;
}

// A display that is named but does not answer gets the console run, with a word why.
bool HasDisplay() {
    const DisplayEnvironment environment = CurrentDisplayEnvironment();
    const DisplayState state = ProbeDisplay(environment);
    if (state == DisplayState::Unreachable)
        std::fprintf(stderr, "demo: the display cannot be reached (%s); the console run instead\n",
                     DisplayNames(environment).c_str());
    return state == DisplayState::Reachable;
}

// The console master is tc101tool poll itself, on the link's other end.
int RunConsoleMaster(const DemoOptions& options, const std::string& port, const SessionDefinitions& definitions,
                     console::ColourMode colour) {
    console::PollRun run;
    run.port = ReadPortSettings(ComSetFile());
    run.port.port = port;
    run.port.recieveDelay = options.frameDelayMs;
    run.intervalMs = options.intervalMs;
    run.time = options.seconds.value_or(kDefaultConsoleTime);
    run.standardLink = options.station.strictFcb;
    if (definitions.YcFile()) run.setup.ycFile = definitions.YcFile()->string();
    if (definitions.YxFile()) run.setup.yxFile = definitions.YxFile()->string();
    run.setup.tables = options.tables;
    run.setup.colour = colour;
    run.setup.profile = options.station.profile;
    return console::Poll(run);
}

void PrintStationFigures(const StationRunner& runner, const PtyLink& link) {
    const StationCounters counters = runner.Counters();
    std::fprintf(stderr,
                 "demo outstation: %lld blocks received, %lld frames handled, %lld ignored, %lld sent again, "
                 "%lld replies; link: %lld octets carried, %lld dropped\n",
                 static_cast<long long>(runner.BlocksReceived()), static_cast<long long>(counters.framesHandled),
                 static_cast<long long>(counters.framesIgnored), static_cast<long long>(counters.repeats),
                 static_cast<long long>(runner.FramesSent()), static_cast<long long>(link.Carried()),
                 static_cast<long long>(link.Dropped()));
}

}  // namespace

int RunDemo(console::Words words, const DemoWindow& window) {
    Args args(words);
    if (args.Flag("--help") || args.Flag("-h")) {
        console::WriteAll(stdout,
                          std::string(kUsage) + std::string(console::kProfileOptionsHelp) + std::string(kUsageEnd));
        return 0;
    }
    const DemoOptions options = ReadOptions(args);
    const bool withWindow = window && !options.console && HasDisplay();
    const console::ColourMode colour =
        options.colour ? console::ParseColourMode(*options.colour) : console::ColourMode::Auto;

    // Console: Ctrl-C ends the run in order, so the signals are blocked
    // before any thread starts. The window keeps the usual Ctrl-C.
    std::optional<console::InterruptSignals> signals;
    if (!withWindow) signals.emplace();

    PtyLink link;
    const SessionDefinitions definitions(options.station.ycCount, options.station.yxCount);
    const std::string stationPort = link.PortA();
    const std::int64_t stationDelay = options.frameDelayMs;
    StationRunner runner(
        options.station,
        [&stationPort, stationDelay](TComm& comm) {
            SetComm1Properties(comm);
            PortSettings settings;
            settings.port = stationPort;
            settings.recieveDelay = stationDelay;
            ApplyPortSettings(settings, comm);
        },
        [](const std::string&) {});
    runner.Start();

    int status = 0;
    if (withWindow) {
        DemoSession session;
        session.port = link.PortB();
        session.ycFile = definitions.YcFile();
        session.yxFile = definitions.YxFile();
        session.startSimulation = options.start;
        session.profile = options.station.profile;
        session.runTime = options.seconds;
        status = window(session);
    } else {
        status = RunConsoleMaster(options, link.PortB(), definitions, colour);
        // The last request may still be on its way: the station takes it in
        // before it stops, so its figures match the master's log.
        std::this_thread::sleep_for(std::chrono::milliseconds(2 * options.frameDelayMs + kSettleMs));
    }
    runner.Stop();
    PrintStationFigures(runner, link);
    if (const std::string failure = runner.Failure(); !failure.empty()) throw std::runtime_error(failure);
    return status;
}

}  // namespace tc101::demo
