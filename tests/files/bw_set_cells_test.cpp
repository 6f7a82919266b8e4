#include <gtest/gtest.h>

#include "files/bw_set_cells.h"

namespace tc101 {
namespace {

struct Conversion {
    const char* in;
    const char* out;
};

TEST(BwSetCellsTest, HexToDecimalAndBack) {
    const Conversion toDecimal[] = {{"49", "73"}, {"5a", "90"}, {"00", "0"}, {"12C", "300"}, {"", "0"}, {"zz", "0"}};
    for (const auto& c : toDecimal) EXPECT_EQ(HexCellToDecimal(c.in), c.out) << c.in;
    const Conversion toHex[] = {{"73", "49"}, {"0", "00"}, {"20", "14"}, {"300", "2C"}, {"", "00"}, {"-1", "00"},
                                {"5A", "00"}};
    for (const auto& c : toHex) EXPECT_EQ(DecimalCellToHex(c.in), c.out) << c.in;
}

TEST(BwSetCellsTest, NormalisesInTheCurrentDisplay) {
    EXPECT_EQ(NormalizedCell("5a", ValueDisplay::Hex), "5A");
    EXPECT_EQ(NormalizedCell("1", ValueDisplay::Hex), "01");
    EXPECT_EQ(NormalizedCell("x", ValueDisplay::Hex), "00");
    EXPECT_EQ(NormalizedCell("007", ValueDisplay::Decimal), "7");
    EXPECT_EQ(NormalizedCell("7F", ValueDisplay::Decimal), "0");
    EXPECT_EQ(CellValue("300", ValueDisplay::Decimal), 300u);
}

TEST(BwSetCellsTest, StoredListHasAnEmptyTitleItemAndHexValues) {
    EXPECT_EQ(StoredValueList({0x49, 0x5A, 0x5B}), ",49,5A,5B");
    EXPECT_EQ(StoredValueList({300, 1}), ",12C,01");
    EXPECT_EQ(StoredListRows(",53,64,01"), (std::vector<std::string>{"53", "64", "01"}));
    EXPECT_EQ(StoredListRows(",\"4B\" 5A"), (std::vector<std::string>{"4B", "5A"}));
    EXPECT_EQ(StoredListRows(""), std::vector<std::string>{});
}

}  // namespace
}  // namespace tc101
