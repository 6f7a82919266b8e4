#include "serial/write_timing.h"

#include <algorithm>
#include <cstdint>

namespace tc101 {

std::optional<std::chrono::milliseconds> WriteTimeLimit(const CommTimeouts& timeouts, std::size_t octets) {
    const std::uint64_t multiplier = timeouts.WriteTotalTimeoutMultiplier;
    const std::uint64_t constant = timeouts.WriteTotalTimeoutConstant;
    if (multiplier == 0 && constant == 0) return std::nullopt;
    // At most 65535 octets of 2^32 - 1 ms each: fits in 64 bits.
    return std::chrono::milliseconds(static_cast<std::int64_t>(multiplier * octets + constant));
}

std::chrono::milliseconds DrainStallLimit(const CommTimeouts& timeouts, std::size_t pendingOctets) {
    const auto limit = WriteTimeLimit(timeouts, pendingOctets);
    return limit ? std::max(*limit, kDrainStall) : kDrainStall;
}

}  // namespace tc101
