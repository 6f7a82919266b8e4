// tc101tool poll: the master simulation of the main window on a console, for
// a number of ticks, a number of seconds or until Ctrl-C, printing the
// traffic log as the window holds it.

#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/console/args.h"
#include "app/console/commands.h"
#include "app/console/console_master.h"
#include "app/console/master_run_setup.h"
#include "app/console/poll_run.h"
#include "app/console/port_options.h"
#include "app/console/table_print.h"
#include "traffic/link_stats_text.h"
#include "app/console/address_option.h"
#include "protocol/address_list.h"
#include "traffic/master_settings.h"
#include "traffic/timer_interval.h"

namespace tc101::console {

namespace {

constexpr std::string_view kUsageHead =
    "usage: tc101tool poll [port options] [--address N|LIST] [--interval MS] [--ticks N | --seconds S]\n"
    "                      [--lost-after N] [--standard-link] [--yc FILE] [--yx FILE] [--tables] [--xlsx FILE]\n"
    "                      [--pcap FILE] [--color auto|always|never] [--explain | --json]\n"
    "                      [profile options]\n"
    "\n"
    "Plays the master station as the main window's \"模拟主站(&M)\" does: it starts\n"
    "with request status of link, and at each tick of the interval sends the request\n"
    "the last reply asked for (status of link: general interrogation; class 1 data\n"
    "waiting: class 1; otherwise class 2; nothing understood: status of link). With\n"
    "no reply it waits three ticks and sends again on the fourth. The frames come\n"
    "from the master message settings (bwset.ini). Every frame sent and every block\n"
    "received is printed as the window's log shows it: the banner, \"TX:\" with the\n"
    "octets sent, \"Rx:\" with the octets received, each with its time stamp, and\n"
    "the analyser's account followed by an empty line.\n"
    "\n"
    "Port options:\n";

constexpr std::string_view kUsageProfile = "\nProfile options:\n";

constexpr std::string_view kUsageTail =
    "Polling:\n"
    "  --address N        device address: link and common address (modulo 256 with\n"
    "                     one-octet fields)\n"
    "                     (default: Address of section DefaultSend in comset.ini, 1);\n"
    "                     a list such as 1,2,5-7 polls each device in turn\n"
    "  --lost-after N     silent requests after which a device counts as lost\n"
    "                     (default: LostAfter of bwset.ini, 3)\n"
    "  --interval MS      tick interval in milliseconds\n"
    "                     (default: TimeInteval1 of section DefineSend, 1000)\n"
    "  --ticks N          stop after N ticks (and the reply to the last request)\n"
    "  --seconds S        stop after S seconds (fractions allowed)\n"
    "                     Without either, poll until Ctrl-C.\n"
    "  --standard-link    the standard link procedure: FCB alternates per address,\n"
    "                     status of link is followed by reset of remote link, an\n"
    "                     acknowledgement of the reset by the general interrogation,\n"
    "                     other acknowledgements by class 1 or 2 as ACD says\n"
    "                     (default: StandardLink of bwset.ini, off)\n"
    "Output:\n"
    "  --yc FILE          telemetry definitions (default: yc.sen in the current folder)\n"
    "  --yx FILE          telesignal definitions (default: yx.sen in the current folder)\n"
    "  --tables           at the end, GrdYC, GrdYX and GrdSJ as 'analyse --tables' prints them\n"
    "  --xlsx FILE        at the end, the three tables as a workbook (sheets 遥测量, 遥信量, 事件纪录)\n"
    "  --pcap FILE        at the end, every frame sent and block received as a pcapng\n"
    "                     capture (RTAC serial records) for Wireshark and tshark\n"
    "  --color WHEN       colour the lines as the window does: auto (on a terminal),\n"
    "                     always or never (default auto)\n"
    "  --explain          under each account line and each frame sent, the frame\n"
    "                     explained field by field, indented\n"
    "  --json             only one JSON object per frame received and sent (JSON\n"
    "                     Lines, with \"dir\": \"rx\"|\"tx\" and \"time\"); trouble lines go\n"
    "                     to standard error\n"
    "\n"
    "Exit status: 0 when the run ends (Ctrl-C included); 1 when the port cannot be\n"
    "opened (the port's error on standard error) or the device goes away; 2 for a\n"
    "bad option.\n"
    "\n"
    "Example: tc101tool poll --port /dev/ttyUSB0 --baud 9600 --parity even --seconds 30\n";

constexpr std::int64_t kMaxTicks = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kMaxIntervalMs = std::numeric_limits<std::int32_t>::max();

// Ticks at start + k * interval, as the window's timer does.
class PollLoop {
public:
    PollLoop(ConsoleMaster& master, std::vector<std::int64_t> addresses, std::chrono::milliseconds interval)
        : master_(master), addresses_(std::move(addresses)), interval_(interval) {}

