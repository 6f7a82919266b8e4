#include <cstdio>

#include "app/console/commands.h"

int main(int argc, char** argv) {
    if (argc > 1) return tc101::console::RunConsole(argc, argv);
    // The main window comes with the window layer; until then, the overview.
    char help[] = "help";
    char* words[] = {argv[0], help};
    return tc101::console::RunConsole(2, words);
}
