#include "serial/tx_queue.h"

namespace tc101 {

bool TxQueue::Push(Request request) noexcept {
    try {
        std::lock_guard lock(mutex_);
        if (closed_) {
            return false;
        }
        requests_.push_back(std::move(request));
    } catch (...) {
        return false;
    }
    wake_.Signal();
    return true;
}

std::optional<TxQueue::Request> TxQueue::TryPop() {
    wake_.Clear();
    std::lock_guard lock(mutex_);
    if (requests_.empty()) {
        return std::nullopt;
    }
    Request request = std::move(requests_.front());
    requests_.pop_front();
    return request;
}

void TxQueue::Close() noexcept {
    std::lock_guard lock(mutex_);
    closed_ = true;
    requests_.clear();
}

}  // namespace tc101
