#include "serial/notice_queue.h"

namespace tc101 {

void NoticeQueue::Post(CommNotice notice) noexcept {
    try {
        {
            std::lock_guard lock(mutex_);
            notices_.push_back(std::move(notice));
        }
        ready_.notify_one();
    } catch (...) {
        // Out of memory: the notice is lost, as a failed post would be.
    }
}

bool NoticeQueue::WaitUntil(Clock::time_point deadline, CommNotice& taken) {
    std::unique_lock lock(mutex_);
    if (!ready_.wait_until(lock, deadline, [this] { return !notices_.empty(); })) {
        return false;
    }
    taken = std::move(notices_.front());
    notices_.pop_front();
    return true;
}

std::size_t NoticeQueue::Size() const {
    std::lock_guard lock(mutex_);
    return notices_.size();
}

}  // namespace tc101
