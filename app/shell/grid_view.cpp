#include "app/shell/grid_view.h"

#include <QHeaderView>
#include <QItemSelectionModel>

#include "app/shell/cell_delegate.h"
#include "app/shell/table_model.h"

namespace tc101 {

namespace {
// Rows a little taller than the text, like the grid the tool was drawn with.
constexpr int kRowPadding = 8;
}  // namespace

GridView::GridView(Table& table, QWidget* parent)
    : QTableView(parent), model_(new TableModel(table, this)), delegate_(new CellDelegate(this)) {
    setModel(model_);
    setItemDelegate(delegate_);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    verticalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + kRowPadding);
    // Below the last row the number column shows the grid's background, not a grey band.
    verticalHeader()->setStyleSheet(QStringLiteral("QHeaderView { background-color: palette(base); }"));
    SetWholeRowSelection(true);
    SetEditableColumns({});

    connect(model_, &TableModel::ColumnLookUpdated, this, [this](int col) {
        ApplyColumnWidth(col);
        viewport()->update();
    });
    connect(model_, &TableModel::columnsInserted, this, [this] { ApplyColumnWidths(); });
    connect(model_, &TableModel::modelReset, this, [this] { ApplyColumnWidths(); });
    connect(model_, &TableModel::CurrentRowMoved, this, [this](int row) { FollowCurrentRow(row); });
    // A width the user drags stays with the table, so the next fit or save sees it.
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int section, int, int newSize) {
        model_->Source().SetColWidth(TableModel::TableColumn(section), newSize);
    });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) model_->Source().SetCurrentRow(TableModel::TableRow(current.row()));
            });
    ApplyColumnWidths();
    FollowCurrentRow(table.CurrentRow());
}

void GridView::SetWholeRowSelection(bool wholeRows) {
    setSelectionBehavior(wholeRows ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void GridView::SetEditableColumns(std::set<int> tableColumns) {
    const bool editable = !tableColumns.empty();
    model_->SetEditableColumns(std::move(tableColumns));
    setEditTriggers(editable ? QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                                   QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked
                             : QAbstractItemView::NoEditTriggers);
}

void GridView::SetLeftAligned(bool leftAligned) {
    delegate_->SetLeftAligned(leftAligned);
    viewport()->update();
}

void GridView::SetMaxLength(int tableColumn, int length) { delegate_->SetMaxLength(tableColumn, length); }

void GridView::CommitEdit() {
    if (state() != QAbstractItemView::EditingState) return;
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void GridView::ApplyColumnWidths() {
    const Table& table = model_->Source();
    for (int col = 0; col < table.ColCount(); ++col) ApplyColumnWidth(col);
}

void GridView::ApplyColumnWidth(int tableColumn) {
    const int width = model_->Source().ColWidth(tableColumn);
    if (tableColumn == 0) {
        verticalHeader()->setFixedWidth(width);
    } else if (horizontalHeader()->sectionSize(tableColumn - 1) != width) {
        horizontalHeader()->resizeSection(tableColumn - 1, width);
    }
}

void GridView::FollowCurrentRow(int tableRow) {
    const int row = tableRow - 1;
    if (row < 0 || row >= model_->rowCount()) return;
    const QModelIndex current = currentIndex();
    const QModelIndex target = model_->index(row, current.isValid() ? current.column() : 0);
    if (current.row() != row) {
        const auto flags = selectionBehavior() == QAbstractItemView::SelectRows
                               ? QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows
                               : QItemSelectionModel::ClearAndSelect;
        selectionModel()->setCurrentIndex(target, flags);
    }
    scrollTo(target);
}

}  // namespace tc101
