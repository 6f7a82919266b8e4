#pragma once

// Comm1ReceiveData's work: one received block into the log and the value
// tables, in the order the log must show it.

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>

#include "protocol/analyzer.h"
#include "protocol/poll_verdict.h"
#include "protocol/value_tables.h"

namespace tc101 {

class TrafficLog;

// Stamp and scroll, then for a block that is not
// empty the green "Rx:" line, the analysis and its red account. Returns the
// verdict for NextRequest, or nothing for an empty block (which changes no
// polling state).
std::optional<PollVerdict> ReceiveBlock(TrafficLog& log, ValueTables& tables, std::span<const std::uint8_t> block,
                                        std::chrono::system_clock::time_point received,
                                        const DecodingSettings& decoding, const HourClock& hour = LocalHour);

}  // namespace tc101
