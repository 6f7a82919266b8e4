#include "protocol/link_profile.h"

#include <gtest/gtest.h>

namespace tc101 {
namespace {

TEST(LinkProfile, FieldSizesTextRoundTripsAndRefusesOutsideSizes) {
    for (const char* text : {"1/1/1/2", "2/2/2/3", "1/2/2/3", "2/1/1/2", "1/1/2/3", "2/2/1/2", "1/1/1/1"}) {
        const auto sizes = ParseFieldSizes(text);
        ASSERT_TRUE(sizes) << text;
        EXPECT_EQ(FieldSizesText(*sizes), text);
    }
    for (const char* text : {"", "0/1/1/2", "3/1/1/2", "1/3/1/2", "1/1/0/2", "1/1/1/4", "1/1/1/0", "1/1/1",
                             "1/1/1/2/", "1/1/1/2 ", "+1/1/1/2", "11/1/1/2", "1-1-1-2"}) {
        EXPECT_FALSE(ParseFieldSizes(text)) << text;
    }
    EXPECT_EQ(FieldSizesText(LinkProfile{}.sizes), "1/1/1/2");
    EXPECT_EQ(ParseObjectDecoding("standard"), ObjectDecoding::Standard);
    EXPECT_EQ(ParseObjectDecoding("legacy"), ObjectDecoding::Legacy);
    EXPECT_FALSE(ParseObjectDecoding("Standard"));
}

TEST(LinkProfile, LinkAddressOfNoOctetsOnlyInBalancedMode) {
    EXPECT_FALSE(ParseFieldSizes("0/1/1/2", LinkMode::Unbalanced));
    ASSERT_TRUE(ParseFieldSizes("0/2/2/3", LinkMode::Balanced));
    EXPECT_EQ(FieldSizesText(*ParseFieldSizes("0/2/2/3", LinkMode::Balanced)), "0/2/2/3");
    EXPECT_FALSE(ParseFieldSizes("3/1/1/2", LinkMode::Balanced));
    EXPECT_EQ(ParseLinkMode("balanced"), LinkMode::Balanced);
    EXPECT_EQ(ParseLinkMode("unbalanced"), LinkMode::Unbalanced);
    EXPECT_FALSE(ParseLinkMode("Balanced"));
    EXPECT_EQ(LinkModeName(LinkProfile{}.mode), "unbalanced");
}

}  // namespace
}  // namespace tc101
