#include <gtest/gtest.h>

#include "files/bw_set_keys.h"
#include "protocol/hex_text.h"
#include "protocol/requests.h"

namespace tc101 {
namespace {

std::string Hex(std::span<const std::uint8_t> bytes) { return BytesToHexText(bytes); }

InterrogationCells DefaultCells() {
    InterrogationCells cells{};
    for (size_t i = 0; i < cells.size(); ++i) cells[i] = kInterrogationStoredDefaults[i];
    return cells;
}

struct ShortCase {
    const char* cell;
    std::int64_t address;
    const char* frame;
};

TEST(ShortRequestTest, BuildsFixedFrames) {
    const ShortCase cases[] = {
        {"49", 1, "10 49 01 4A 16"},  // link status with the stored defaults
        {"5A", 1, "10 5A 01 5B 16"},
        {"5B", 1, "10 5B 01 5C 16"},
        {"5b", 3, "10 5B 03 5E 16"},  // either case
        {"", 1, "10 00 01 01 16"},    // empty cell: control 0
        {"0x5A", 1, "10 00 01 01 16"},  // a prefix is not a hex number
        {"-1", 1, "10 00 01 01 16"},
        {" 5A", 1, "10 00 01 01 16"},
        {"15A", 1, "10 5A 01 5B 16"},   // low 8 bits
        {"49", 257, "10 49 01 4A 16"},  // address modulo 256
        {"49", 256, "10 49 00 49 16"},
        {"FF", 255, "10 FF FF FE 16"},  // checksum wraps
        {"123456789", 1, "10 00 01 01 16"},  // beyond 32 bits: not a number
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Hex(BuildShortRequest(c.cell, c.address)), c.frame) << '"' << c.cell << "\" @" << c.address;
    }
}

TEST(InterrogationTest, DefaultsGiveTheStationInterrogation) {
    EXPECT_EQ(Hex(BuildInterrogation(DefaultCells(), 1)), "68 09 09 68 53 01 64 01 06 01 00 00 14 D4 16");
    EXPECT_EQ(Hex(BuildInterrogation(DefaultCells(), 300)), "68 09 09 68 53 2C 64 01 06 2C 00 00 14 2A 16");
}

TEST(InterrogationTest, GroupQualifierChangesTheEnd) {
    InterrogationCells cells = DefaultCells();
    cells[6] = "15";
    EXPECT_EQ(Hex(BuildInterrogation(cells, 1)), "68 09 09 68 53 01 64 01 06 01 00 00 15 D5 16");
}

TEST(InterrogationTest, CellsThatAreNotHexFallBackPerRowOrToZero) {
    InterrogationCells cells{"", "x", " ", "+6", "", "", "g"};
    EXPECT_EQ(Hex(BuildInterrogation(cells, 1)), "68 09 09 68 53 01 64 01 06 01 00 00 14 D4 16");
    EXPECT_EQ(Hex(BuildInterrogation(cells, 1, CellFallback::Zero)), "68 09 09 68 00 01 00 00 00 01 00 00 00 02 16");
}

TEST(ParseHexCellTest, AcceptsOnlyHexDigits) {
    EXPECT_EQ(ParseHexCell("5a"), 0x5Au);
    EXPECT_EQ(ParseHexCell("12C"), 0x12Cu);
    EXPECT_EQ(ParseHexCell("FFFFFFFF"), 0xFFFFFFFFu);
    EXPECT_EQ(ParseHexCell("100000000"), std::nullopt);
    EXPECT_EQ(ParseHexCell(""), std::nullopt);
    EXPECT_EQ(ParseHexCell("5 "), std::nullopt);
    EXPECT_EQ(ParseHexCell("$5"), std::nullopt);
}

}  // namespace
}  // namespace tc101
