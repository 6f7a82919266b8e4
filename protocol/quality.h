#pragma once

// The quality flags a standard information element carries (QDS, and the
// flag bits of SIQ and DIQ), as the value tables keep them per cell.

#include <cstdint>
#include <string>

namespace tc101 {

inline constexpr std::uint8_t kQualityOverflow = 0x01;     // OV
inline constexpr std::uint8_t kQualityBlocked = 0x10;      // BL
inline constexpr std::uint8_t kQualitySubstituted = 0x20;  // SB
inline constexpr std::uint8_t kQualityNotTopical = 0x40;   // NT
inline constexpr std::uint8_t kQualityInvalid = 0x80;      // IV
inline constexpr std::uint8_t kQualityFlagsMask =
    kQualityOverflow | kQualityBlocked | kQualitySubstituted | kQualityNotTopical | kQualityInvalid;
// SIQ and DIQ carry no OV: their low bits are the state.
inline constexpr std::uint8_t kPointQualityMask = kQualityFlagsMask & ~kQualityOverflow;

// A value that must not be trusted: drawn grey.
constexpr bool QualityGreyed(std::uint8_t flags) {
    return (flags & (kQualityInvalid | kQualityNotTopical)) != 0;
}

// The flags set, named for a tooltip, e.g. "IV 无效, NT 非当前值"; empty for none.
std::string QualityFlagsText(std::uint8_t flags);

}  // namespace tc101
