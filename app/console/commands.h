#pragma once

// The console subcommands. Each takes the words after its own name and
// returns the process exit code; a UsageError it throws becomes exit 2.

#include <span>

#include "app/demo/demo_session.h"

namespace tc101::console {

using Words = std::span<char* const>;

int RunAnalyse(Words words);
int RunTable(Words words);
int RunPoll(Words words);
int RunSend(Words words);
int RunOutstation(Words words);
// The window, when given and a display is there; else the console master.
int RunDemo(Words words, const demo::DemoWindow& window);

// Dispatches argv[1]; prints the overview for "help", "--help" or an unknown
// word. The demo opens demoWindow when it can.
int RunConsole(int argc, char** argv, const demo::DemoWindow& demoWindow = {});

}  // namespace tc101::console
