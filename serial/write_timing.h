#pragma once

// How long the line may take with what is sent: the write time-outs of one
// request, and how long closing waits for a line that has stopped moving.

#include <chrono>
#include <cstddef>
#include <optional>

#include "serial/comm_settings.h"

namespace tc101 {

// Multiplier * octets + constant milliseconds; nothing when both are 0 (no
// limit), as the write time-outs have always meant.
std::optional<std::chrono::milliseconds> WriteTimeLimit(const CommTimeouts& timeouts, std::size_t octets);

// Without write time-outs a line held by flow control would keep the port
// from closing: closing gives up once nothing has moved for this long.
inline constexpr std::chrono::milliseconds kDrainStall{300};

// How long draining waits without progress: the time-out of what is still
// pending when one is set (but never less than kDrainStall), else kDrainStall.
std::chrono::milliseconds DrainStallLimit(const CommTimeouts& timeouts, std::size_t pendingOctets);

// How long one octet takes on the line: start bit, data bits, parity bit
// and stop bits (1.5 counted as 2, as Linux sends it) at the baud rate.
std::chrono::nanoseconds OctetTime(const LineSettings& line);

}  // namespace tc101
