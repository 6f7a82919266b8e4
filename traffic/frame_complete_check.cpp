#include "traffic/frame_complete_check.h"

#include "protocol/frame_complete.h"

namespace tc101 {

TComm::BlockEndCheck FrameCompleteCheck(bool on, int linkOctets) {
    if (!on) return {};
    return [linkOctets](std::span<const std::uint8_t> octets) { return EndsInCompleteFrames(octets, linkOctets); };
}

}  // namespace tc101
