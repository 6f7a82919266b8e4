#pragma once

// Ctrl-C and SIGTERM for a console run that must end cleanly (close the
// port, restore its termios, print what is left). The signals are blocked
// while the object lives, so threads started meanwhile inherit the block,
// and the run asks for them between waits.

#include <csignal>

namespace tc101::console {

class InterruptSignals {
public:
    InterruptSignals();
    ~InterruptSignals();
    InterruptSignals(const InterruptSignals&) = delete;
    InterruptSignals& operator=(const InterruptSignals&) = delete;

    // Takes a pending SIGINT or SIGTERM; true once one has come.
    bool Arrived();

private:
    sigset_t signals_{};
    sigset_t previous_{};
    bool arrived_ = false;
};

}  // namespace tc101::console
