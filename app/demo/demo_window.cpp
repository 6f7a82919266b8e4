#include "app/demo/demo_window.h"

#include <QCheckBox>
#include <QTimer>

#include "app/window/main_window.h"
#include "files/table_file.h"
#include "widgets/application.h"

namespace tc101::demo {

void PrepareDemoWindow(TfrmZh& window, const DemoSession& session) {
    // The window loaded the working folder's files when it was shown; the
    // stand-ins fill in for the missing ones.
    if (session.ycFile) LoadTableFile(window.Tables().GrdYC, *session.ycFile);
    if (session.yxFile) LoadTableFile(window.Tables().GrdYX, *session.yxFile);
    window.SetStandInDefinitions(session.ycFile, session.yxFile);
    window.SetLinkProfile(session.profile);
    if (!window.PortOpen()) RunCommand([&window] { window.BtnOpenComClick(); });
    if (session.startSimulation && window.PortOpen()) window.StartSimulation();
}

int RunDemoWindow(int& argc, char** argv, const DemoSession& session) {
    Application app(argc, argv);
    TfrmZh frmZh;
    frmZh.SetSessionPort(session.port);
    frmZh.show();
    PrepareDemoWindow(frmZh, session);
    if (session.runTime)
        QTimer::singleShot(static_cast<int>(session.runTime->count()), Qt::PreciseTimer, &frmZh, &QWidget::close);
    return Application::exec();
}

}  // namespace tc101::demo
