#include <QAbstractItemModelTester>
#include <QColor>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include "widgets/table_model.h"

namespace tc101 {
namespace {

Table MakeTable() {
    Table table(4, 3);
    table.SetCell(1, 0, "遥测量");
    table.SetCell(0, 1, "1");
    table.SetCell(0, 2, "2");
    table.SetCell(1, 1, "电压");
    table.SetCell(3, 2, "0.5");
    return table;
}

TEST(TableModelTest, TitlesAndNumbersAreHeadersAndCellsAreShifted) {
    Table table = MakeTable();
    TableModel model(table);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.columnCount(), 3);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), QString::fromUtf8("遥测量"));
    EXPECT_EQ(model.headerData(1, Qt::Vertical).toString(), QStringLiteral("2"));
    EXPECT_EQ(model.index(0, 0).data().toString(), QString::fromUtf8("电压"));
    EXPECT_EQ(model.index(1, 2).data().toString(), QStringLiteral("0.5"));
    EXPECT_FALSE(model.index(0, 0).data(Qt::ForegroundRole).isValid());
}

TEST(TableModelTest, InvalidOrNotTopicalValuesAreGreyWithTheirFlagsAsTooltip) {
    Table table = MakeTable();
    table.SetTone(3, ColumnTone::Green);
    TableModel model(table);
    QSignalSpy changed(&model, &TableModel::dataChanged);
    const QColor green(0, 128, 0);
    const QColor grey(150, 150, 150);
    struct Case {
        std::uint8_t flags;
        QColor colour;
        const char* tip;
    };
    const Case cases[] = {
        {0x00, green, ""},
        {0x80, grey, "IV 无效"},
        {0x40, grey, "NT 非当前值"},
        {0xC1, grey, "IV 无效, NT 非当前值, OV 溢出"},
        {0x30, green, "SB 被取代, BL 被闭锁"},  // flagged but not greyed
    };
    for (const Case& c : cases) {
        table.SetQuality(3, 2, c.flags);
        const QModelIndex cell = model.index(1, 2);
        EXPECT_EQ(cell.data(Qt::ForegroundRole).value<QColor>(), c.colour) << int(c.flags);
        EXPECT_EQ(cell.data(Qt::ToolTipRole).toString(), QString::fromUtf8(c.tip));
    }
    EXPECT_GE(changed.count(), 4);
}

TEST(TableModelTest, ShapeChangesKeepTheModelConsistent) {
    Table table = MakeTable();
    TableModel model(table);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy inserted(&model, &TableModel::columnsInserted);
    QSignalSpy removedRows(&model, &TableModel::rowsRemoved);

    // A device column appears at the right, green.
    table.SetColCount(5);
    table.SetTone(4, ColumnTone::Green);
    table.SetCell(4, 0, "1#设备");
    table.SetCell(4, 1, "12.5");
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(model.columnCount(), 4);
    EXPECT_EQ(model.index(0, 3).data(Qt::ForegroundRole).value<QColor>(), QColor(0, 128, 0));
    EXPECT_EQ(model.headerData(3, Qt::Horizontal).toString(), QString::fromUtf8("1#设备"));

    // Rows grow and shrink, down to the title row alone and to nothing.
    table.SetRowCount(10);
    EXPECT_EQ(model.rowCount(), 9);
    table.SetRowCount(1);
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(removedRows.count(), 1);
    table.SetRowCount(0);
    table.SetRowCount(3);
    EXPECT_EQ(model.rowCount(), 2);
    table.SetColCount(4);
    EXPECT_EQ(model.columnCount(), 3);
    table.SetColCount(1);
    table.SetColCount(0);
    EXPECT_EQ(model.columnCount(), 0);
    table.SetColCount(4);
    EXPECT_EQ(model.index(1, 2).data().toString(), QString());
}

TEST(TableModelTest, ReportsCellHeaderAndLookChanges) {
    Table table = MakeTable();
    TableModel model(table);
    QSignalSpy data(&model, &TableModel::dataChanged);
    QSignalSpy headers(&model, &TableModel::headerDataChanged);
    QSignalSpy look(&model, &TableModel::ColumnLookUpdated);
    QSignalSpy current(&model, &TableModel::CurrentRowMoved);

    table.SetCell(2, 2, "kV");
    ASSERT_EQ(data.count(), 1);
    EXPECT_EQ(data[0][0].value<QModelIndex>(), model.index(1, 1));
    table.SetCell(2, 0, "单位");
    table.SetCell(0, 1, "7");
    ASSERT_EQ(headers.count(), 2);
    EXPECT_EQ(headers[0][0].value<Qt::Orientation>(), Qt::Horizontal);
    EXPECT_EQ(headers[1][0].value<Qt::Orientation>(), Qt::Vertical);
    table.SetColWidth(2, 90);
    ASSERT_EQ(look.count(), 1);
    EXPECT_EQ(look[0][0].toInt(), 2);
    table.SetCurrentRow(2);
    ASSERT_EQ(current.count(), 1);
    EXPECT_EQ(current[0][0].toInt(), 2);
}

TEST(TableModelTest, EditsOnlyTheColumnsAllowed) {
    Table table = MakeTable();
    TableModel model(table);
    model.SetEditableColumns({2});
    EXPECT_FALSE(model.flags(model.index(0, 0)).testFlag(Qt::ItemIsEditable));
    EXPECT_TRUE(model.flags(model.index(0, 1)).testFlag(Qt::ItemIsEditable));
    EXPECT_FALSE(model.setData(model.index(0, 0), QStringLiteral("x")));
    EXPECT_EQ(table.Cell(1, 1), "电压");
    EXPECT_TRUE(model.setData(model.index(0, 1), QString::fromUtf8("千伏")));
    EXPECT_EQ(table.Cell(2, 1), "千伏");
}

TEST(TableModelTest, LeavesTheTableWhenDestroyed) {
    Table table = MakeTable();
    {
        TableModel model(table);
        EXPECT_NE(table.Observer(), nullptr);
    }
    EXPECT_EQ(table.Observer(), nullptr);
    table.SetCell(1, 1, "still fine");
}

}  // namespace
}  // namespace tc101
