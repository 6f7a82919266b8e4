#pragma once

// The receive bursts the protocol benchmarks run over: full 65535-octet
// blocks of back-to-back fixed frames, of variable frames that write the
// tables, and of line noise.

#include <cstdint>
#include <random>
#include <vector>

#include "protocol/frame.h"

namespace tc101::bench {

inline constexpr size_t kBurstOctets = 65535;

using Bytes = std::vector<std::uint8_t>;

inline Bytes VariableFrame(std::uint8_t control, std::uint8_t address, const Bytes& asdu) {
    const auto length = static_cast<std::uint8_t>(asdu.size() + 2);
    Bytes frame{kVariableStart, length, length, kVariableStart, control, address};
    for (std::uint8_t octet : asdu) frame.push_back(octet);
    frame.push_back(FrameChecksum(frame, kVarControlOffset, static_cast<int>(frame.size()) - 1));
    frame.push_back(kFrameEnd);
    return frame;
}

// Repeats the frames in turn while whole frames fit.
inline Bytes Burst(const std::vector<Bytes>& frames) {
    Bytes burst;
    for (size_t i = 0;; ++i) {
        const Bytes& frame = frames[i % frames.size()];
        if (burst.size() + frame.size() > kBurstOctets) break;
        burst.insert(burst.end(), frame.begin(), frame.end());
    }
    return burst;
}

inline Bytes FixedFramesBurst() {
    std::vector<Bytes> frames;
    for (std::uint8_t control : {0x0B, 0x29, 0x09, 0x00, 0x49, 0x5B}) {
        const auto frame = BuildFixedFrame(control, 1);
        frames.emplace_back(frame.begin(), frame.end());
    }
    return Burst(frames);
}

// An interrogation reply of 16 measured values, one of 32 telesignals, two events.
inline Bytes TableFramesBurst() {
    Bytes yc{kTypeMeasuredNoQuality, 0x90, kCauseInterrogatedFirst, 1, 1, 0x40};
    for (int i = 0; i < 16; ++i) {
        yc.push_back(static_cast<std::uint8_t>(i * 37));
        yc.push_back(static_cast<std::uint8_t>(i * 11));
    }
    Bytes yx{kTypeSinglePoint, 0xA0, kCauseInterrogatedFirst, 1, 1, 0};
    for (int i = 0; i < 32; ++i) yx.push_back(static_cast<std::uint8_t>(i % 2));
    Bytes events{kTypeSinglePointTime, 2, kCauseSpontaneous, 1};
    for (std::uint8_t row : {5, 6})
        for (std::uint8_t octet : {row, std::uint8_t{0}, std::uint8_t{1}, std::uint8_t{0x39}, std::uint8_t{0x30},
                                   std::uint8_t{0x0C}})
            events.push_back(octet);
    return Burst({VariableFrame(0x08, 1, yc), VariableFrame(0x28, 1, yx), VariableFrame(0x28, 2, events)});
}

inline Bytes NoiseBurst() {
    std::mt19937 random(101);
    Bytes burst(kBurstOctets);
    for (auto& octet : burst) {
        octet = static_cast<std::uint8_t>(random());
        // Start octets occur, but none that makes a frame.
        if (octet == kSingleChar) octet = 0;
    }
    return burst;
}

}  // namespace tc101::bench
