#pragma once

// When a read of the receive thread ends, from the read time-outs: the block
// cutting rules of the serial line, as a pure function of elapsed times.

#include <chrono>
#include <cstddef>
#include <optional>

#include "serial/comm_settings.h"

namespace tc101 {

struct ReadStep {
    static constexpr int kNoLimit = -1;
    bool complete = false;  // hand over what was read (possibly nothing) and start a new read
    int waitMs = kNoLimit;  // otherwise: how long to wait for more bytes, in whole ms rounded up
    bool operator==(const ReadStep&) const = default;
};

// `count` bytes have been read since the read started `sinceStart` ago; the
// last of them arrived `sinceLastByte` ago (nothing when count is 0).
//  - 2048 bytes end a read.
//  - Interval t (not 0, not all-ones): once a byte is in, a silence of t ms ends it.
//  - Interval all-ones with both totals 0: any bytes end it at once; with none
//    it waits without limit (an empty read would only spin).
//  - Interval all-ones, multiplier all-ones, constant c: the first bytes end it,
//    or c ms without any.
//  - Otherwise a total of multiplier * 2048 + constant ms (when not 0) ends it,
//    with whatever is in.
//  - Interval 0 with both totals 0: only a full read ends it.
ReadStep NextReadStep(const CommTimeouts& timeouts, std::size_t count, std::chrono::nanoseconds sinceStart,
                      std::optional<std::chrono::nanoseconds> sinceLastByte);

}  // namespace tc101
