#pragma once

// The log lines for a port that misbehaves: line errors (at most one line a
// second, with the counts), a write the time-outs ended, and a stored frame
// delay that cannot work. The window and the console show the same texts.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "serial/comm_notice.h"

namespace tc101 {

std::string LineErrorText(const LineErrorCounts& counts);
std::string WriteTimeoutText(std::uint32_t written, std::uint32_t requested);
// The console's line for octets that had not left when it stopped waiting.
std::string NotWrittenText(std::size_t requested);
std::string FrameDelayReplacedText(std::int64_t stored, std::int64_t used);

// Gathers line errors into one line a second: the first errors show at once,
// those that follow within the second are added up and shown when it is over.
class LineErrorReport {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr Clock::duration kSpacing = std::chrono::seconds(1);

    // The line to show now, if one is due.
    std::optional<std::string> Add(const LineErrorCounts& counts, Clock::time_point now);
    // The line for errors held back, once their second is over.
    std::optional<std::string> Due(Clock::time_point now);
    // When the held-back errors become due; nothing when none are held.
    std::optional<Clock::time_point> NextDue() const;

private:
    LineErrorCounts held_;
    bool holding_ = false;
    std::optional<Clock::time_point> lastShown_;
};

}  // namespace tc101
