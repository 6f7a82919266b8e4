#include "app/console/commands.h"
#include "app/demo/demo_command.h"

#ifdef TC101_WITH_WINDOW
#include <cstdio>

#include "app/demo/display_probe.h"
#include "app/demo/demo_window.h"
#include "app/window/main_window.h"
#include "widgets/application.h"
#endif

int main(int argc, char** argv) {
#ifdef TC101_WITH_WINDOW
    if (argc > 1) {
        const tc101::demo::DemoWindow window = [argv](const tc101::demo::DemoSession& session) {
            // The toolkit sees the program's name only: the words are the demo's.
            int windowArgc = 1;
            return tc101::demo::RunDemoWindow(windowArgc, argv, session);
        };
        return tc101::console::RunConsole(argc, argv, [&window](tc101::console::Words words) {
            return tc101::demo::RunDemo(words, window);
        });
    }
    // Qt would abort without a display; say why the window cannot open instead.
    const auto environment = tc101::demo::CurrentDisplayEnvironment();
    if (tc101::demo::ProbeDisplay(environment) != tc101::demo::DisplayState::Reachable) {
        const std::string names = tc101::demo::DisplayNames(environment);
        std::fprintf(stderr, "tc101tool: the window needs a display, and %s; the console commands need none (tc101tool help)\n",
                     names.empty() ? "none is set (DISPLAY, WAYLAND_DISPLAY)" : (names + " cannot be reached").c_str());
        return 1;
    }
    tc101::Application app(argc, argv);
    tc101::TfrmZh frmZh;
    frmZh.show();
    return tc101::Application::exec();
#else
    const auto demo = [](tc101::console::Words words) { return tc101::demo::RunDemo(words, {}); };
    if (argc > 1) return tc101::console::RunConsole(argc, argv, demo);
    char help[] = "help";
    char* words[] = {argv[0], help};
    return tc101::console::RunConsole(2, words, demo);
#endif
}
