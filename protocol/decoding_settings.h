#pragma once

// The two runtime decoding settings, process-wide by design: loaded when the
// main window is created, changed when the point definition editor closes,
// read by the analyser at every call. Touched on the user-interface thread only.

#include <cstdint>

namespace tc101 {

// Octets per measured value in received frames (1 to 4).
extern std::uint8_t YcUseByte;
// Telesignal storage: 0 one octet per point, 1 one bit per point.
extern std::uint8_t YxUseByte;

inline constexpr std::uint8_t kDefaultYcUseByte = 2;
inline constexpr std::uint8_t kDefaultYxUseByte = 0;

}  // namespace tc101
