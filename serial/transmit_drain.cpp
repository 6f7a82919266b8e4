// Letting the transmit queue leave before the port closes.

#include <tuple>

#include "serial/port_session.h"

namespace tc101 {

namespace {
// The driver does not say when its queue has run empty: look this often.
constexpr auto kDrainLook = std::chrono::milliseconds(5);
}  // namespace

bool DrainTransmit(PortSession& session, std::chrono::milliseconds stall) {
    using Clock = TxProgress::Clock;
    const std::uint64_t droppedBefore = session.progress.Now().dropped;
    auto lastMove = Clock::now();
    std::tuple<std::uint64_t, std::size_t, std::size_t> seen{};
    for (bool first = true;; first = false) {
        const TxProgress::State state = session.progress.Now();
        const std::size_t queued = session.port.OutputQueued().value_or(0);
        if (state.pendingRequests == 0 && queued == 0) {
            return state.dropped == droppedBefore;
        }
        if (state.ended) {
            return false;  // the transmit side has failed: nothing more leaves
        }
        const auto now = Clock::now();
        const auto progress = std::make_tuple(state.moved, state.pendingRequests, queued);
        if (first || progress != seen) {
            seen = progress;
            lastMove = now;
        } else if (now - lastMove >= stall) {
            return false;
        }
        session.progress.WaitForChange(kDrainLook);
    }
}

}  // namespace tc101
