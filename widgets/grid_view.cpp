#include "widgets/grid_view.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>

#include "files/table_tools.h"
#include "widgets/cell_delegate.h"
#include "widgets/table_model.h"

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
    EditTriggers triggers = editable ? QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                                           QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked
                                     : QAbstractItemView::NoEditTriggers;
    if (editable && alwaysEditing_) triggers |= QAbstractItemView::CurrentChanged;
    setEditTriggers(triggers);
}

void GridView::SetAlwaysEditing(bool alwaysEditing) {
    alwaysEditing_ = alwaysEditing;
    if (editTriggers() == QAbstractItemView::NoEditTriggers) return;
    setEditTriggers(alwaysEditing ? editTriggers() | QAbstractItemView::CurrentChanged
                                  : editTriggers() & ~QAbstractItemView::CurrentChanged);
}

void GridView::SetEnterMovesRight(bool enterMovesRight) { enterMovesRight_ = enterMovesRight; }

void GridView::MoveRight() {
    const QModelIndex current = currentIndex();
    if (!current.isValid()) return;
    int row = current.row();
    int column = current.column() + 1;
    if (column >= model_->columnCount()) {
        if (row + 1 >= model_->rowCount()) return;
        column = 0;
        ++row;
    }
    setCurrentIndex(model_->index(row, column));
}

bool GridView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    if (!QTableView::edit(index, trigger, event)) return false;
    // Installed after the delegate's own filter, so it sees Enter first.
    if (QWidget* editor = indexWidget(index)) editor->installEventFilter(this);
    return true;
}

bool GridView::eventFilter(QObject* watched, QEvent* event) {
    const bool editorKey = event->type() == QEvent::KeyPress && watched->isWidgetType() &&
                           static_cast<QWidget*>(watched)->parentWidget() == viewport();
    if (editorKey && keyHandler_) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (keyHandler_(key->key(), key->modifiers())) return true;
    }
    if (editorKey && enterMovesRight_) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            CommitEdit();
            MoveRight();
            return true;
        }
    }
    return QTableView::eventFilter(watched, event);
}

void GridView::keyPressEvent(QKeyEvent* event) {
    if (keyHandler_ && keyHandler_(event->key(), event->modifiers())) return;
    if (enterMovesRight_ && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        MoveRight();
        return;
    }
    QTableView::keyPressEvent(event);
}

void GridView::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    if (alwaysEditing_ && state() != QAbstractItemView::EditingState && currentIndex().isValid())
        edit(currentIndex(), QAbstractItemView::CurrentChanged, nullptr);
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

void GridView::FitColumns(const std::vector<int>& tableColumns) {
    const QFontMetrics metrics(font());
    AutoSizeColumns(model_->Source(), tableColumns, [&metrics](const std::string& text) {
        return metrics.horizontalAdvance(QString::fromStdString(text));
    });
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
