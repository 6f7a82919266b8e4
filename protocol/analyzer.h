#pragma once

// The frame analyser: turns a received burst (or pasted hex) into an account
// line per frame, writes what the frames report into the value tables, and
// returns the verdict that steers the master simulation's next request.
// Each call looks at its buffer alone; only the tables carry over.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "protocol/decoding_settings.h"
#include "protocol/link_profile.h"
#include "protocol/poll_verdict.h"
#include "protocol/value_tables.h"

namespace tc101 {

struct FrameAnalysis {
    std::vector<std::string> lines;  // the account, UTF-8
    PollVerdict verdict = PollVerdict::None;
};

// The hour (0 to 23) put into event time texts; frames carry no hour.
using HourClock = std::function<int()>;
int LocalHour();

// In the default profile (1/1/1/2, legacy decoding).
FrameAnalysis AnalyzeFrames(std::span<const std::uint8_t> buffer, ValueTables& tables,
                            const DecodingSettings& settings, const HourClock& hour = LocalHour);
// Frames read with the profile's field sizes and object decoding. Standard
// decoding reads element widths from the type; the settings' widths apply to
// legacy decoding only.
FrameAnalysis AnalyzeFrames(std::span<const std::uint8_t> buffer, ValueTables& tables,
                            const DecodingSettings& settings, const LinkProfile& profile,
                            const HourClock& hour = LocalHour);

}  // namespace tc101
