#pragma once

// Frames for the explanation tests and tools: a variable frame built under
// any field sizes around an ASDU's type, qualifier and object octets.

#include <cstdint>
#include <string_view>
#include <vector>

#include "protocol/field_sizes.h"
#include "protocol/frame.h"
#include "protocol/hex_text.h"

namespace tc101::testing {

struct AsduHead {
    std::uint8_t control = 0x08;
    std::uint32_t linkAddress = 1;
    std::uint8_t ti = 1;
    std::uint8_t vsq = 1;
    std::uint8_t cause = 3;
    std::uint8_t originator = 0;
    std::uint32_t commonAddress = 1;
};

inline void PutLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int octets) {
    for (int i = 0; i < octets; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// 68 L L 68 C A.. TI VSQ COT [OA] CA.. objects CS 16.
inline std::vector<std::uint8_t> SizedFrame(const FieldSizes& sizes, const AsduHead& head,
                                            const std::vector<std::uint8_t>& objects) {
    std::vector<std::uint8_t> user{head.control};
    PutLittleEndian(user, head.linkAddress, sizes.linkAddress);
    user.push_back(head.ti);
    user.push_back(head.vsq);
    user.push_back(head.cause);
    if (sizes.cause == 2) user.push_back(head.originator);
    PutLittleEndian(user, head.commonAddress, sizes.commonAddress);
    user.insert(user.end(), objects.begin(), objects.end());
    const auto length = static_cast<std::uint8_t>(user.size());
    std::vector<std::uint8_t> frame{kVariableStart, length, length, kVariableStart};
    // One octet at a time: GCC 12 at -O2 misreads an insert after a short list as an overflow.
    for (const std::uint8_t octet : user) frame.push_back(octet);
    frame.push_back(FrameChecksum(frame, 4, static_cast<int>(frame.size()) - 1));
    frame.push_back(kFrameEnd);
    return frame;
}

inline std::vector<std::uint8_t> Octets(std::string_view hex) { return HexTextToBytes(NormalizeHexText(hex)); }

}  // namespace tc101::testing
