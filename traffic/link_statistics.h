#pragma once

// Response times and link trouble of one link, in either procedure: the
// station tells it when a frame that waits for an answer has left, when an
// answer began, and what went wrong; the window's panel and the end of a
// console run read it. One thread drives it.

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

namespace tc101 {

using ResponseTime = std::chrono::nanoseconds;

struct ResponseSummary {
    std::size_t count = 0;
    // Nearest rank: the median is the value at rank ceil(n/2), p95 at ceil(0.95 n).
    ResponseTime min{}, median{}, p95{}, max{}, mean{};
    bool operator==(const ResponseSummary&) const = default;
};

// Nothing for no times; the order of the times does not matter.
std::optional<ResponseSummary> SummariseResponseTimes(std::vector<ResponseTime> times);

struct LinkCounts {
    std::uint64_t sent = 0;      // frames that waited for an answer
    std::uint64_t answered = 0;  // of them, answered
    std::uint64_t timeouts = 0;
    std::uint64_t repeats = 0;
    std::uint64_t checksumErrors = 0;
    std::uint64_t unexpected = 0;
    bool operator==(const LinkCounts&) const = default;
};

class LinkStatistics {
public:
    using Clock = std::chrono::steady_clock;

    // A request or confirmed frame was queued at `queuedAt` and, as far as
    // the sender knows, ended at `endOfFrame`; a frame still waiting counts
    // as timed out. `repeat`: it repeats one that got no answer.
    void FrameSent(Clock::time_point queuedAt, Clock::time_point endOfFrame, bool repeat = false);
    // The port's word on when the waiting frame's last octet left: taken once,
    // when it is not before the frame was queued (older word is another frame's).
    void FrameLeft(Clock::time_point at);
    // An answer's first octet: the waiting frame's response time. False when
    // nothing was waiting.
    bool AnswerStarted(Clock::time_point firstOctet);
    // The waiting frame got no answer within the waiting rule.
    void TimedOut();
    void ChecksumErrors(std::uint64_t n) { counts_.checksumErrors += n; }
    void UnexpectedFrames(std::uint64_t n) { counts_.unexpected += n; }

    bool Waiting() const { return waiting_.has_value(); }
    const LinkCounts& Counts() const { return counts_; }
    std::optional<ResponseTime> Last() const;
    std::optional<ResponseTime> Mean() const;
    std::optional<ResponseSummary> Summary() const { return SummariseResponseTimes(times_); }
    void Reset() { *this = LinkStatistics{}; }

private:
    struct Pending {
        Clock::time_point queuedAt;
        Clock::time_point endOfFrame;
        bool refined = false;
    };
    std::optional<Pending> waiting_;
    LinkCounts counts_;
    std::vector<ResponseTime> times_;
    ResponseTime total_{};
};

}  // namespace tc101
