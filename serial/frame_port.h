#pragma once

// Where a master station puts its frames: one call per frame, and a wait
// until what was queued has left the line. TComm is one; tests use a fake.

#include <cstdint>

namespace tc101 {

class FramePort {
public:
    virtual ~FramePort() = default;

    // Queues the octets of one frame; false when the port refused them.
    virtual bool SendBytes(const std::uint8_t* data, std::uint16_t count) = 0;
    // Waits until everything queued has left; false when some of it did not.
    virtual bool Drain() = 0;
};

}  // namespace tc101