    ConsoleMaster::PumpEnd Run(std::optional<std::int64_t> ticks, std::optional<std::chrono::milliseconds> time) {
        using PumpEnd = ConsoleMaster::PumpEnd;
        MasterStation& station = master_.Station();
        const auto start = ConsoleMaster::Clock::now();
        const auto end = time ? start + *time : ConsoleMaster::Clock::time_point::max();
        station.Cycle().StartSimulation();
        for (std::int64_t tick = 1; !ticks || tick <= *ticks; ++tick) {
            const auto at = start + tick * interval_;
            if (at > end) break;
            const PumpEnd waited = master_.PumpUntil(at);
            if (waited != PumpEnd::Deadline) return waited;
            const bool sent = station.PollTick(addresses_).has_value();
            if (ticks && tick == *ticks) {
                // The reply to the last request still belongs to the run.
                if (!sent) return PumpEnd::Deadline;
                return master_.PumpUntil(at + interval_, [&station] { return station.Cycle().ReplyReceived(); });
            }
        }
        return master_.PumpUntil(end);
    }

private:
    ConsoleMaster& master_;
    std::vector<std::int64_t> addresses_;
    std::chrono::milliseconds interval_;
};

}  // namespace

int Poll(const PollRun& run) {
    MasterSettings settings = ReadMasterSettings();
    if (run.standardLink) settings.standardLink = true;
    if (run.lostAfter) settings.lostAfter = *run.lostAfter;
    const std::int64_t interval = run.intervalMs ? *run.intervalMs : StoredPollInterval();
    if (!TimerFires(interval))
        throw UsageError("the stored interval (TimeInteval1) is " + std::to_string(interval) +
                         " ms, so the poll timer never fires; give --interval MS");

    MasterRun session(run.setup);
    session.master.Station().SetSettings(settings);
    session.master.Open(run.port);
    std::vector<std::int64_t> addresses = run.addresses;
    if (addresses.empty() && !run.address) addresses = StoredDeviceList(run.setup.profile);
    if (addresses.empty()) addresses.push_back(run.address ? *run.address : StoredDeviceAddress());
    PollLoop loop(session.master, std::move(addresses), std::chrono::milliseconds(interval));
    const ConsoleMaster::PumpEnd end = loop.Run(run.ticks, run.time);
    // On standard error: standard output stays the traffic log other tools read.
    LinkWatch& link = session.master.Station().Link();
    link.RunEnded();
    WriteAll(stderr, LinkSummaryLine(link.Statistics()) + "\n");
    return session.Finish(end);
}

int RunPoll(Words words) {
    Args args(words);
    if (args.Flag("--help") || args.Flag("-h")) {
        WriteAll(stdout, MasterCommandHelp(kUsageHead, kUsageProfile, kUsageTail));
        return 0;
    }
    PollRun run;
    run.port = TakeMasterPortOptions(args);
    const std::optional<std::string> addressText = args.Value("--address");
    if (addressText && IsSingleAddress(*addressText))
        run.address = ParseInteger(*addressText, "--address", std::numeric_limits<std::int32_t>::min(),
                                   std::numeric_limits<std::int32_t>::max());
    if (const auto lostAfter = args.Integer("--lost-after", 1, kMaxLostAfter))
        run.lostAfter = static_cast<int>(*lostAfter);
    run.intervalMs = args.Integer("--interval", 1, kMaxIntervalMs);
    run.ticks = args.Integer("--ticks", 1, kMaxTicks);
    run.time = args.Seconds("--seconds");
    if (run.ticks && run.time) throw UsageError("give --ticks or --seconds, not both");
    run.standardLink = args.Flag("--standard-link");
    run.setup = TakeMasterRunSetup(args);
    if (addressText && !run.address) run.addresses = ParseAddressOption(*addressText, run.setup.profile);
    if (!args.Rest().empty()) throw UsageError("unexpected argument '" + args.Rest().front() + "'");
    return Poll(run);
}

}  // namespace tc101::console
