#include "protocol/frame.h"
#include "protocol/hex_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace tc101 {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(FrameChecksum, SumsTheInclusiveRangeModulo256) {
    const Bytes buffer{0x10, 0xFF, 0x02, 0x68, 0x80, 0x80};
    struct Case {
        int first, last;
        std::uint8_t sum;
    } cases[] = {{1, 2, 0x01}, {4, 5, 0x00}, {0, 0, 0x10}, {3, 2, 0x00}, {0, -1, 0x00}, {0, 5, 0x79}};
    for (const auto& c : cases) EXPECT_EQ(FrameChecksum(buffer, c.first, c.last), c.sum) << c.first << ".." << c.last;
}

TEST(FrameChecksum, RangeOutsideTheBufferIsRefusedNotRead) {
    const Bytes buffer{1, 2, 3};
    EXPECT_THROW(FrameChecksum(buffer, 0, 3), std::out_of_range);
    EXPECT_THROW(FrameChecksum(buffer, -1, 1), std::out_of_range);
    EXPECT_THROW(BytesToHexText(buffer, 2, 3), std::out_of_range);
}

TEST(BuildFixedFrame, AppendsChecksumAndEnd) {
    EXPECT_EQ(BytesToHexText(BuildFixedFrame(0x49, 0x01)), "10 49 01 4A 16");
    EXPECT_EQ(BuildFixedFrame(0x5A, 0xFF)[3], 0x59);
    EXPECT_EQ(BuildFixedFrame(0x5A, 0xFF)[4], kFrameEnd);
}

TEST(BytesToHexText, UppercasePairsSeparatedBySingleSpaces) {
    const Bytes buffer{0xE5, 0x0a, 0xbc, 0x00};
    EXPECT_EQ(BytesToHexText(buffer, 0, 0), "E5");
    EXPECT_EQ(BytesToHexText(buffer, 1, 3), "0A BC 00");
    EXPECT_EQ(BytesToHexText(buffer, 2, 1), "");
    EXPECT_EQ(BytesToHexText(Bytes{}), "");
}

TEST(HexTextToBytes, CountIsLengthPlusOneOverThree) {
    struct Case {
        const char* text;
        Bytes bytes;
    } cases[] = {
        {"68 0C 0C 68", {0x68, 0x0C, 0x0C, 0x68}},
        {"680C", {0x68}},  // (4 + 1) / 3 = 1
        {"6", {}},
        {"", {}},
        {"10,49;01", {0x10, 0x49, 0x01}},  // the separator is never looked at
        {"ab cD", {0xAB, 0xCD}},
        {"FF 0", {0xFF}},
    };
    for (const auto& c : cases) EXPECT_EQ(HexTextToBytes(c.text), c.bytes) << c.text;
}

TEST(HexTextToBytes, BadPairFailsWithTheConversionMessage) {
    for (const auto& [text, pair] : {std::pair{"10 4G 01", "4G"}, {" 10", " 1"}, {"-1 00", "-1"}}) {
        try {
            HexTextToBytes(text);
            ADD_FAILURE() << text;
        } catch (const ConvertError& error) {
            EXPECT_EQ(std::string(error.what()), "'" + std::string(pair) + "' is not a valid integer value");
        }
    }
}

TEST(NormalizeHexText, KeepsDigitPairsFromAnyText) {
    struct Case {
        const char* text;
        const char* normal;
    } cases[] = {
        {"  68 0c 0C 68 ", "68 0c 0C 68"},
        {"", ""},
        {"G", ""},
        {"10,49,01,4A,16", "10 49 01 4A 16"},
        {"0x10", "10"},
        {"12345", "12 34"},
        {"A BC", "BC"},
        {"\t\r\n10 49\r\n", "10 49"},
        {"1 2 34", "34"},
        {"汉字E5汉", "E5"},
    };
    for (const auto& c : cases) EXPECT_EQ(NormalizeHexText(c.text), c.normal) << c.text;
}

TEST(NormalizeHexText, PaneRoundTripNeverFailsToConvert) {
    const std::string text = ToUpperAscii(NormalizeHexText("x 68 0c,0C;68 zz 1"));
    EXPECT_EQ(text, "68 0C 0C 68");
    EXPECT_EQ(HexTextToBytes(text).size(), 4u);
}

TEST(TidyHexText, TidiesPairsAndRefusesWhatWouldBeGuessed) {
    struct Case {
        std::string text;
        const char* tidy;   // nullptr: refused
        std::string quote;  // refused: the box or line names this
    } cases[] = {
        {"10 49 01 4A 16", "10 49 01 4A 16", ""},
        {"", "", ""},
        {"1049014A16", "10 49 01 4A 16", ""},
        {" 10,49;01:4a-16\r\n", "10 49 01 4A 16", ""},
        {"680C", "68 0C", ""},
        {"1049014A1", nullptr, "报文“1049014A1”的十六进制数字不成对"},
        {"10 4 01", nullptr, "“4”不成对"},
        {"0x10", nullptr, "里有“x”"},
        {"10 4G 01 4A 16", nullptr, "报文“10 4G 01 4A 16”里有“G”"},
        {"10，49", nullptr, "里有“，”"},
        {std::string(100, '1') + "G", nullptr, "报文“" + std::string(64, '1') + "…”里有“G”"},
    };
    for (const Case& c : cases) {
        if (c.tidy) {
            EXPECT_EQ(TidyHexText(c.text), c.tidy) << c.text;
            continue;
        }
        try {
            TidyHexText(c.text);
            ADD_FAILURE() << "accepted " << c.text;
        } catch (const HexTextError& error) {
            EXPECT_NE(std::string(error.what()).find(c.quote), std::string::npos) << error.what();
        }
    }
}

}  // namespace
}  // namespace tc101
