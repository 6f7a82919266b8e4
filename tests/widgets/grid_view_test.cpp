#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include "widgets/cell_delegate.h"
#include "widgets/grid_view.h"
#include "widgets/table_model.h"

namespace tc101 {
namespace {

TEST(CellFillColorTest, SelectedBlueGreyOddWhiteEvenPaleYellow) {
    struct Case {
        int row;
        bool selected;
        QColor expected;
    };
    const Case cases[] = {
        {1, false, QColor(255, 255, 255)}, {2, false, QColor(253, 254, 207)}, {3, false, QColor(255, 255, 255)},
        {2, true, QColor(128, 128, 192)},  {1, true, QColor(128, 128, 192)},
    };
    for (const auto& c : cases) EXPECT_EQ(CellFillColor(c.row, c.selected), c.expected) << c.row;
}

Table SampleTable() {
    Table table(3, 4);
    table.SetColWidth(0, 20);
    table.SetColWidth(1, 102);
    table.SetColWidth(2, 73);
    for (int row = 1; row < 4; ++row) table.SetCell(1, row, "x");
    return table;
}

TEST(GridViewTest, TakesColumnWidthsFromTheTableAndGivesDragsBack) {
    Table table = SampleTable();
    GridView view(table);
    EXPECT_EQ(view.verticalHeader()->width(), 20);
    EXPECT_EQ(view.columnWidth(0), 102);
    EXPECT_EQ(view.columnWidth(1), 73);
    table.SetColWidth(2, 150);
    EXPECT_EQ(view.columnWidth(1), 150);
    table.SetColCount(4);
    EXPECT_EQ(view.columnWidth(2), Table::kDefaultColWidth);
    view.horizontalHeader()->resizeSection(0, 120);
    EXPECT_EQ(table.ColWidth(1), 120);
}

TEST(GridViewTest, FollowsTheTablesCurrentRowBothWays) {
    Table table = SampleTable();
    GridView view(table);
    table.SetCurrentRow(3);
    EXPECT_EQ(view.currentIndex().row(), 2);
    EXPECT_TRUE(view.selectionModel()->isRowSelected(2, {}));
    view.setCurrentIndex(view.model()->index(0, 0));
    EXPECT_EQ(table.CurrentRow(), 1);
}

TEST(GridViewTest, DrawsRowsWhiteAndYellowAndTheSelectionBlueGrey) {
    Table table = SampleTable();
    GridView view(table);
    view.resize(300, 200);
    view.show();
    table.SetCurrentRow(3);
    const QImage image = view.viewport()->grab().toImage();
    auto pixelOfRow = [&](int modelRow) {
        const QRect rect = view.visualRect(view.model()->index(modelRow, 1));
        return QColor(image.pixel(rect.right() - 3, rect.bottom() - 2));
    };
    EXPECT_EQ(pixelOfRow(0), QColor(255, 255, 255));
    EXPECT_EQ(pixelOfRow(1), QColor(253, 254, 207));
    EXPECT_EQ(pixelOfRow(2), QColor(128, 128, 192));
}

TEST(GridViewTest, EditorHonoursEditableColumnsAndLengthLimit) {
    Table table = SampleTable();
    GridView view(table);
    view.SetWholeRowSelection(false);
    view.SetEditableColumns({2});
    view.SetMaxLength(2, 2);
    view.show();
    view.setCurrentIndex(view.model()->index(0, 1));
    QTest::keyClicks(&view, QStringLiteral("5"));
    auto* editor = view.findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, QStringLiteral("AB"));
    EXPECT_EQ(editor->text(), QStringLiteral("5A"));
    QTest::keyClick(editor, Qt::Key_Return);  // commits through a queued call
    EXPECT_TRUE(QTest::qWaitFor([&] { return table.Cell(2, 1) == "5A"; }));

    view.setCurrentIndex(view.model()->index(0, 0));
    QTest::keyClicks(&view, QStringLiteral("z"));
    EXPECT_EQ(table.Cell(1, 1), "x");
}

}  // namespace
}  // namespace tc101
