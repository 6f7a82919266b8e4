#pragma once

// The demo's main window: TfrmZh on the session's port.

#include "app/demo/demo_session.h"

namespace tc101 {

class TfrmZh;

namespace demo {

// On a shown window: the session's definitions, the port opened on the
// session's port (an open error in the error box), and the master simulation
// when asked for.
void PrepareDemoWindow(TfrmZh& window, const DemoSession& session);

// Makes the application object, shows the window prepared for the session
// and runs until it closes.
int RunDemoWindow(int& argc, char** argv, const DemoSession& session);

}  // namespace demo
}  // namespace tc101
