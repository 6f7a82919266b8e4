#pragma once

// The Qt face of a tc101::Table. Row 0 of the table (the titles) is the
// horizontal header and column 0 (the numbers) the vertical header, so the
// view keeps both fixed; model cell (r, c) is table cell (c + 1, r + 1).

#include <map>
#include <set>
#include <utility>

#include <QAbstractTableModel>

#include "protocol/table.h"

namespace tc101 {

class TableModel : public QAbstractTableModel, private TableObserver {
    Q_OBJECT
public:
    // The table must outlive the model; the model is its one observer.
    explicit TableModel(Table& table, QObject* parent = nullptr);
    ~TableModel() override;

    Table& Source() { return table_; }
    const Table& Source() const { return table_; }

    // Table columns the user may edit in place (none by default).
    void SetEditableColumns(std::set<int> tableColumns) { editableColumns_ = std::move(tableColumns); }
    bool IsEditableColumn(int tableColumn) const { return editableColumns_.contains(tableColumn); }
    // The tooltip of a table column's title (how to read the column).
    void SetTitleToolTip(int tableColumn, QString tip) { titleTips_[tableColumn] = std::move(tip); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    static int TableColumn(int modelColumn) { return modelColumn + 1; }
    static int TableRow(int modelRow) { return modelRow + 1; }

Q_SIGNALS:
    // A table column's width or tone changed (table column index).
    void ColumnLookUpdated(int tableColumn);
    // The table's current row changed (table row index, -1 none).
    void CurrentRowMoved(int tableRow);
    // An editor of the view wrote a cell (table indexes), changed or not.
    void CellEdited(int tableColumn, int tableRow);

private:
    enum class ShapeChange { None, InsertRows, RemoveRows, InsertColumns, RemoveColumns, Reset };

    void BeforeShapeChange(int newColCount, int newRowCount) override;
    void AfterShapeChange() override;
    void CellChanged(int col, int row) override;
    void ColumnLookChanged(int col) override;
    void CurrentRowChanged(int row) override;

    Table& table_;
    std::set<int> editableColumns_;
    std::map<int, QString> titleTips_;
    ShapeChange pending_ = ShapeChange::None;
};

}  // namespace tc101
