// tc101tool command: one control command (遥控, set-point, clock
// synchronisation, counters, read, test, reset process) sent as the master
// station sends it, its confirmations fetched with class 1 requests (on a
// balanced link they come by themselves), the traffic printed as poll prints
// it and one result line at the end.

#include <cstdio>
#include <ctime>
#include <limits>
#include <optional>
#include <string>

#include "app/console/args.h"
#include "app/console/commands.h"
#include "app/console/console_master.h"
#include "app/console/master_run_setup.h"
#include "app/console/port_options.h"
#include "app/console/table_print.h"
#include "protocol/commands.h"
#include "traffic/command_sequence.h"
#include "traffic/master_settings.h"

namespace tc101::console {

namespace {

constexpr std::string_view kUsageHead =
    "usage: tc101tool command [port options] [--address N] [--standard-link]\n"
    "                         --type sc|dc|se-nva|se-sva|se-float|cs|ci|rd|ts|rp [--ioa N]\n"
    "                         [--value V] [--qu N] [--select-only | --execute-only | --cancel]\n"
    "                         [--timeout MS] [--interval MS] [--time TIME] [--pcap FILE]\n"
    "                         [--color auto|always|never] [profile options]\n"
    "\n"
    "Sends one command as the master station, in the unbalanced procedure: the\n"
    "link is brought up first (request status of link; with the standard link\n"
    "procedure also reset of remote link), then the command goes as user data with\n"
    "confirm and its confirmations are fetched with class 1 requests. With --mode\n"
    "balanced our direction of the link is initialised first, the command goes as\n"
    "our user data with confirm, its confirmations come as the outstation's. Single,\n"
    "double and set-point commands go select then execute: 选择 (S/E 1), wait for\n"
    "the activation confirmation, 执行, its confirmation and the termination. The\n"
    "others are one activation. Each step's outcome is a line: 确认, 否定确认 or\n"
    "超时, with the cause. The traffic is printed as poll prints it; the last line\n"
    "is 'result: confirmed', 'result: negative COT N' or 'result: timeout'.\n"
    "\n"
    "Port options:\n";

constexpr std::string_view kUsageProfile = "\nProfile options:\n";

constexpr std::string_view kUsageTail =
    "\n"
    "Command:\n"
    "  --address N        device address: link and common address (modulo 256 with\n"
    "                     one-octet fields)\n"
    "                     (default: Address of section DefaultSend in comset.ini, 1)\n"
    "  --standard-link    the standard link procedure (FCB per address)\n"
    "  --type T           sc single command (45), dc double command (46),\n"
    "                     se-nva / se-sva / se-float set-point normalised, scaled,\n"
    "                     short float (48, 49, 50), cs clock synchronisation (103),\n"
    "                     ci counter interrogation (101), rd read (102), ts test\n"
    "                     command (104), rp reset process (105)\n"
    "  --ioa N            information object address (required for sc, dc, se-*, rd;\n"
    "                     0 for the others)\n"
    "  --value V          sc: 0 or 1; dc: 1 off, 2 on; se-nva: -1 to below 1;\n"
    "                     se-sva: -32768 to 32767; se-float: a number; ci: QCC\n"
    "                     (default 5, general); rp: QRP (default 1)\n"
    "  --qu N             sc, dc: QU 0 to 31; se-*: QL 0 to 127 (default 0)\n"
    "  --select-only      only the select step (sc, dc, se-*)\n"
    "  --execute-only     only the execute step, without a select\n"
    "  --cancel           deactivation (cause 8) of a selection\n"
    "  --timeout MS       time limit of each step (default 5000)\n"
    "  --interval MS      ticks of the request sequence (default 100)\n"
    "  --time TIME        cs: 'YYYY-MM-DD HH:MM:SS.mmm' (default: the computer's local time)\n"
    "Output:\n"
    "  --pcap FILE        at the end, every frame sent and block received as a pcapng capture\n"
    "  --color WHEN       colour the lines: auto (on a terminal), always or never\n"
    "\n"
    "Exit status: 0 confirmed; 1 negative confirmation, or the port cannot be\n"
    "opened or goes away; 2 for a bad option; 3 timeout.\n"
    "\n"
    "Example: tc101tool command --port /dev/ttyUSB0 --type sc --ioa 24577 --value 1\n";

constexpr std::int64_t kDefaultIntervalMs = 100;
constexpr std::int64_t kMaxMs = std::numeric_limits<std::int32_t>::max();
constexpr int kExitNegative = 1;
constexpr int kExitTimeout = 3;

Cp56Time ClockNow() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    ::localtime_r(&seconds, &local);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    constexpr int kTmYearBase = 1900;
    return {local.tm_year + kTmYearBase, local.tm_mon + 1, local.tm_mday, local.tm_wday == 0 ? 7 : local.tm_wday,
            local.tm_hour, local.tm_min, static_cast<int>(local.tm_sec * 1000 + ms)};
}

Cp56Time ParseTime(const std::string& text) {
    std::tm local{};
    int ms = 0;
    int used = 0;
    if (std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d%n", &local.tm_year, &local.tm_mon, &local.tm_mday,
                    &local.tm_hour, &local.tm_min, &local.tm_sec, &used) != 6)
        throw UsageError("--time: expected 'YYYY-MM-DD HH:MM:SS.mmm', got '" + text + "'");
    const std::string rest = text.substr(static_cast<std::size_t>(used));
    if (!rest.empty()) ms = static_cast<int>(ParseInteger(rest.substr(rest[0] == '.' ? 1 : 0), "--time milliseconds", 0, 999));
    const Cp56Time time{local.tm_year, local.tm_mon, local.tm_mday, 0, local.tm_hour, local.tm_min,
                        local.tm_sec * 1000 + ms};
    if (time.year < 2000 || time.year > 2099 || time.month < 1 || time.month > 12 || time.day < 1 || time.day > 31 ||
        time.hour > 23 || time.minute > 59 || local.tm_sec > 59)
        throw UsageError("--time: '" + text + "' is not a time from 2000 to 2099");
    std::tm probe = local;
    probe.tm_year -= 1900;
    probe.tm_mon -= 1;
    probe.tm_isdst = -1;
    Cp56Time withDay = time;
    if (std::mktime(&probe) != -1) withDay.weekday = probe.tm_wday == 0 ? 7 : probe.tm_wday;
    return withDay;
}

