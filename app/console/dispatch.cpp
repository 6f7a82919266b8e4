#include <cstdio>
#include <exception>
#include <string_view>

#include "app/console/args.h"
#include "app/console/commands.h"

namespace tc101::console {

namespace {

struct Command {
    std::string_view name;
    int (*run)(Words);  // nullptr: the demo, which the program brings
    std::string_view summary;
};

constexpr Command kCommands[] = {
    {"analyse", RunAnalyse, "decode hex bursts into the analyser's account and tables"},
    {"table", RunTable, "show, import or export a table file (yc.sen, yx.sen, send.sen)"},
    {"poll", RunPoll, "play the master station on a serial port and print the traffic"},
    {"send", RunSend, "send one hex message on a serial port and print the reply"},
    {"command", RunCommand, "send one control command (遥控, set-point, clock sync, ...) and print the outcome"},
    {"outstation", RunOutstation, "play a simulated outstation on a serial port"},
    {"demo", nullptr, "the main window (or, without a display, poll) against the built-in simulator"},
};

void PrintOverview(std::FILE* out) {
    std::fprintf(out, "usage: tc101tool [COMMAND [OPTIONS]]\n\n"
                      "Without a command the main window opens. Commands:\n");
    for (const auto& command : kCommands)
        std::fprintf(out, "  %-12.*s %.*s\n", static_cast<int>(command.name.size()), command.name.data(),
                     static_cast<int>(command.summary.size()), command.summary.data());
    std::fprintf(out, "\n'tc101tool COMMAND --help' describes a command.\n");
}

}  // namespace

int RunConsole(int argc, char** argv, const ProgramCommand& demo) {
    const std::string_view name = argv[1];
    if (name == "help" || name == "--help" || name == "-h") {
        PrintOverview(stdout);
        return 0;
    }
    if (name == "--version") {
        std::printf("tc101tool %s\n", TC101_VERSION);
        return 0;
    }
    for (const auto& command : kCommands) {
        if (command.name != name) continue;
        try {
            const Words words(argv + 2, static_cast<size_t>(argc - 2));
            return command.run != nullptr ? command.run(words) : demo(words);
        } catch (const UsageError& error) {
            std::fprintf(stderr, "tc101tool %s: %s\n", argv[1], error.what());
            return 2;
        } catch (const std::exception& error) {
            std::fprintf(stderr, "tc101tool %s: %s\n", argv[1], error.what());
            return 1;
        }
    }
    std::fprintf(stderr, "tc101tool: unknown command '%s'\n\n", argv[1]);
    PrintOverview(stderr);
    return 2;
}

}  // namespace tc101::console
