#pragma once

// Where each field of a frame sits for a profile's field sizes. Every offset
// that depends on the sizes is computed here, once; the default sizes give
// the constants of frame.h.

#include <cstdint>
#include <span>

#include "protocol/field_sizes.h"
#include "protocol/frame.h"

namespace tc101 {

struct FrameLayout {
    int linkOctets = 1;
    int causeOctets = 1;
    int commonOctets = 1;
    int objectOctets = 2;

    // Fixed frame: 10 C A.. CS 16.
    int fixedSize = kFixedFrameSize;
    int fixedChecksum = kFixedChecksumOffset;
    int fixedEnd = kFixedEndOffset;

    // Variable frame, counted from the first 0x68.
    int varType = kVarTypeOffset;
    int varQualifier = kVarTypeOffset + 1;
    int varCause = kVarCauseOffset;
    int varCommonAddress = kVarCauseOffset + 1;
    int varFirstObject = kVarFirstObjectOffset;

    // Octets of L before the first object (control, link address, type,
    // qualifier, cause, common address), and with the first object address.
    int objectHeader = kVarHeaderLength - 2;
    int sequenceHeader = kVarHeaderLength;

    friend bool operator==(const FrameLayout&, const FrameLayout&) = default;
};

constexpr FrameLayout LayoutOf(const FieldSizes& sizes) {
    FrameLayout layout;
    layout.linkOctets = sizes.linkAddress;
    layout.causeOctets = sizes.cause;
    layout.commonOctets = sizes.commonAddress;
    layout.objectOctets = sizes.objectAddress;
    layout.fixedSize = 4 + sizes.linkAddress;
    layout.fixedChecksum = kFixedAddressOffset + sizes.linkAddress;
    layout.fixedEnd = layout.fixedChecksum + 1;
    layout.varType = kVarAddressOffset + sizes.linkAddress;
    layout.varQualifier = layout.varType + 1;
    layout.varCause = layout.varQualifier + 1;
    layout.varCommonAddress = layout.varCause + sizes.cause;
    layout.varFirstObject = layout.varCommonAddress + sizes.commonAddress;
    layout.objectHeader = layout.varFirstObject - kVarControlOffset;
    layout.sequenceHeader = layout.objectHeader + sizes.objectAddress;
    return layout;
}

inline constexpr FrameLayout kDefaultLayout = LayoutOf(FieldSizes{});

// An unsigned field of `octets` octets at `at`, least significant first.
constexpr std::uint32_t ReadLittleEndian(std::span<const std::uint8_t> octets, std::size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = count; i-- > 0;) value = (value << 8) | octets[at + static_cast<std::size_t>(i)];
    return value;
}

// Appends the low `count` octets of value, least significant first.
template <typename Octets>
void AppendLittleEndian(Octets& out, std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) out.push_back(static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF));
}

// The value a field of `octets` octets holds for a number: modulo 256 or 65536.
constexpr std::uint32_t FieldValue(std::int64_t number, int octets) {
    const std::uint64_t mask = octets >= 4 ? 0xFFFFFFFFu : ((std::uint64_t{1} << (8 * octets)) - 1);
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(number) & mask);
}

}  // namespace tc101
