#pragma once

// Whether a window can be shown at all. Qt aborts the program when the
// display it is given cannot be reached, so the demo asks first and plays
// the console run instead, and the plain start says why it cannot open.

#include <string>

namespace tc101::demo {

enum class DisplayState { None, Unreachable, Reachable };

// The environment the answer depends on (empty: unset).
struct DisplayEnvironment {
    std::string display;         // DISPLAY
    std::string waylandDisplay;  // WAYLAND_DISPLAY
    std::string runtimeDir;      // XDG_RUNTIME_DIR
    std::string platform;        // QT_QPA_PLATFORM
};
DisplayEnvironment CurrentDisplayEnvironment();

// None without DISPLAY and WAYLAND_DISPLAY; Reachable when an X server or a
// Wayland compositor named there accepts a connection (an X server on
// another host gets one second), or when QT_QPA_PLATFORM names a platform
// that needs neither (offscreen, vnc, ...); Unreachable otherwise.
DisplayState ProbeDisplay(const DisplayEnvironment& environment);

// "DISPLAY=:9" and/or "WAYLAND_DISPLAY=wayland-0": what was tried, for the message.
std::string DisplayNames(const DisplayEnvironment& environment);

}  // namespace tc101::demo
