#include "protocol/measured_value.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace tc101 {
namespace {

TEST(MeasuredRaw, LittleEndianTwosComplementOverItsOctets) {
    struct Case {
        std::vector<std::uint8_t> octets;
        std::int64_t raw;
    } cases[] = {
        {{0x7F}, 127},
        {{0x80}, -128},
        {{0xFF}, -1},
        {{0xE8, 0x03}, 1000},
        {{0x18, 0xFC}, -1000},
        {{0xFF, 0x7F}, 32767},
        {{0x00, 0x80}, -32768},
        {{0x01, 0x02, 0x03}, 0x030201},
        {{0xFF, 0xFF, 0xFF}, -1},
        {{0x00, 0x00, 0x80}, -8388608},
        {{0xFF, 0xFF, 0xFF, 0x7F}, 2147483647},
        {{0x00, 0x00, 0x00, 0x80}, -2147483648LL},
    };
    for (const auto& c : cases) EXPECT_EQ(MeasuredRaw(c.octets), c.raw) << c.raw;
}

TEST(ParseRatio, ReadsWholeDecimalNumbersOnly) {
    struct Case {
        const char* text;
        std::optional<double> ratio;
    } cases[] = {
        {"10", 10.0},       {" 2.5 ", 2.5},   {"+4", 4.0},       {"-3", -3.0},   {"1e3", 1000.0},
        {".5", 0.5},        {"1.", 1.0},      {"", std::nullopt}, {"  ", std::nullopt},
        {"abc", std::nullopt}, {"1,5", std::nullopt}, {"0x10", std::nullopt}, {"2 kV", std::nullopt},
        {"+-1", std::nullopt}, {"1e", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseRatio(c.text), c.ratio) << '"' << c.text << '"';
}

TEST(MeasuredValueText, ScalesRoundsHalfToEvenAndPrintsShortest) {
    struct Case {
        std::int64_t raw;
        const char* ratio;
        const char* text;
    } cases[] = {
        {-1000, "1", "-1000"},
        {-1000, "1000", "-1"},
        {-1000, "3", "-333.333"},
        {5, "2", "2.5"},
        {5, "2000", "0.002"},  // 2.5 thousandths go to the even neighbour
        {7, "2000", "0.004"},  // and 3.5 too
        {1234, "10", "123.4"},
        {2, "3", "0.667"},
        {1, "-4", "-0.25"},
        {-1, "4000", "0"},  // -0.25 thousandths: never "-0"
        {0, "7", "0"},
        {1, "1e400", "0"},
        {2147483647, "0.001", "2147483647000"},
        // Ratios that are no number, 0, or give no finite quotient: unscaled.
        {5, "", "5"},
        {5, "abc", "5"},
        {5, "0", "5"},
        {0, "0", "0"},
        {-5, " 0.0 ", "-5"},
        {5, "1e-310", "5"},
        {5, "nan", "5"},
    };
    for (const auto& c : cases) EXPECT_EQ(MeasuredValueText(c.raw, c.ratio), c.text) << c.raw << " / " << c.ratio;
}

TEST(MeasuredValueText, HugeQuotientsStillPrintAsDecimalsWithFewFractionDigits) {
    const std::string text = MeasuredValueText(1, "1e-300");
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.find_first_not_of("0123456789"), std::string::npos) << text;
    EXPECT_GT(text.size(), 290u);
}

}  // namespace
}  // namespace tc101
