#pragma once

// The one grid of the program: a table view over a tc101::Table with the
// title row and the number column fixed as headers, column widths taken
// from the table, the table's current row followed, and the cell drawing
// rule of CellDelegate. Each use configures selection, editing and alignment.

#include <functional>
#include <set>
#include <utility>
#include <vector>

#include <QTableView>

#include "protocol/table.h"

namespace tc101 {

class TableModel;
class CellDelegate;

class GridView : public QTableView {
    Q_OBJECT
public:
    // The table must outlive the view.
    explicit GridView(Table& table, QWidget* parent = nullptr);

    TableModel* Model() const { return model_; }
    CellDelegate* Delegate() const { return delegate_; }

    // Whole rows are selected (value tables, send list) or single cells
    // (settings tables, editors).
    void SetWholeRowSelection(bool wholeRows);
    // Table columns edited in place; none makes the grid read-only.
    void SetEditableColumns(std::set<int> tableColumns);
    // Send list: text at the left of the cell instead of centred.
    void SetLeftAligned(bool leftAligned);
    // Longest text an editor of the table column accepts (0: no limit).
    void SetMaxLength(int tableColumn, int length);

    // Ends an edit in progress, keeping what was typed.
    void CommitEdit();

    // The editors' grids: the current cell always shows its editor.
    void SetAlwaysEditing(bool alwaysEditing);
    // Enter moves one cell to the right, from the last column to the first
    // of the next row (not beyond the last row), ending an edit on the way.
    void SetEnterMovesRight(bool enterMovesRight);
    // The move Enter makes.
    void MoveRight();
    // Keys the grid acts on whether it or a cell's editor has the focus, before
    // either sees them (a line edit would take Ctrl+Insert as copy); `handle`
    // returns whether it took the key.
    void SetKeyHandler(std::function<bool(int key, Qt::KeyboardModifiers modifiers)> handle) {
        keyHandler_ = std::move(handle);
    }

    using QTableView::edit;

    // Widths of all columns from the table (the number column is the header).
    void ApplyColumnWidths();
    // AutoSizeColumns of the table's columns, measured in the grid's font.
    void FitColumns(const std::vector<int>& tableColumns);

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ApplyColumnWidth(int tableColumn);
    void FollowCurrentRow(int tableRow);

    TableModel* model_;
    CellDelegate* delegate_;
    bool alwaysEditing_ = false;
    bool enterMovesRight_ = false;
    std::function<bool(int, Qt::KeyboardModifiers)> keyHandler_;
};

}  // namespace tc101