CommandPlan TakePlan(Args& args) {
    static constexpr std::string_view kTypes[] = {"sc", "dc", "se-nva", "se-sva", "se-float",
                                                  "cs", "ci", "rd",     "ts",     "rp"};
    const auto typeName = args.Choice("--type", kTypes);
    if (!typeName) throw UsageError("--type is required");
    CommandPlan plan;
    CommandRequest& request = plan.request;
    request.type = *ParseCommandType(*typeName);
    const bool sbo = SelectBeforeOperate(request.type);
    const auto ioa = args.Integer("--ioa", 0, 0xFFFFFF);
    if (!ioa && (sbo || request.type == CommandType::Read)) throw UsageError("--ioa N is required for " + *typeName);
    request.objectAddress = static_cast<std::uint32_t>(ioa.value_or(0));
    const auto valueText = args.Value("--value");
    switch (request.type) {
        case CommandType::CounterInterrogation: request.value = 5; break;
        case CommandType::ResetProcess: request.value = 1; break;
        case CommandType::Double: request.value = 2; break;
        case CommandType::Single: request.value = 1; break;
        default: break;
    }
    if (valueText) {
        try {
            std::size_t used = 0;
            request.value = std::stod(*valueText, &used);
            if (used != valueText->size()) throw std::invalid_argument("rest");
        } catch (const std::exception&) {
            throw UsageError("--value: '" + *valueText + "' is not a number");
        }
    }
    const auto qu = args.Integer("--qu", 0, request.type == CommandType::Single || request.type == CommandType::Double ? 31 : 127);
    request.qualifier = static_cast<std::uint8_t>(qu.value_or(0));
    const bool selectOnly = args.Flag("--select-only");
    const bool executeOnly = args.Flag("--execute-only");
    const bool cancel = args.Flag("--cancel");
    if (int{selectOnly} + int{executeOnly} + int{cancel} > 1)
        throw UsageError("give one of --select-only, --execute-only and --cancel");
    if ((selectOnly || cancel) && !sbo) throw UsageError(*typeName + " has no select step");
    plan.mode = selectOnly ? CommandMode::SelectOnly
                : executeOnly ? CommandMode::ExecuteOnly
                : cancel ? CommandMode::Cancel
                         : CommandMode::SelectExecute;
    if (auto timeout = args.Integer("--timeout", 1, kMaxMs)) plan.timeout = std::chrono::milliseconds(*timeout);
    const auto time = args.Value("--time");
    if (time && request.type != CommandType::ClockSync) throw UsageError("--time belongs to --type cs");
    if (request.type == CommandType::ClockSync) request.time = time ? ParseTime(*time) : ClockNow();
    return plan;
}

}  // namespace

int RunCommand(Words words) {
    Args args(words);
    if (args.Flag("--help") || args.Flag("-h")) {
        WriteAll(stdout, MasterCommandHelp(kUsageHead, kUsageProfile, kUsageTail));
        return 0;
    }
    const PortSettings port = TakeMasterPortOptions(args);
    const auto address = args.Integer("--address", std::numeric_limits<std::int32_t>::min(),
                                      std::numeric_limits<std::int32_t>::max());
    const bool standardLink = args.Flag("--standard-link");
    const auto interval = std::chrono::milliseconds(args.Integer("--interval", 1, kMaxMs).value_or(kDefaultIntervalMs));
    const CommandPlan plan = TakePlan(args);
    MasterRunSetup setup = TakeMasterRunSetup(args, false);
    setup.capture = args.Value("--pcap");
    if (!args.Rest().empty()) throw UsageError("unexpected argument '" + args.Rest().front() + "'");

    MasterSettings settings = ReadMasterSettings();
    if (standardLink) settings.standardLink = true;
    MasterRun session(setup);
    MasterStation& station = session.master.Station();
    station.SetSettings(settings);
    session.master.Open(port);
    const std::int64_t device = address ? *address : StoredDeviceAddress();
    station.Cycle().StartSimulation();
    station.StartCommand(plan, device);

    using PumpEnd = ConsoleMaster::PumpEnd;
    PumpEnd end = PumpEnd::Deadline;
    const auto start = ConsoleMaster::Clock::now();
    for (std::int64_t tick = 0; station.CommandRunning(); ++tick) {
        end = session.master.PumpUntil(start + tick * interval, [&station] { return !station.CommandRunning(); });
        if (end == PumpEnd::Interrupted || end == PumpEnd::HungUp) break;
        if (station.CommandRunning()) station.SimulationTick(device);
    }
    const std::optional<CommandOutcome> outcome = station.TakeCommandOutcome();
    const int status = session.Finish(end);
    if (!outcome) return status;  // interrupted
    WriteAll(stdout, "result: " + CommandResultText(*outcome) + "\n");
    std::fflush(stdout);
    switch (outcome->result) {
        case CommandResult::Confirmed: return 0;
        case CommandResult::Negative: return kExitNegative;
        case CommandResult::Timeout: return kExitTimeout;
    }
    return status;
}

}  // namespace tc101::console
