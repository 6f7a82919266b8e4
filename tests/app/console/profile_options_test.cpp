// The console profile options over a stored profile.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/console/profile_options.h"

namespace tc101::console {
namespace {

LinkProfile TakeProfile(std::vector<const char*> words, const LinkProfile& stored = {}) {
    std::vector<char*> argv;
    for (const char* w : words) argv.push_back(const_cast<char*>(w));
    Args args(argv);
    LinkProfile profile = TakeProfileOptions(args, stored);
    EXPECT_TRUE(args.Rest().empty());
    return profile;
}

TEST(ProfileOptions, GivenOptionsReplaceTheStoredOnes) {
    LinkProfile stored;
    stored.sizes = {2, 1, 1, 2};
    stored.commonAddress = 9;
    EXPECT_EQ(TakeProfile({}, stored), stored);

    const LinkProfile changed = TakeProfile({"--profile", "2/2/2/3", "--decoding=standard", "--originator", "5",
                                      "--common-address", "65535", "--yx-base", "0x100", "--yc-base", "16385"},
                                     stored);
    EXPECT_EQ(changed.sizes, (FieldSizes{2, 2, 2, 3}));
    EXPECT_EQ(changed.decoding, ObjectDecoding::Standard);
    EXPECT_EQ(changed.originator, 5);
    EXPECT_EQ(changed.commonAddress, 65535u);
    EXPECT_EQ(changed.yxBase, 0x100u);
    EXPECT_EQ(changed.ycBase, 0x4001u);
}

TEST(ProfileOptions, BalancedModeAndItsSettings) {
    const LinkProfile balanced = TakeProfile({"--mode", "balanced", "--profile", "0/2/2/3", "--other-address", "9", "--e5-ack",
                                       "--test-period", "0", "--repeat-timeout", "250", "--retries", "5"});
    EXPECT_EQ(balanced.mode, LinkMode::Balanced);
    EXPECT_EQ(balanced.sizes, (FieldSizes{0, 2, 2, 3}));
    EXPECT_EQ(balanced.balanced, (BalancedSettings{9, true, 0, 250, 5}));
    EXPECT_EQ(TakeProfile({}).balanced, BalancedSettings{});
}

TEST(ProfileOptions, BadValuesAreUsageErrors) {
    LinkProfile wideCommon;
    wideCommon.sizes.commonAddress = 2;
    wideCommon.commonAddress = 300;
    LinkProfile noLink;
    noLink.mode = LinkMode::Balanced;
    noLink.sizes.linkAddress = 0;
    struct Case {
        std::vector<const char*> words;
        LinkProfile stored;
    };
    const std::vector<Case> cases = {
        {{"--profile", "0/1/1/2"}, {}},   {{"--profile", "3/1/1/2"}, {}},     {{"--profile", "1/3/1/2"}, {}},
        {{"--profile", "1/1/3/2"}, {}},   {{"--profile", "1/1/1/4"}, {}},     {{"--profile", "1/1/1/0"}, {}},
        {{"--profile", "1/1/1"}, {}},     {{"--profile", "1/1/1/2/"}, {}},    {{"--profile", "2-2-2-3"}, {}},
        {{"--profile", ""}, {}},          {{"--decoding", "iec"}, {}},        {{"--common-address", "256"}, {}},
        {{"--common-address", "-1"}, {}}, {{"--originator", "256"}, {}},      {{"--yx-base", "0x1000000"}, {}},
        {{"--yc-base", "x"}, {}},         {{"--yc-base", "-1"}, {}},          {{"--profile"}, {}},
        // A stored common address the given sizes cannot carry.
        {{"--profile", "1/1/1/2"}, wideCommon},
        {{"--mode", "half"}, {}},         {{"--mode", "unbalanced", "--profile", "0/1/1/2"}, {}},
        {{"--other-address", "256"}, {}}, {{"--retries", "-1"}, {}},          {{"--repeat-timeout", "0"}, {}},
        // A stored link address of no octets with the mode taken back.
        {{"--mode", "unbalanced"}, noLink},
    };
    for (const Case& c : cases) {
        std::string text;
        for (const char* w : c.words) text += std::string(w) + ' ';
        EXPECT_THROW(TakeProfile(c.words, c.stored), UsageError) << text;
    }
}

}  // namespace
}  // namespace tc101::console
