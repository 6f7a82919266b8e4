#include "app/console/interrupt_signals.h"

#include <pthread.h>

#include <ctime>

namespace tc101::console {

InterruptSignals::InterruptSignals() {
    sigemptyset(&signals_);
    sigaddset(&signals_, SIGINT);
    sigaddset(&signals_, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals_, &previous_);
}

InterruptSignals::~InterruptSignals() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }

bool InterruptSignals::Arrived() {
    if (arrived_) return true;
    const timespec now{0, 0};
    arrived_ = sigtimedwait(&signals_, nullptr, &now) > 0;
    return arrived_;
}

}  // namespace tc101::console
