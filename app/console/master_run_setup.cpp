#include "app/console/master_run_setup.h"

#include <cstdio>
#include <stdexcept>

#include "app/console/port_options.h"
#include "app/console/profile_options.h"
#include "app/console/table_print.h"
#include "export/workbook_writer.h"
#include "files/comset_keys.h"
#include "files/file_io.h"
#include "protocol/address_list.h"
#include "files/ini_file.h"
#include "files/table_file.h"
#include "serial/port_settings.h"
#include "traffic/pcapng.h"

namespace tc101::console {

namespace {

constexpr std::string_view kTimeInteval1Key = "TimeInteval1";
constexpr std::int64_t kDefaultPollInterval = 1000;
constexpr std::string_view kDefaultSendSection = "DefaultSend";
constexpr std::string_view kAddressKey = "Address";
constexpr std::int64_t kDefaultDeviceAddress = 1;

// A file named on the command line must be there; the default ones may be missing.
void LoadDefinitions(Table& table, const std::optional<std::string>& given, std::string_view defaultName) {
    if (given) {
        if (!LoadTableFile(table, *given)) throw UsageError("no table file \"" + *given + "\"");
        return;
    }
    LoadTableFile(table, std::string(defaultName));
}

}  // namespace

std::string MasterCommandHelp(std::string_view head, std::string_view profileHeading, std::string_view tail) {
    std::string help(head);
    help += kPortOptionsHelp;
    help += kFrameCompleteHelp;
    help += profileHeading;
    help += kProfileOptionsHelp;
    help += tail;
    return help;
}

MasterRunSetup TakeMasterRunSetup(Args& args, bool withDefinitions) {
    MasterRunSetup setup;
    if (auto colour = args.Value("--color")) setup.colour = ParseColourMode(*colour);
    setup.profile = TakeProfileOptions(args);
    if (!withDefinitions) return setup;
    setup.ycFile = args.Value("--yc");
    setup.yxFile = args.Value("--yx");
    setup.tables = args.Flag("--tables");
    setup.workbook = args.Value("--xlsx");
    setup.capture = args.Value("--pcap");
    setup.explain = TakeExplainMode(args);
    if (setup.explain == ExplainMode::Json && setup.tables)
        throw UsageError("--json prints the frames and nothing else: not with --tables");
    return setup;
}

std::int64_t StoredPollInterval() {
    return ComSetFile().ReadInteger(kDefineSendSection, kTimeInteval1Key, kDefaultPollInterval);
}

std::int64_t StoredDeviceAddress() {
    return ComSetFile().ReadInteger(kDefaultSendSection, kAddressKey, kDefaultDeviceAddress);
}

std::vector<std::int64_t> StoredDeviceList(const LinkProfile& profile) {
    const std::string stored = ComSetFile().ReadString(kDefaultSendSection, kAddressKey, "");
    if (stored.empty() || IsSingleAddress(stored)) return {};
    try {
        return ParseAddressList(stored, profile.sizes.linkAddress);
    } catch (const AddressListError&) {
        return {};
    }
}

MasterRun::MasterRun(const MasterRunSetup& setup)
    : log(stdout, UseColour(setup.colour, stdout)), master(log, tables, interrupts, ReadDecodingSettings()), printTables_(setup.tables), workbook_(setup.workbook), capture_(setup.capture) {
    master.Station().SetProfile(setup.profile);
    log.SetExplain(setup.explain, ExplainOptionsFor(master.Station().Profile()));
    LoadDefinitions(tables.GrdYC, setup.ycFile, kYcFileName);
    LoadDefinitions(tables.GrdYX, setup.yxFile, kYxFileName);
}

int MasterRun::Finish(ConsoleMaster::PumpEnd end) {
    master.Close();
    if (printTables_) {
        std::string out;
        AppendValueTablesText(out, tables);
        WriteAll(stdout, out);
    }
    if (std::fflush(stdout) != 0) throw std::runtime_error("cannot write the output");
    // Written even after a hang-up: what was received up to then is the record.
    if (workbook_) WriteValueTablesWorkbook(*workbook_, tables);
    if (capture_) WriteFileAtomically(*capture_, EncodePcapng(master.Capture().Entries(), master.PortName()));
    if (end == ConsoleMaster::PumpEnd::HungUp) throw std::runtime_error("the port has gone away (device unplugged?)");
    return 0;
}

}  // namespace tc101::console
