// tc101tool analyse: the analyser over hex bursts given as arguments or as
// lines of standard input, with the tables kept for the whole run as the
// main window keeps them.

#include <array>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <iostream>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "app/console/args.h"
#include "app/console/commands.h"
#include "app/console/profile_options.h"
#include "app/console/explain_output.h"
#include "app/console/table_print.h"
#include "export/workbook_writer.h"
#include "files/comset_keys.h"
#include "files/file_io.h"
#include "files/table_file.h"
#include "protocol/analyzer.h"
#include "protocol/decoding_settings.h"
#include "protocol/hex_text.h"
#include "protocol/link_profile.h"
#include "protocol/value_tables.h"
#include "traffic/pcapng.h"

namespace tc101::console {

namespace {

constexpr std::string_view kUsage =
    "usage: tc101tool analyse [--yc FILE] [--yx FILE] [--yc-bytes N] [--yx-mode 0|1] [--verdict] [--tables]\n"
    "                         [--xlsx FILE] [--explain | --json] [profile options]\n"
    "                         [--pcap FILE | HEX ...]\n"
    "\n"
    "Decodes each HEX argument, or each line of standard input, as one received\n"
    "burst and prints the analyser's account. The tables live for the whole run.\n"
    "  --pcap FILE    decode the blocks received in a pcapng capture instead (one\n"
    "                 that 'poll --pcap' or the log's context menu wrote)\n"
    "  --yc FILE      telemetry definitions (a table file such as yc.sen) for GrdYC\n"
    "  --yx FILE      telesignal definitions (a table file such as yx.sen) for GrdYX\n"
    "  --yc-bytes N   octets per measured value, 1 to 4 (default: YcUseByte in comset.ini, else 2)\n"
    "  --yx-mode M    telesignals: 0 one octet each, 1 one bit each (default: YxUseByte, else 0)\n"
    "  --verdict      after each account, 'verdict: V' (0 none, 1 class 1 data waiting,\n"
    "                 2 no class 1 data waiting, 3 link ready)\n"
    "  --tables       after the last burst, GrdYC, GrdYX and GrdSJ as TAB-separated rows\n"
    "  --xlsx FILE    after the last burst, the three tables as a workbook (sheets 遥测量, 遥信量, 事件纪录)\n"
    "  --explain      under each account line, the frame explained field by field\n"
    "                 (link layer, ASDU header, every information object), indented\n"
    "  --json         instead of the account, one JSON object per frame (JSON Lines)\n"
    "                 and nothing else; the keys are listed in the README\n"

    "Profile options (how the frames are read):\n";

std::vector<CaptureEntry> ReadCapture(const std::string& name) {
    const auto bytes = ReadFileIfExists(name);
    if (!bytes) throw UsageError("no capture file \"" + name + "\"");
    try {
        return DecodePcapng(*bytes);
    } catch (const CaptureFormatError& error) {
        throw std::runtime_error("\"" + name + "\": " + error.what());
    }
}

// A receive block never holds more.
constexpr size_t kMaxBurstOctets = 65535;

struct Options {
    bool verdict = false;
    bool tables = false;
    std::optional<std::string> workbook;
    DecodingSettings decoding;
    ExplainMode explain = ExplainMode::Off;
    // The field sizes frames are explained with.
    LinkProfile profile;
};

class BurstRunner {
public:
    explicit BurstRunner(Options options) : options_(std::move(options)) {}

    // Loads a definition file into a value table, as the main window does at start.
    void LoadDefinitions(ValuePage page, const std::optional<std::string>& name) {
        if (!name) return;
        if (!LoadTableFile(tables_.Grid(page), *name)) throw UsageError("no table file \"" + *name + "\"");
    }

    void Run(std::string_view hexText, size_t burstNumber) {
        const std::vector<std::uint8_t> octets = HexTextToBytes(ToUpperAscii(NormalizeHexText(hexText)));
        if (octets.size() > kMaxBurstOctets)
            throw UsageError("burst " + std::to_string(burstNumber) + " holds " + std::to_string(octets.size()) +
                             " octets; a burst holds at most " + std::to_string(kMaxBurstOctets));
        Run(octets, LocalHour);
    }

