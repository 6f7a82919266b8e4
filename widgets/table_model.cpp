#include "widgets/table_model.h"

#include <algorithm>

#include <QColor>

#include "protocol/quality.h"

namespace tc101 {

namespace {

constexpr QColor kGreenText(0, 128, 0);
// A value reported invalid or not topical.
constexpr QColor kGreyedText(150, 150, 150);

int ModelCount(int tableCount) { return std::max(tableCount - 1, 0); }

}  // namespace

TableModel::TableModel(Table& table, QObject* parent) : QAbstractTableModel(parent), table_(table) {
    table_.SetObserver(this);
}

TableModel::~TableModel() {
    if (table_.Observer() == this) table_.SetObserver(nullptr);
}

int TableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ModelCount(table_.RowCount());
}

int TableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ModelCount(table_.ColCount());
}

QVariant TableModel::data(const QModelIndex& index, int role) const {
    if (!(index.isValid() && checkIndex(index))) return {};
    const int col = TableColumn(index.column());
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return QString::fromStdString(table_.Cell(col, TableRow(index.row())));
        case Qt::ForegroundRole:
            if (QualityGreyed(table_.Quality(col, TableRow(index.row())))) return kGreyedText;
            if (table_.Tone(col) == ColumnTone::Green) return kGreenText;
            if (table_.Tone(col) == ColumnTone::Grey) return kGreyedText;
            return {};
        case Qt::ToolTipRole: {
            const std::uint8_t quality = table_.Quality(col, TableRow(index.row()));
            const std::string& note = table_.Note(col);
            if (quality == 0 && note.empty()) return {};
            std::string tip = quality == 0 ? std::string() : QualityFlagsText(quality);
            if (!tip.empty() && !note.empty()) tip += '\n';
            return QString::fromStdString(tip + note);
        }
        default:
            return {};
    }
}

bool TableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(index.isValid() && checkIndex(index))) return false;
    const int col = TableColumn(index.column());
    if (!IsEditableColumn(col)) return false;
    // The table reports the change back through CellChanged.
    table_.SetCell(col, TableRow(index.row()), value.toString().toStdString());
    Q_EMIT CellEdited(col, TableRow(index.row()));
    return true;
}

Qt::ItemFlags TableModel::flags(const QModelIndex& index) const {
    if (!(index.isValid() && checkIndex(index))) return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (IsEditableColumn(TableColumn(index.column()))) result |= Qt::ItemIsEditable;
    return result;
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::ToolTipRole && orientation == Qt::Horizontal) {
        const auto tip = titleTips_.find(TableColumn(section));
        if (tip != titleTips_.end()) return tip->second;
    }
    if (role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= columnCount()) return {};
        return QString::fromStdString(table_.Cell(TableColumn(section), 0));
    }
    if (section < 0 || section >= rowCount()) return {};
    return QString::fromStdString(table_.Cell(0, TableRow(section)));
}

void TableModel::BeforeShapeChange(int newColCount, int newRowCount) {
    const int oldRows = rowCount();
    const int oldCols = columnCount();
    const int rows = ModelCount(newRowCount);
    const int cols = ModelCount(newColCount);
    if (rows != oldRows && cols != oldCols) {
        pending_ = ShapeChange::Reset;
        beginResetModel();
    } else if (rows > oldRows) {
        pending_ = ShapeChange::InsertRows;
        beginInsertRows({}, oldRows, rows - 1);
    } else if (rows < oldRows) {
        pending_ = ShapeChange::RemoveRows;
        beginRemoveRows({}, rows, oldRows - 1);
    } else if (cols > oldCols) {
        pending_ = ShapeChange::InsertColumns;
        beginInsertColumns({}, oldCols, cols - 1);
    } else if (cols < oldCols) {
        pending_ = ShapeChange::RemoveColumns;
        beginRemoveColumns({}, cols, oldCols - 1);
    } else {
        // Row 0 or column 0 alone came or went: only the headers change.
        pending_ = ShapeChange::Reset;
        beginResetModel();
    }
}

void TableModel::AfterShapeChange() {
    switch (std::exchange(pending_, ShapeChange::None)) {
        case ShapeChange::InsertRows: endInsertRows(); break;
        case ShapeChange::RemoveRows: endRemoveRows(); break;
        case ShapeChange::InsertColumns: endInsertColumns(); break;
        case ShapeChange::RemoveColumns: endRemoveColumns(); break;
        case ShapeChange::Reset: endResetModel(); break;
        case ShapeChange::None: break;
    }
}

void TableModel::CellChanged(int col, int row) {
    if (row == 0) {
        if (col > 0) Q_EMIT headerDataChanged(Qt::Horizontal, col - 1, col - 1);
        return;
    }
    if (col == 0) {
        Q_EMIT headerDataChanged(Qt::Vertical, row - 1, row - 1);
        return;
    }
    const QModelIndex cell = index(row - 1, col - 1);
    Q_EMIT dataChanged(cell, cell, {Qt::DisplayRole, Qt::EditRole});
}

void TableModel::ColumnLookChanged(int col) {
    if (col > 0 && rowCount() > 0)
        Q_EMIT dataChanged(index(0, col - 1), index(rowCount() - 1, col - 1), {Qt::ForegroundRole, Qt::ToolTipRole});
    Q_EMIT ColumnLookUpdated(col);
}

void TableModel::CurrentRowChanged(int row) { Q_EMIT CurrentRowMoved(row); }

}  // namespace tc101
