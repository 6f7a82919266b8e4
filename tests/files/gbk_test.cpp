#include "files/gbk.h"

#include <gtest/gtest.h>

namespace tc101 {
namespace {

struct GbkCase {
    const char* what;
    std::string utf8;
    std::string gbk;
};

void PrintTo(const GbkCase& c, std::ostream* out) { *out << c.what; }

class GbkRoundTrip : public ::testing::TestWithParam<GbkCase> {};

TEST_P(GbkRoundTrip, EncodesAndDecodesExactly) {
    const auto& c = GetParam();
    EXPECT_EQ(Utf8ToGbk(c.utf8), c.gbk);
    EXPECT_EQ(GbkToUtf8(c.gbk), c.utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, GbkRoundTrip,
    ::testing::Values(GbkCase{"ascii", "kV,0.5", "kV,0.5"},
                      GbkCase{"gbk two-byte", "遥测1", "\xD2\xA3\xB2\xE2" "1"},
                      GbkCase{"euro sign as Windows writes it", "€", "\x80"},
                      // Outside GBK: GB18030 four-byte forms, so nothing is lost.
                      GbkCase{"emoji", "😀", "\x94\x39\xFC\x36"},
                      GbkCase{"replacement character", "\xEF\xBF\xBD", "\x84\x31\xA4\x37"},
                      GbkCase{"nul kept", std::string("a\0b", 3), std::string("a\0b", 3)}));

TEST(Gbk, BytesThatAreNotValidBecomeReplacementCharacters) {
    const std::string bad = "\xFF" "A" "\xD2" " " "\xD2";  // stray byte, lead byte before a space, cut-off lead
    EXPECT_EQ(GbkToUtf8(bad), "\xEF\xBF\xBD" "A" "\xEF\xBF\xBD" " " "\xEF\xBF\xBD");
}

TEST(Gbk, MalformedUtf8BecomesOneReplacementPerBadByte) {
    EXPECT_EQ(Utf8ToGbk("a\xC3" "b"), "a\x84\x31\xA4\x37" "b");
    EXPECT_EQ(GbkToUtf8(Utf8ToGbk("\xE9\x81" "x")), "\xEF\xBF\xBD\xEF\xBF\xBD" "x");
}

TEST(Gbk, EveryByteValueDecodesToValidUtf8) {
    std::string all;
    for (int i = 0; i < 256; ++i)
        for (int j = 0; j < 256; j += 7) {
            all.push_back(static_cast<char>(i));
            all.push_back(static_cast<char>(j));
        }
    const auto text = GbkToUtf8(all);
    // Re-encoding valid UTF-8 gives no replacement for text that came from GB18030.
    EXPECT_EQ(GbkToUtf8(Utf8ToGbk(text)), text);
}

}  // namespace
}  // namespace tc101
