#pragma once

// Finding frames in a received burst. Only what lies inside the buffer is
// looked at; a frame cut at the end of the burst is not a frame.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "protocol/frame_layout.h"

namespace tc101 {

enum class FrameKind : std::uint8_t { Fixed, Variable, SingleChar };

struct FoundFrame {
    FrameKind kind;
    std::size_t start;
    std::size_t size;
};

// The first frame starting at or after `from`. Octets that start no frame
// are skipped one at a time, so a frame inside a false start is still found.
// The search goes on after the frame's last octet.
std::optional<FoundFrame> FindNextFrame(std::span<const std::uint8_t> buffer, std::size_t from);
// The same for a profile: fixed frames are 4 + link octets long.
std::optional<FoundFrame> FindNextFrame(std::span<const std::uint8_t> buffer, std::size_t from,
                                        const FrameLayout& layout);

}  // namespace tc101
