// tc101tool send: one message as the send list sends it, and what comes back.

#include <chrono>
#include <limits>
#include <stdexcept>
#include <string>

#include "app/console/args.h"
#include "app/console/commands.h"
#include "app/console/console_master.h"
#include "app/console/master_run_setup.h"
#include "app/console/port_options.h"
#include "app/console/table_print.h"
#include "protocol/hex_text.h"
#include "traffic/send_message.h"

namespace tc101::console {

namespace {

constexpr std::string_view kUsageHead =
    "usage: tc101tool send [port options] [--wait MS] [--color auto|always|never] [profile options] HEX\n"
    "\n"
    "Sends one message as the main window's \"发送(&F)\" sends a send-list row: the\n"
    "octets of HEX, then the line \"Tx:\" with the octets sent and the time stamp.\n"
    "Then, for --wait milliseconds, every block that comes back is printed as\n"
    "\"Rx:\" with its stamp, followed by the analyser's account and an empty line.\n"
    "HEX is hexadecimal digits in pairs, with or without separators (\"10 49 01 4A 16\",\n"
    "\"10,49,01,4a,16\", \"1049014A16\"); several words are joined by spaces. A text\n"
    "with other characters, or digits that do not pair up, is refused. A message\n"
    "holds at most 1024 octets.\n"
    "\n"
    "Port options:\n";

constexpr std::string_view kUsageProfile = "\nProfile options (how the replies are read):\n";

constexpr std::string_view kUsageTail =
    "Other options:\n"
    "  --wait MS          how long to print what comes back, in milliseconds\n"
    "                     (default 1000; 0 sends and ends)\n"
    "  --color WHEN       auto (on a terminal), always or never (default auto)\n"
    "\n"
    "Exit status: 0 when sent; 1 when the port cannot be opened (the port's error on\n"
    "standard error), the message does not leave it, or the device goes away; 2 for\n"
    "a bad option or a bad HEX.\n"
    "\n"
    "Example: tc101tool send --port /dev/ttyUSB0 --wait 500 10 49 01 4A 16\n";

constexpr std::int64_t kDefaultWaitMs = 1000;

std::string JoinWords(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) {
        if (!text.empty()) text += ' ';
        text += word;
    }
    return text;
}

}  // namespace

int RunSend(Words words) {
    Args args(words);
    if (args.Flag("--help") || args.Flag("-h")) {
        WriteAll(stdout, MasterCommandHelp(kUsageHead, kUsageProfile, kUsageTail));
        return 0;
    }
    const PortSettings port = TakeMasterPortOptions(args);
    const auto waitMs = args.Integer("--wait", 0, std::numeric_limits<std::int32_t>::max()).value_or(kDefaultWaitMs);
    const MasterRunSetup setup = TakeMasterRunSetup(args, false);
    const std::vector<std::string> rest = args.Rest();
    if (rest.empty()) throw UsageError("give the message as HEX (e.g. 10 49 01 4A 16)");
    const std::string content = JoinWords(rest);

    // A message that cannot go out is refused before the port is touched.
    OutgoingMessage message;
    try {
        message = PrepareMessage(content);
    } catch (const EMessageTooLong& error) {
        throw UsageError(error.what());
    } catch (const HexTextError& error) {
        throw UsageError(error.what());
    }

    MasterRun run(setup);
    run.master.Open(port);
    const bool written = run.master.Station().SendMessage(message);
    const auto end = ConsoleMaster::Clock::now() + std::chrono::milliseconds(waitMs);
    const int status = run.Finish(run.master.PumpUntil(end));
    if (!written) throw std::runtime_error("the message did not leave the port (write timeout or flow control)");
    return status;
}

}  // namespace tc101::console
