#pragma once

// A notice sink for owners without an event loop (the console master, the
// outstation simulator, the tests): a thread-safe FIFO that the owner's
// thread drains, waiting with a deadline.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

#include "serial/comm_notice.h"

namespace tc101 {

class NoticeQueue : public CommNoticeSink {
public:
    using Clock = std::chrono::steady_clock;

    void Post(CommNotice notice) noexcept override;

    // Takes the oldest notice, waiting until the deadline; false when it passed.
    bool WaitUntil(Clock::time_point deadline, CommNotice& taken);
    bool WaitFor(Clock::duration timeout, CommNotice& taken) { return WaitUntil(Clock::now() + timeout, taken); }
    bool TryTake(CommNotice& taken) { return WaitUntil(Clock::time_point::min(), taken); }
    std::size_t Size() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<CommNotice> notices_;
};

}  // namespace tc101
