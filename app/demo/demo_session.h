#pragma once

// What the demo hands its window: the port to open for this run only and,
// when the working folder has none, definitions made for the run.

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "protocol/link_profile.h"

namespace tc101::demo {

struct DemoSession {
    std::string port;
    // Loaded into GrdYC and GrdYX after the window's own files (none here).
    std::optional<std::filesystem::path> ycFile;
    std::optional<std::filesystem::path> yxFile;
    // Ticks "模拟主站(&M)" once the port is open.
    bool startSimulation = false;
    // Closes the window after this time; none: it stays until the user closes it.
    std::optional<std::chrono::milliseconds> runTime;
    // The window's profile for this run; comset.ini keeps its own.
    LinkProfile profile;
};

// Runs the window for the session and returns the exit status; empty when
// the program has no window.
using DemoWindow = std::function<int(const DemoSession&)>;

}  // namespace tc101::demo
