#pragma once

// tc101tool poll as a typed entry point: what the command line names, as
// values, for the command itself and for the demo's console run.

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include "app/console/master_run_setup.h"
#include "serial/port_settings.h"

namespace tc101::console {

struct PollRun {
    PortSettings port;
    // Device address; none: the stored one (DefaultSend Address).
    std::optional<std::int64_t> address;
    // Several devices on the line, polled in turn (--address 1,2,5-7); when
    // not empty it stands instead of address.
    std::vector<std::int64_t> addresses;
    // Silent requests after which a device counts as lost; none: bwset.ini LostAfter (3).
    std::optional<int> lostAfter;
    // Tick interval in milliseconds; none: the stored one (DefineSend TimeInteval1).
    std::optional<std::int64_t> intervalMs;
    // Stop after this many ticks (and the reply to the last request) or this
    // long; neither: until Ctrl-C.
    std::optional<std::int64_t> ticks;
    std::optional<std::chrono::milliseconds> time;
    // The standard link procedure whatever bwset.ini says.
    bool standardLink = false;
    MasterRunSetup setup;
};

// Polls as the main window's master simulation does and prints the traffic;
// the exit status. Throws UsageError when the stored interval never fires
// and none is given.
int Poll(const PollRun& run);

}  // namespace tc101::console
