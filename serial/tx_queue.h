#pragma once

// The transmit thread's request queue: first in, first out, with a wake
// descriptor the thread polls together with the stop signal.

#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <vector>

#include "serial/posix_port.h"

namespace tc101 {

class TxQueue {
public:
    using Request = std::vector<std::uint8_t>;

    // False when the transmit side has ended (or memory ran out): nothing queued.
    bool Push(Request request) noexcept;
    // The oldest request, if any. Lowers the wake signal first, so a request
    // pushed after an empty answer raises it again.
    std::optional<Request> TryPop();
    // The transmit thread is gone: later pushes are refused, queued requests dropped.
    void Close() noexcept;

    int WakeFd() const { return wake_.Fd(); }

private:
    std::mutex mutex_;
    std::deque<Request> requests_;
    bool closed_ = false;
    EventFd wake_;
};

}  // namespace tc101
