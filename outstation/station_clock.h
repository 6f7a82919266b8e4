#pragma once

// The time the outstation runs on, injected so tests can drive it: a
// steady count for scheduling and the local time of day for time tags.

#include <cstdint>
#include <functional>

namespace tc101 {

struct ClockReading {
    std::int64_t steadyMs = 0;
    std::int64_t localMsOfDay = 0;
    // The local date, for seven-octet time tags.
    int localYear = 2000;
    int localMonth = 1;
    int localDay = 1;
};

using StationClock = std::function<ClockReading()>;

ClockReading ReadSystemClock();

}  // namespace tc101
