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

namespace tc101 {

std::chrono::nanoseconds OctetTime(const LineSettings& line) {
    if (line.BaudRate == 0) return std::chrono::nanoseconds::zero();
    const std::int64_t dataBits = static_cast<std::int64_t>(line.ByteSize) + 5;
    const std::int64_t parityBits = line.Parity == TParity::None ? 0 : 1;
    const std::int64_t stopBits = line.StopBits == TStopBits::_1 ? 1 : 2;
    const std::int64_t bits = 1 + dataBits + parityBits + stopBits;
    return std::chrono::nanoseconds(bits * 1'000'000'000LL / static_cast<std::int64_t>(line.BaudRate));
}

}  // namespace tc101
