#include "app/console/commands.h"

#ifdef TC101_WITH_WINDOW
#include "app/demo/demo_window.h"
#include "app/shell/application.h"
#include "app/window/main_window.h"
#endif

int main(int argc, char** argv) {
#ifdef TC101_WITH_WINDOW
    if (argc > 1) {
        return tc101::console::RunConsole(argc, argv, [argv](const tc101::demo::DemoSession& session) {
            // The toolkit sees the program's name only: the words are the demo's.
            int windowArgc = 1;
            return tc101::demo::RunDemoWindow(windowArgc, argv, session);
        });
    }
    tc101::Application app(argc, argv);
    tc101::TfrmZh frmZh;
    frmZh.show();
    return tc101::Application::exec();
#else
    if (argc > 1) return tc101::console::RunConsole(argc, argv);
    char help[] = "help";
    char* words[] = {argv[0], help};
    return tc101::console::RunConsole(2, words);
#endif
}
