#include "protocol/table.h"

#include <gtest/gtest.h>

namespace tc101 {
namespace {

TEST(Table, OutsideReadsAreEmptyAndOutsideWritesAreDropped) {
    Table table(4, 2);
    table.SetCell(1, 1, "a");
    EXPECT_EQ(table.Cell(1, 1), "a");
    for (auto [col, row] : {std::pair{-1, 1}, {4, 1}, {1, -1}, {1, 2}}) {
        table.SetCell(col, row, "x");
        EXPECT_EQ(table.Cell(col, row), "");
    }
}

TEST(Table, ResizingKeepsCellsAndNewColumnsGetDefaults) {
    Table table(2, 2);
    table.SetCell(1, 1, "kept");
    table.SetColWidth(1, 102);
    table.SetColCount(5);
    table.SetRowCount(4);
    EXPECT_EQ(table.Cell(1, 1), "kept");
    EXPECT_EQ(table.ColWidth(1), 102);
    EXPECT_EQ(table.ColWidth(4), Table::kDefaultColWidth);
    EXPECT_EQ(table.Tone(4), ColumnTone::Normal);
    table.SetRowCount(1);
    table.SetRowCount(2);
    EXPECT_EQ(table.Cell(1, 1), "");
}

struct Recorder : TableObserver {
    std::vector<std::string> calls;
    void BeforeShapeChange(int cols, int rows) override {
        calls.push_back("before " + std::to_string(cols) + "x" + std::to_string(rows));
    }
    void AfterShapeChange() override { calls.push_back("after"); }
    void CellChanged(int col, int row) override {
        calls.push_back("cell " + std::to_string(col) + "," + std::to_string(row));
    }
    void ColumnLookChanged(int col) override { calls.push_back("look " + std::to_string(col)); }
    void CurrentRowChanged(int row) override { calls.push_back("current " + std::to_string(row)); }
};

TEST(Table, ObserverHearsEveryChangeOnceAndNoOpsNotAtAll) {
    Table table(2, 2);
    Recorder recorder;
    table.SetObserver(&recorder);
    table.SetRowCount(3);
    table.SetRowCount(3);
    table.SetCell(1, 2, "v");
    table.SetCell(1, 2, "v");
    table.SetTone(1, ColumnTone::Green);
    table.SetColWidth(0, 20);
    table.SetCurrentRow(2);
    table.SetCell(9, 9, "dropped");
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"before 2x3", "after", "cell 1,2", "look 1", "look 0",
                                                         "current 2"}));
}

}  // namespace
}  // namespace tc101
