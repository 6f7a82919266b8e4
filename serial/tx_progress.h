#pragma once

// How far the transmit thread has got with what the owner queued: the
// requests not yet finished, the octets the driver has taken, and those a
// write time-out dropped. The owner waits on it to let the queue leave the
// line before the port closes.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>

namespace tc101 {

class TxProgress {
public:
    using Clock = std::chrono::steady_clock;

    struct State {
        std::size_t pendingRequests = 0;
        std::size_t pendingOctets = 0;
        std::uint64_t moved = 0;    // octets the driver has taken, all told
        std::uint64_t dropped = 0;  // octets of requests a time-out ended, all told
        bool ended = false;         // the transmit thread is gone: nothing more finishes
        bool operator==(const State&) const = default;
    };

    // Owner: a request of `octets` goes into the queue (called before the push).
    void Queued(std::size_t octets);
    // Transmit thread: the driver took `octets` more.
    void Moved(std::size_t octets);
    // A request of `octets` is done with; `dropped` of them never reached the line.
    void Finished(std::size_t octets, std::size_t dropped = 0);
    void Ended();

    State Now() const;
    // Waits until anything changes or the time is up.
    void WaitForChange(Clock::duration timeout);

private:
    void Changed();

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    State state_;
    std::uint64_t version_ = 0;
};

}  // namespace tc101
