#pragma once

// 报文详解 on the console: --explain (indented text under each account line)
// and --json (JSON Lines only), with the field sizes of the profile in use.

#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "app/console/args.h"
#include "protocol/explain/frame_explanation.h"

namespace tc101::console {

enum class ExplainMode : std::uint8_t { Off, Text, Json };

// --explain or --json (not both).
ExplainMode TakeExplainMode(Args& args);

// "2026-03-07T21:05:09.117", the local time of a poll's JSON record.
std::string IsoLocalTime(std::chrono::system_clock::time_point when);

// The account lines, each followed by its frame's explanation.
std::string ExplainedAccount(std::span<const std::uint8_t> burst, const std::vector<std::string>& lines,
                             const ExplainOptions& options);

// One JSON line per frame of the octets; with a direction, "dir" and "time" first.
std::string JsonLines(std::span<const std::uint8_t> octets, const ExplainOptions& options,
                      std::string_view dir = {}, std::string_view time = {});

}  // namespace tc101::console
