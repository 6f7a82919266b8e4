#pragma once

// tc101tool demo: the built-in outstation on one end of an in-process link,
// the window (when given and a display is there) or the console's poll on
// the other.

#include "app/console/commands.h"
#include "app/demo/demo_session.h"

namespace tc101::demo {

int RunDemo(console::Words words, const DemoWindow& window);

}  // namespace tc101::demo
