// tc101tool outstation: the built-in outstation simulator on a serial port,
// printing its traffic as the console master prints its own.

#include <signal.h>

#include <chrono>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <cstdio>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "app/console/address_option.h"
#include "app/console/args.h"
#include "app/console/commands.h"
#include "app/console/port_options.h"
#include "app/console/profile_options.h"
#include "app/console/station_options.h"
#include "app/console/table_print.h"
#include "protocol/address_list.h"
#include "outstation/station_runner.h"
#include "serial/port_settings.h"

namespace tc101::console {

namespace {

constexpr std::string_view kUsageHead =
    "usage: tc101tool outstation --port NAME [port options] [--address N|LIST] [--yc N] [--yx N]\n"
    "                            [--change-every MS] [--event-every MS] [--strict-fcb]\n"
    "                            [--single-char-ack] [--select-timeout MS] [--direct-execute]\n"
    "                            [--silent-address N --silent-after-ms MS --silent-for-ms MS]\n"
    "                            [--seed N] [--seconds S] [profile options]\n"
    "\n"
    "Plays an IEC 60870-5-101 outstation (secondary station of an unbalanced link,\n"
    "or with --mode balanced a station of a balanced link that sends its data on its\n"
    "own) on the port and prints the frames it receives (Rx:) and sends (TX:).\n"
    "\n"
    "Port options (--port is required; tcp-listen:HOST:PORT waits for a master on\n"
    "that TCP address and serves one connection at a time):\n";

constexpr std::string_view kUsageTail =
    "Station:\n"
    "  --address N         link address and common address, 0 to 255, or to 65535 with\n"
    "                      a two-octet link address (default 1); a list such as 1,2,3\n"
    "                      answers as one station at each address (seed N + position)\n"
    "  --silent-address N  the station at N stops answering for a while (to try link\n"
    "                      monitoring): from --silent-after-ms MS after the start\n"
    "                      (default 0) for --silent-for-ms MS (default 0: to the end)\n"
    "  --yx N              telesignals from address 1, 0 to 247 (default 16)\n"
    "  --yc N              measured values from address 1, 0 to 123 (default 8)\n"
    "  --change-every MS   a measured value change as class 2 data (default 2000, 0 none)\n"
    "  --event-every MS    a telesignal change and its event as class 1 data\n"
    "                      (default 5000, 0 none)\n"
    "  --strict-fcb        follow the frame count bit; confirm interrogations on the link\n"
    "  --single-char-ack   acknowledge with E5 when no class 1 data waits\n"
    "  --select-timeout MS how long a selection waits for its execute (default 10000)\n"
    "  --direct-execute    carry out an execute that no select came before\n"
    "  --seed N            seed of the values (default 1)\n"
    "  --drop-ack N        balanced: leave the acknowledgement of the master's N-th user\n"
    "                      data frame unsent (the master repeats it)\n"
    "  --silence-at MS     balanced: from MS after the start (default 0) ...\n"
    "  --silence-for MS    ... answer and send nothing for MS (the master loses the link)\n"
    "  --seconds S         stop after S seconds, fractions allowed (default: run until\n"
    "                      interrupted)\n"
    "Profile options (the field sizes and object layout it answers in):\n";

constexpr std::string_view kUsageEnd =
    "\n"
    "Exit status: 0 when the run ends (Ctrl-C included); 1 when the port cannot be\n"
    "opened or hangs up; 2 for a bad option.\n";

// How often the waiting thread looks at the clock and the runner.
constexpr std::chrono::milliseconds kWaitSlice{100};

StationConfig ReadStationConfig(Args& args) {
    StationConfig config;
    config.profile = TakeProfileOptions(args);
    const std::int64_t maxAddress = config.profile.sizes.linkAddress == 2 ? 65535 : 255;
    if (const auto text = args.Value("--address")) {
        if (IsSingleAddress(*text)) {
            config.address = static_cast<std::uint16_t>(ParseInteger(*text, "--address", 0, maxAddress));
        } else {
            const std::vector<std::int64_t> addresses = ParseAddressOption(*text, config.profile);
            config.address = static_cast<std::uint16_t>(addresses.front());
            for (std::size_t n = 1; n < addresses.size(); ++n)
                config.moreAddresses.push_back(static_cast<std::uint16_t>(addresses[n]));
        }
    }
    if (auto v = args.Integer("--silent-address", 0, maxAddress)) {
        config.silentAddress = static_cast<std::uint16_t>(*v);
        if (config.address != *v && std::find(config.moreAddresses.begin(), config.moreAddresses.end(), *v) ==
                                        config.moreAddresses.end())
            throw UsageError("--silent-address " + std::to_string(*v) + " is not one of --address");
    }
    constexpr std::int64_t kMaxSilentMs = std::numeric_limits<std::int32_t>::max();
    if (auto v = args.Integer("--silent-after-ms", 0, kMaxSilentMs)) config.silentAfterMs = *v;
    if (auto v = args.Integer("--silent-for-ms", 0, kMaxSilentMs)) config.silentForMs = *v;
    return TakeStationOptions(args, config);
}

// The simulator answers on a port of its own: unlike the master's, it is never
// taken from the stored settings.
bool PortGiven(Words words) {
    for (const char* word : words) {
        const std::string_view text(word);
        if (text == "--port" || text.starts_with("--port=")) return true;
    }
    return false;
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
void PrintLine(const std::string& line) {
    WriteAll(stdout, line + "\n");
    std::fflush(stdout);
}

}  // namespace

int RunOutstation(Words words) {
    Args args(words);
    if (args.Flag("--help") || args.Flag("-h")) {
        WriteAll(stdout, std::string(kUsageHead) + std::string(kPortOptionsHelp) + std::string(kUsageTail) +
                             std::string(kProfileOptionsHelp) + std::string(kUsageEnd));
        return 0;
    }
    if (!PortGiven(words)) throw UsageError("--port NAME is required");
    const PortSettings port = TakePortOptions(args);
    const StationConfig config = ReadStationConfig(args);
    const std::optional<std::chrono::milliseconds> runTime = args.Seconds("--seconds");
    if (const auto rest = args.Rest(); !rest.empty()) throw UsageError("unexpected word '" + rest.front() + "'");

    const StopSignals signals;
    const auto setup = [&port](TComm& comm) {
        SetComm1Properties(comm);
        ApplyPortSettings(port, comm);
    };
    StationRunner runner(config, setup, PrintLine);
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
    if (config.profile.mode == LinkMode::Balanced)
        std::fprintf(stderr, "outstation: balanced link: %lld duplicates received, lost %lld times\n",
                     static_cast<long long>(counters.duplicates), static_cast<long long>(counters.lost));
    if (const std::string failure = runner.Failure(); !failure.empty()) throw std::runtime_error(failure);
    if (runner.HungUp()) throw std::runtime_error("the port hung up");
    return 0;
}

}  // namespace tc101::console
