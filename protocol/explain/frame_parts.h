#pragma once

// Where a frame's parts lie under the profile: what the decoder found and
// the texts and JSON are written from.

#include <cstddef>
#include <string>

#include "protocol/explain/frame_explanation.h"

namespace tc101::explain {

struct FrameParts {
    enum class Format : std::uint8_t { Single, Fixed, Variable };
    Format format = Format::Single;
    std::size_t controlAt = 0;
    bool hasControl = false;
    bool hasAddress = false;
    std::size_t checksumFirst = 0;  // the octets the checksum is over
    std::size_t checksumLast = 0;
    bool hasAsdu = false;
    std::size_t asduAt = 0;
    std::size_t asduEnd = 0;  // first octet after the user data
};

FrameParts PartsOf(std::span<const std::uint8_t> frame, const ExplainOptions& options);

// "第2个信息对象在第18个八位位组处超出帧尾 (需要2个, 仅剩1个)"
void AppendStopText(std::string& out, const FrameExplanation& frame);

}  // namespace tc101::explain
