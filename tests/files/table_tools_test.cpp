#include "files/table_tools.h"

#include <gtest/gtest.h>

namespace tc101 {
namespace {

TEST(TableTools, AutoSizeFitsTheWidestTitleOrCellPlusTwenty) {
    Table table(4, 3);
    table.SetCell(1, 0, "遥测量");
    table.SetCell(1, 2, "a much longer name");
    table.SetCell(2, 0, "单位");
    table.SetCell(2, 1, "kV");
    table.SetCell(3, 9, "outside");
    const auto width = [](const std::string& text) { return static_cast<int>(text.size()) * 7; };
    AutoSizeColumns(table, {1, 2, 7}, width);
    EXPECT_EQ(table.ColWidth(1), 18 * 7 + 20);
    EXPECT_EQ(table.ColWidth(2), 6 * 7 + 20);
    EXPECT_EQ(table.ColWidth(3), Table::kDefaultColWidth);
}

TEST(TableTools, NumberFixedColumnRewritesColumnZero) {
    Table table(3, 4);
    table.SetCell(0, 0, "title");
    table.SetCell(0, 2, "99");
    NumberFixedColumn(table);
    EXPECT_EQ(table.Cell(0, 0), "");
    for (int row = 1; row < 4; ++row) EXPECT_EQ(table.Cell(0, row), std::to_string(row));
}

TEST(TableTools, ClearColumnsEmptiesEveryRowOfTheListedColumnsOnly) {
    Table table(3, 3);
    for (int col = 0; col < 3; ++col)
        for (int row = 0; row < 3; ++row) table.SetCell(col, row, "x");
    ClearColumns(table, {1, 2, 5});
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(table.Cell(0, row), "x");
        EXPECT_EQ(table.Cell(1, row), "");
        EXPECT_EQ(table.Cell(2, row), "");
    }
}

}  // namespace
}  // namespace tc101
