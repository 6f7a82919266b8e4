#include "app/console/commands.h"

#ifdef TC101_WITH_WINDOW
#include "app/shell/application.h"
#include "app/window/main_window.h"
#endif

int main(int argc, char** argv) {
    if (argc > 1) return tc101::console::RunConsole(argc, argv);
#ifdef TC101_WITH_WINDOW
    tc101::Application app(argc, argv);
    tc101::TfrmZh frmZh;
    frmZh.show();
    return tc101::Application::exec();
#else
    char help[] = "help";
    char* words[] = {argv[0], help};
    return tc101::console::RunConsole(2, words);
#endif
}