    // A received block of a capture: the hour of its event records is the hour it arrived.
    void Run(const CaptureEntry& entry) {
        const std::time_t time = std::chrono::system_clock::to_time_t(entry.time);
        std::tm local{};
        localtime_r(&time, &local);
        Run(entry.octets, [hour = local.tm_hour] { return hour; });
    }

    void Run(std::span<const std::uint8_t> octets, const HourClock& hour) {
        const FrameAnalysis analysis = AnalyzeFrames(octets, tables_, options_.decoding, options_.profile, hour);
        std::string out;
        if (options_.explain == ExplainMode::Json) {
            WriteAll(stdout, JsonLines(octets, ExplainOptionsFor(options_.profile)));
            return;
        }
        if (options_.explain == ExplainMode::Text) {
            out = ExplainedAccount(octets, analysis.lines, ExplainOptionsFor(options_.profile));
        } else {
            for (const std::string& line : analysis.lines) {
                out += line;
                out += '\n';
            }
        }
        if (options_.verdict) {
            out += "verdict: ";
            out += std::to_string(static_cast<int>(analysis.verdict));
            out += '\n';
        }
        WriteAll(stdout, out);
    }

    void Finish() {
        if (options_.tables) {
            std::string out;
            AppendValueTablesText(out, tables_);
            WriteAll(stdout, out);
        }
        if (std::fflush(stdout) != 0) throw std::runtime_error("cannot write the output");
        if (options_.workbook) WriteValueTablesWorkbook(*options_.workbook, tables_);
    }

private:
    Options options_;
    ValueTables tables_;
};

}  // namespace

int RunAnalyse(Words words) {
    Args args(words);
    if (args.Flag("--help") || args.Flag("-h")) {
        WriteAll(stdout, std::string(kUsage) + std::string(kProfileOptionsHelp));
        return 0;
    }
    const auto ycFile = args.Value("--yc");
    const auto yxFile = args.Value("--yx");
    const auto ycBytes = args.Integer("--yc-bytes", 1, 4);
    static constexpr std::array<std::string_view, 2> kYxModes{"0", "1"};
    const auto yxMode = args.Choice("--yx-mode", kYxModes);
    Options options;
    options.verdict = args.Flag("--verdict");
    options.tables = args.Flag("--tables");
    options.workbook = args.Value("--xlsx");
    options.explain = TakeExplainMode(args);
    if (options.explain == ExplainMode::Json && (options.verdict || options.tables))
        throw UsageError("--json prints the frames and nothing else: not with --verdict or --tables");
    const auto capture = args.Value("--pcap");
    options.profile = TakeProfileOptions(args);
    const std::vector<std::string> bursts = args.Rest();
    if (capture && !bursts.empty()) throw UsageError("give --pcap or HEX bursts, not both");

    options.decoding = ReadDecodingSettings();
    if (ycBytes) options.decoding.ycUseByte = static_cast<std::uint8_t>(*ycBytes);
    if (yxMode) options.decoding.yxUseByte = static_cast<std::uint8_t>((*yxMode)[0] - '0');

    BurstRunner runner(options);
    runner.LoadDefinitions(ValuePage::Yc, ycFile);
    runner.LoadDefinitions(ValuePage::Yx, yxFile);
    size_t number = 0;
    if (capture) {
        for (const CaptureEntry& entry : ReadCapture(*capture))
            if (entry.direction == CaptureDirection::Received) runner.Run(entry);
    } else if (!bursts.empty()) {
        for (const std::string& burst : bursts) runner.Run(burst, ++number);
    } else {
        std::string line;
        while (std::getline(std::cin, line)) runner.Run(line, ++number);
    }
    runner.Finish();
    return 0;
}

}  // namespace tc101::console
