#pragma once

// Whether a received block can go up before the frame delay has passed: it
// holds nothing but whole FT1.2 frames, so waiting for silence would only add
// latency. Anything else (noise, a frame still arriving, a bad checksum) is
// left to the frame delay.

#include <cstdint>
#include <span>

namespace tc101 {

// True when `octets`, from its first octet to its last, is one or more whole
// frames: fixed frames 10 C A.. CS 16 with `linkOctets` address octets (0 to
// 2), variable frames 68 L L 68 .. CS 16 of their announced length, or E5;
// checksums and end octets right. Reads only inside the span.
bool EndsInCompleteFrames(std::span<const std::uint8_t> octets, int linkOctets);

}  // namespace tc101
