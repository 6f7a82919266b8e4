#include "files/ratio_text.h"

#include <gtest/gtest.h>

namespace tc101 {
namespace {

TEST(RatioText, NumbersInShortestForm) {
    const std::pair<const char*, const char*> cases[] = {
        {"2.50", "2.5"}, {"0.50", "0.5"}, {"10", "10"}, {" 3 ", "3"}, {"-0.1", "-0.1"},
        {"+4", "4"},     {"1e3", "1000"}, {".5", "0.5"}, {"0.1", "0.1"}, {"-0", "0"},
        {"", ""},        {"  ", "  "},  // blank stays as typed
    };
    for (const auto& [typed, shown] : cases) {
        const auto text = RatioCellText(typed);
        ASSERT_TRUE(text.has_value()) << typed;
        EXPECT_EQ(*text, shown) << typed;
    }
}

TEST(RatioText, WordsAreNotNumbers) {
    for (const char* typed : {"abc", "2.5x", "1,5", "--1", "+", "+-1", "inf", "nan", "1e999", "0x10"})
        EXPECT_FALSE(RatioCellText(typed).has_value()) << typed;
}

}  // namespace
}  // namespace tc101
