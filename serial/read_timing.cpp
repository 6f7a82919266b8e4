#include "serial/read_timing.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace tc101 {
namespace {

using std::chrono::milliseconds;
using std::chrono::nanoseconds;

ReadStep WaitAtMost(nanoseconds remaining) {
    if (remaining <= nanoseconds::zero()) {
        return ReadStep{.complete = true};
    }
    const auto ms = std::chrono::ceil<milliseconds>(remaining).count();
    return ReadStep{.complete = false, .waitMs = static_cast<int>(std::min<std::int64_t>(ms, INT_MAX))};
}

}  // namespace

ReadStep NextReadStep(const CommTimeouts& timeouts, std::size_t count, nanoseconds sinceStart,
                      std::optional<nanoseconds> sinceLastByte) {
    const ReadStep waitForBytes{.complete = false, .waitMs = ReadStep::kNoLimit};
    if (count >= kReadBlockSize) {
        return ReadStep{.complete = true};
    }
    const std::uint32_t interval = timeouts.ReadIntervalTimeout;
    const std::uint32_t multiplier = timeouts.ReadTotalTimeoutMultiplier;
    const std::uint32_t constant = timeouts.ReadTotalTimeoutConstant;

    if (interval == kTimeoutAllOnes && multiplier == 0 && constant == 0) {
        return count > 0 ? ReadStep{.complete = true} : waitForBytes;
    }
    std::optional<nanoseconds> remaining;
    if (interval == kTimeoutAllOnes && multiplier == kTimeoutAllOnes && constant != 0 &&
        constant != kTimeoutAllOnes) {
        if (count > 0) {
            return ReadStep{.complete = true};
        }
        remaining = milliseconds(constant) - sinceStart;
    } else if (multiplier != 0 || constant != 0) {
        const auto total = static_cast<std::int64_t>(multiplier) * static_cast<std::int64_t>(kReadBlockSize) +
                           static_cast<std::int64_t>(constant);
        remaining = milliseconds(total) - sinceStart;
    }
    if (interval != 0 && interval != kTimeoutAllOnes && count > 0 && sinceLastByte) {
        const nanoseconds silenceLeft = milliseconds(interval) - *sinceLastByte;
        remaining = remaining ? std::min(*remaining, silenceLeft) : silenceLeft;
    }
    return remaining ? WaitAtMost(*remaining) : waitForBytes;
}

}  // namespace tc101
