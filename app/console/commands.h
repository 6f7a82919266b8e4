#pragma once

// The console subcommands. Each takes the words after its own name and
// returns the process exit code; a UsageError it throws becomes exit 2.

#include <functional>
#include <span>

namespace tc101::console {

using Words = std::span<char* const>;

int RunAnalyse(Words words);
int RunTable(Words words);
int RunPoll(Words words);
int RunSend(Words words);
int RunCommand(Words words);
int RunOutstation(Words words);

// A command the program brings along: the demo, which drives these
// commands' entry points and, in a build with one, the window.
using ProgramCommand = std::function<int(Words)>;

// Dispatches argv[1]; prints the overview for "help", "--help" or an unknown
// word. "demo" runs demo.
int RunConsole(int argc, char** argv, const ProgramCommand& demo);

}  // namespace tc101::console
