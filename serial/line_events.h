#pragma once

// Line errors and modem changes from the driver's interrupt counters: what
// changed between two readings, as the error and modem bits of the notices.

#include <cstdint>

#include "serial/comm_notice.h"

namespace tc101 {

// The counters of TIOCGICOUNT that matter here.
struct LineCounts {
    std::uint32_t frame = 0;
    std::uint32_t parity = 0;
    std::uint32_t overrun = 0;
    std::uint32_t brk = 0;
    std::uint32_t bufOverrun = 0;
    std::uint32_t dcd = 0;
    std::uint32_t rng = 0;
    bool operator==(const LineCounts&) const = default;
};

// CE_ bits for the error counts that grew.
std::uint32_t ErrorMaskBetween(const LineCounts& before, const LineCounts& after);
// How much each error count grew.
LineErrorCounts ErrorCountsBetween(const LineCounts& before, const LineCounts& after);
// Carrier-changed and ring bits for the modem counts that grew.
std::uint32_t ModemMaskBetween(const LineCounts& before, const LineCounts& after);
// The same from two TIOCMGET readings, for drivers without the counters:
// a carrier change, or a ring that began.
std::uint32_t ModemMaskBetween(int linesBefore, int linesAfter);

}  // namespace tc101
