#include "traffic/link_statistics.h"

#include <algorithm>

namespace tc101 {
namespace {

// The value at 1-based rank ceil(percent/100 * n) of sorted times.
ResponseTime AtRank(const std::vector<ResponseTime>& sorted, std::size_t percent) {
    const std::size_t rank = std::max<std::size_t>(1, (percent * sorted.size() + 99) / 100);
    return sorted[rank - 1];
}

}  // namespace

std::optional<ResponseSummary> SummariseResponseTimes(std::vector<ResponseTime> times) {
    if (times.empty()) return std::nullopt;
    std::sort(times.begin(), times.end());
    ResponseTime total{};
    for (const ResponseTime t : times) total += t;
    const auto n = static_cast<ResponseTime::rep>(times.size());
    return ResponseSummary{.count = times.size(),
                           .min = times.front(),
                           .median = AtRank(times, 50),
                           .p95 = AtRank(times, 95),
                           .max = times.back(),
                           .mean = total / n};
}

void LinkStatistics::FrameSent(Clock::time_point queuedAt, Clock::time_point endOfFrame, bool repeat) {
    if (waiting_) TimedOut();
    ++counts_.sent;
    if (repeat) ++counts_.repeats;
    waiting_ = Pending{.queuedAt = queuedAt, .endOfFrame = endOfFrame};
}

void LinkStatistics::FrameLeft(Clock::time_point at) {
    if (!waiting_ || waiting_->refined || at < waiting_->queuedAt) return;
    waiting_->endOfFrame = at;
    waiting_->refined = true;
}

bool LinkStatistics::AnswerStarted(Clock::time_point firstOctet) {
    if (!waiting_) return false;
    // A port that cannot say when the frame left may put its end after the answer's start.
    const ResponseTime time = std::max(ResponseTime::zero(), firstOctet - waiting_->endOfFrame);
    waiting_.reset();
    ++counts_.answered;
    times_.push_back(time);
    total_ += time;
    return true;
}

void LinkStatistics::TimedOut() {
    if (!waiting_) return;
    waiting_.reset();
    ++counts_.timeouts;
}

std::optional<ResponseTime> LinkStatistics::Last() const {
    if (times_.empty()) return std::nullopt;
    return times_.back();
}

std::optional<ResponseTime> LinkStatistics::Mean() const {
    if (times_.empty()) return std::nullopt;
    return total_ / static_cast<ResponseTime::rep>(times_.size());
}

}  // namespace tc101
