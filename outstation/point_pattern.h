#pragma once

// The simulator's values as pure functions of the seed, so a test can
// predict every value the station reports. Points are numbered from 1;
// changes and events from 1 in the order the station makes them.

#include <cstdint>

namespace tc101 {

inline constexpr std::int16_t kPatternValueLimit = 1000;  // values lie in -1000 .. 1000

bool InitialTelesignal(std::uint32_t seed, int point);
std::int16_t InitialMeasuredValue(std::uint32_t seed, int point);

// Measured value change `change`: which of `count` points, and its new value.
int ChangedMeasuredPoint(std::uint32_t seed, std::int64_t change, int count);
std::int16_t ChangedMeasuredValue(std::uint32_t seed, std::int64_t change);

// Event `event` toggles this one of `count` telesignals.
int EventPoint(std::uint32_t seed, std::int64_t event, int count);

}  // namespace tc101
