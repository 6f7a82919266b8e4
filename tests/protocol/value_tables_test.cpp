#include "protocol/value_tables.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tc101 {
namespace {

std::vector<std::string> Row(const Table& table, int row) {
    std::vector<std::string> cells;
    for (int col = 0; col < table.ColCount(); ++col) cells.push_back(table.Cell(col, row));
    return cells;
}

std::vector<int> Widths(const Table& table) {
    std::vector<int> widths;
    for (int col = 0; col < table.ColCount(); ++col) widths.push_back(table.ColWidth(col));
    return widths;
}

TEST(ValueTables, StartWithTitlesWidthsAndEmptyRows) {
    const ValueTables tables;
    using Strings = std::vector<std::string>;
    EXPECT_EQ(Row(tables.GrdYC, 0), (Strings{"", "遥测量", "单位", "比例"}));
    EXPECT_EQ(Row(tables.GrdYX, 0), (Strings{"", "遥信量", "0的意义", "1的意义"}));
    EXPECT_EQ(Row(tables.GrdSJ, 0), (Strings{"", "时间", "遥信量", "状态"}));
    EXPECT_EQ(Widths(tables.GrdYC), (std::vector<int>{20, 102, 73, 104}));
    EXPECT_EQ(Widths(tables.GrdYX), (std::vector<int>{20, 101, 72, 67}));
    EXPECT_EQ(Widths(tables.GrdSJ), (std::vector<int>{31, 213, 161, 74}));
    for (const Table* table : {&tables.GrdYC, &tables.GrdYX}) {
        ASSERT_EQ(table->RowCount(), 5);
        for (int row = 1; row <= 4; ++row) EXPECT_EQ(Row(*table, row), (Strings{std::to_string(row), "", "", ""}));
    }
    EXPECT_EQ(tables.GrdSJ.RowCount(), 2);
    EXPECT_EQ(Row(tables.GrdSJ, 1), (Strings{"", "", "", ""}));
    EXPECT_EQ(tables.GrdSJ.Tone(kSjStateCol), ColumnTone::Green);
    EXPECT_EQ(tables.GrdSJ.Tone(kSjNameCol), ColumnTone::Normal);
    EXPECT_EQ(tables.DataRowCount(ValuePage::Yc), 4);
}

TEST(ValueTables, DeviceColumnsAppearInOrderOfFirstSight) {
    ValueTables tables;
    for (std::uint8_t address : {3, 1, 3}) tables.EnsureDeviceColumn(ValuePage::Yc, address);
    EXPECT_EQ(tables.GrdYC.ColCount(), 6);
    EXPECT_EQ(tables.GrdYC.Cell(4, 0), "3#设备");
    EXPECT_EQ(tables.GrdYC.Cell(5, 0), "1#设备");
    EXPECT_EQ(tables.GrdYC.Tone(4), ColumnTone::Green);
    EXPECT_EQ(tables.GrdYC.ColWidth(5), Table::kDefaultColWidth);
    EXPECT_EQ(tables.Slot(ValuePage::Yc, 3).column, 4);
    EXPECT_TRUE(tables.Slot(ValuePage::Yc, 1).present);
    EXPECT_FALSE(tables.Slot(ValuePage::Yx, 1).present);
    EXPECT_EQ(tables.GrdYX.ColCount(), 4);

    tables.WriteValue(ValuePage::Yc, 3, 2, "7.5");
    EXPECT_EQ(tables.GrdYC.Cell(4, 2), "7.5");
}

TEST(ValueTables, WritesAndReadsOutsideTheDataRowsDoNothing) {
    ValueTables tables;
    tables.EnsureDeviceColumn(ValuePage::Yx, 255);
    for (int row : {0, 5, -1, 300}) tables.WriteValue(ValuePage::Yx, 255, row, "x");
    tables.WriteValue(ValuePage::Yx, 9, 1, "no column");
    EXPECT_EQ(tables.GrdYX.Cell(4, 0), "255#设备");
    EXPECT_EQ(tables.GrdYX.RowCount(), 5);
    for (int row = 1; row <= 4; ++row) EXPECT_EQ(tables.GrdYX.Cell(4, row), "");
    // The title row is no definition row.
    EXPECT_EQ(tables.Definition(ValuePage::Yx, kYxNameCol, 0), "");
    EXPECT_EQ(tables.Definition(ValuePage::Yc, kYcRatioCol, 5), "");
    tables.GrdYC.SetCell(kYcRatioCol, 4, "10");
    EXPECT_EQ(tables.Definition(ValuePage::Yc, kYcRatioCol, 4), "10");
}

struct EventCheck {
    int row;
    std::string number, time;
};

TEST(ValueTables, EventsAreNumberedAcrossBatches) {
    ValueTables tables;
    EXPECT_EQ(tables.AppendEvents(3), 1);
    for (const char* time : {"a", "b", "c"}) tables.WriteEvent(time, "n", nullptr);
    EXPECT_EQ(tables.GrdSJ.RowCount(), 4);
    EXPECT_EQ(tables.GrdSJ.CurrentRow(), 3);
    EXPECT_EQ(tables.AppendEvents(2), 4);
    const std::string on = "合";
    tables.WriteEvent("d", "n4", &on);
    tables.WriteEvent("e", "n5", nullptr);
    EXPECT_EQ(tables.GrdSJ.RowCount(), 6);
    const EventCheck expected[] = {{1, "1", "a"}, {2, "2", "b"}, {3, "3", "c"}, {4, "4", "d"}, {5, "5", "e"}};
    for (const auto& e : expected) {
        EXPECT_EQ(tables.GrdSJ.Cell(kSjNumberCol, e.row), e.number);
        EXPECT_EQ(tables.GrdSJ.Cell(kSjTimeCol, e.row), e.time);
    }
    EXPECT_EQ(tables.GrdSJ.Cell(kSjNameCol, 4), "n4");
    EXPECT_EQ(tables.GrdSJ.Cell(kSjStateCol, 4), "合");
    EXPECT_EQ(tables.GrdSJ.CurrentRow(), 5);
}

TEST(ValueTables, AppendingNoEventsChangesNothing) {
    ValueTables tables;
    tables.AppendEvents(0);
    EXPECT_EQ(tables.GrdSJ.RowCount(), 2);
    EXPECT_EQ(tables.GrdSJ.Cell(kSjNumberCol, 1), "");
    tables.AppendEvents(1);
    tables.WriteEvent("t1", "", nullptr);
    tables.AppendEvents(0);
    EXPECT_EQ(tables.GrdSJ.RowCount(), 2);
    EXPECT_EQ(tables.AppendEvents(1), 2);
    tables.WriteEvent("t2", "", nullptr);
    EXPECT_EQ(tables.GrdSJ.Cell(kSjNumberCol, 2), "2");
    EXPECT_EQ(tables.GrdSJ.Cell(kSjTimeCol, 2), "t2");
}

TEST(ValueTables, ClearingTheEventPageRestartsNumberingAndKeepsTitles) {
    ValueTables tables;
    tables.AppendEvents(2);
    tables.WriteEvent("a", "n", nullptr);
    tables.WriteEvent("b", "n", nullptr);
    tables.ClearValueTable(2);
    EXPECT_EQ(tables.GrdSJ.RowCount(), 2);
    EXPECT_EQ(Row(tables.GrdSJ, 0), (std::vector<std::string>{"", "时间", "遥信量", "状态"}));
    EXPECT_EQ(Row(tables.GrdSJ, 1), (std::vector<std::string>{"1", "", "", ""}));  // the number stays
    EXPECT_EQ(tables.AppendEvents(1), 1);
    tables.WriteEvent("c", "n", nullptr);
    EXPECT_EQ(tables.GrdSJ.Cell(kSjNumberCol, 1), "1");
    EXPECT_EQ(tables.GrdSJ.Cell(kSjTimeCol, 1), "c");
}

TEST(ValueTables, ClearingAValuePageDropsItsDeviceColumnsOnly) {
    ValueTables tables;
    tables.EnsureDeviceColumn(ValuePage::Yc, 3);
    tables.EnsureDeviceColumn(ValuePage::Yc, 1);
    tables.EnsureDeviceColumn(ValuePage::Yx, 1);
    tables.WriteValue(ValuePage::Yc, 1, 1, "old");
    tables.ClearValueTable(0);
    EXPECT_EQ(tables.GrdYC.ColCount(), 4);
    EXPECT_FALSE(tables.Slot(ValuePage::Yc, 3).present);
    EXPECT_TRUE(tables.Slot(ValuePage::Yx, 1).present);
    tables.EnsureDeviceColumn(ValuePage::Yc, 1);
    EXPECT_EQ(tables.Slot(ValuePage::Yc, 1).column, 4);
    EXPECT_EQ(tables.GrdYC.Cell(4, 0), "1#设备");
    EXPECT_EQ(tables.GrdYC.Cell(4, 1), "");
    tables.ClearValueTable(7);  // no such page
    EXPECT_EQ(tables.GrdYC.ColCount(), 5);
}

TEST(ClearItemVisible, ShowsOnlyWhenThereIsSomethingToClear) {
    ValueTables tables;
    EXPECT_FALSE(ClearItemVisible(tables, 0));
    EXPECT_FALSE(ClearItemVisible(tables, 1));
    EXPECT_FALSE(ClearItemVisible(tables, 2));
    EXPECT_FALSE(ClearItemVisible(tables, 3));
    tables.EnsureDeviceColumn(ValuePage::Yx, 1);
    EXPECT_FALSE(ClearItemVisible(tables, 0));
    EXPECT_TRUE(ClearItemVisible(tables, 1));
    // The menu trims the time cell; appending events does not.
    tables.GrdSJ.SetCell(kSjTimeCol, 1, " ");
    EXPECT_FALSE(ClearItemVisible(tables, 2));
    EXPECT_EQ(tables.AppendEvents(1), 2);
    EXPECT_TRUE(ClearItemVisible(tables, 2));
}

}  // namespace
}  // namespace tc101
