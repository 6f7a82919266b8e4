#include "serial/tx_progress.h"

#include <algorithm>

namespace tc101 {

void TxProgress::Queued(std::size_t octets) {
    std::lock_guard lock(mutex_);
    ++state_.pendingRequests;
    state_.pendingOctets += octets;
}

void TxProgress::Moved(std::size_t octets) {
    {
        std::lock_guard lock(mutex_);
        state_.moved += octets;
    }
    Changed();
}

void TxProgress::Finished(std::size_t octets, std::size_t dropped) {
    {
        std::lock_guard lock(mutex_);
        if (state_.pendingRequests > 0) --state_.pendingRequests;
        state_.pendingOctets -= std::min(octets, state_.pendingOctets);
        state_.dropped += dropped;
    }
    Changed();
}

void TxProgress::Ended() {
    {
        std::lock_guard lock(mutex_);
        state_.ended = true;
    }
    Changed();
}

TxProgress::State TxProgress::Now() const {
    std::lock_guard lock(mutex_);
    return state_;
}

void TxProgress::Changed() {
    {
        std::lock_guard lock(mutex_);
        ++version_;
    }
    changed_.notify_all();
}

void TxProgress::WaitForChange(Clock::duration timeout) {
    std::unique_lock lock(mutex_);
    const std::uint64_t seen = version_;
    changed_.wait_for(lock, timeout, [&] { return version_ != seen; });
}

}  // namespace tc101
