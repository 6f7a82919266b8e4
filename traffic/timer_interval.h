#pragma once

// The interval the two timers take from their spinners. A timer with 0 ms
// would fire at every turn of the event loop; one that cannot fire must not
// run at all.

#include <cstdint>
#include <string_view>

namespace tc101 {

// A spinner's text as a whole number (optional sign, decimal digits); any
// other text, or one beyond the timer's range, reads as 0.
std::int64_t SpinnerInterval(std::string_view text);

// Whether a timer with this interval in milliseconds ever fires: 0 and
// negative intervals never do.
constexpr bool TimerFires(std::int64_t intervalMs) { return intervalMs > 0; }

}  // namespace tc101
