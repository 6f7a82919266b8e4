#pragma once

// How received frames are decoded where the frames themselves do not say:
// the width of a measured value and the storage of telesignals. A value the
// caller hands to the analyser; comset.ini stores it.

#include <cstdint>

namespace tc101 {

inline constexpr std::uint8_t kDefaultYcUseByte = 2;
inline constexpr std::uint8_t kDefaultYxUseByte = 0;

struct DecodingSettings {
    // Octets per measured value in received frames (1 to 4).
    std::uint8_t ycUseByte = kDefaultYcUseByte;
    // Telesignal storage: 0 one octet per point, 1 one bit per point.
    std::uint8_t yxUseByte = kDefaultYxUseByte;

    friend bool operator==(const DecodingSettings&, const DecodingSettings&) = default;
};

}  // namespace tc101
