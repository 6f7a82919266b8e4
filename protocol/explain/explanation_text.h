#pragma once

// The explanation as indented text (two spaces a level, one node a line) and
// as compact JSON, written from a frame's explanation.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/explain/frame_explanation.h"

namespace tc101 {

// The frame's link layer, ASDU and objects (not its own line, which the
// account line stands for), starting at the depth.
void AppendExplanationText(std::string& out, const FrameExplanation& frame, int depth = 1);

// The frame's own line and everything under it, starting at the depth.
void AppendFrameExplanationText(std::string& out, const FrameExplanation& frame, int depth = 0);

// A node and everything under it.
void AppendExplanationTree(std::string& out, const ExplainNode& node, int depth = 0);

// The frame's object of the JSON contract, on one line.
void AppendExplanationJson(std::string& out, const FrameExplanation& frame);

// The explanation under each line of a burst's account: block i (indented
// text, possibly empty) follows account line i. Frames beyond the account's
// lines (a profile whose frames the analyser does not see) go, whole, under
// the last line.
std::vector<std::string> ExplanationUnderAccount(std::span<const std::uint8_t> burst, std::size_t accountLines,
                                                 const ExplainOptions& options);

// One JSON Lines record: the frame's object, after "dir" and "time" when given.
std::string ExplanationJsonLine(const FrameExplanation& frame, std::string_view dir = {}, std::string_view time = {});

}  // namespace tc101
