#pragma once

// What poll and send share around the port: the output options, the value
// tables with their definitions, the decoding settings, Ctrl-C, and the end
// of a run.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/console/args.h"
#include "app/console/console_log.h"
#include "app/console/console_master.h"
#include "app/console/interrupt_signals.h"
#include "protocol/link_profile.h"
#include "protocol/value_tables.h"

namespace tc101::console {

struct MasterRunSetup {
    std::optional<std::string> ycFile;
    std::optional<std::string> yxFile;
    bool tables = false;
    std::optional<std::string> workbook;
    std::optional<std::string> capture;  // --pcap
    ColourMode colour = ColourMode::Auto;
    LinkProfile profile;
    ExplainMode explain = ExplainMode::Off;  // --explain, --json
};

// The --help of a command that plays the master: its head, the port options with --frame-complete, its heading
// of the profile options, those and its tail.
std::string MasterCommandHelp(std::string_view head, std::string_view profileHeading, std::string_view tail);

// --color and the profile options, and with definitions also --yc, --yx,
// --tables, --xlsx, --pcap, --explain and --json.
MasterRunSetup TakeMasterRunSetup(Args& args, bool withDefinitions = true);

// comset.ini: DefineSend TimeInteval1 (1000) and DefaultSend Address (1), as the main window reads them.
std::int64_t StoredPollInterval();
std::int64_t StoredDeviceAddress();
// The stored Address when it holds a usable list of devices ("1,2,5-7") in the profile; else nothing.
std::vector<std::int64_t> StoredDeviceList(const LinkProfile& profile);

class MasterRun {
public:
    // Reads the decoding settings, gives the station the profile, and loads the definition files (the given ones,
    // else yc.sen and yx.sen of the current folder when they exist).
    explicit MasterRun(const MasterRunSetup& setup);

    // Prints the tables, writes the workbook and the capture when asked; the exit status for how the run ended.
    int Finish(ConsoleMaster::PumpEnd end);

    // Declared first: the signals are blocked before the port's threads start.
    InterruptSignals interrupts;
    ValueTables tables;
    ConsoleLog log;
    ConsoleMaster master;

private:
    bool printTables_;
    std::optional<std::string> workbook_;
    std::optional<std::string> capture_;
};

}  // namespace tc101::console
