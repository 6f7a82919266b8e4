#include "protocol/frame_complete.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "protocol/hex_text.h"

namespace tc101 {
namespace {

struct CompleteCase {
    const char* hex;
    int linkOctets;
    bool complete;
};

TEST(FrameComplete, OnlyWholeValidFramesEndABlockEarly) {
    const CompleteCase cases[] = {
        {"10 49 01 4A 16", 1, true},
        {"10 49 01 00 4A 16", 2, true},
        {"10 49 49 16", 0, true},
        {"E5", 1, true},
        {"E5 E5", 2, true},
        {"68 09 09 68 53 01 64 01 06 01 00 00 14 D4 16", 1, true},
        {"10 0B 01 0C 16 68 09 09 68 53 01 64 01 06 01 00 00 14 D4 16 E5", 1, true},
        {"", 1, false},
        {"10 49 01 4A", 1, false},                          // end octet still to come
        {"10 49 01 4A 16", 2, false},                       // a 2-octet address: one octet short
        {"10 49 01 00 4A 16", 1, false},                    // the same frame read with 1 octet
        {"10 49 01 4B 16", 1, false},                       // bad checksum
        {"10 49 01 4A 17", 1, false},                       // bad end octet
        {"68 09 09 68 53 01 64 01 06 01 00 00 14", 1, false},  // cut
        {"68 09 08 68 53 01 64 01 06 01 00 00 14 D4 16", 1, false},  // L and its repeat differ
        {"68 09 09 69 53 01 64 01 06 01 00 00 14 D4 16", 1, false},  // second start wrong
        {"68 00 00 68 00 16", 1, false},                    // L of 0
        {"68 09 09 68 53 01 64 01 06 01 00 00 14 D5 16", 1, false},  // bad checksum
        {"00 10 49 01 4A 16", 1, false},                    // noise before the frame
        {"10 49 01 4A 16 00", 1, false},                    // noise after it
        {"10 49 01 4A 16 68 09", 1, false},                 // the next frame still arriving
        {"E5", 3, false},                                   // no such link address size
    };
    for (const auto& c : cases) {
        const std::vector<std::uint8_t> octets = HexTextToBytes(c.hex);
        EXPECT_EQ(EndsInCompleteFrames(octets, c.linkOctets), c.complete) << c.hex << " link " << c.linkOctets;
    }
}

}  // namespace
}  // namespace tc101
