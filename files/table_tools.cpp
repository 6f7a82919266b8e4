#include "files/table_tools.h"

#include <algorithm>

namespace tc101 {

namespace {
constexpr int kColumnPadding = 20;
}

void AutoSizeColumns(Table& table, const std::vector<int>& columns, const TextWidth& textWidth) {
    for (const int col : columns) {
        if (col < 0 || col >= table.ColCount()) continue;
        int widest = textWidth(table.Cell(col, 0));
        for (int row = 1; row < table.RowCount(); ++row) widest = std::max(widest, textWidth(table.Cell(col, row)));
        table.SetColWidth(col, widest + kColumnPadding);
    }
}

void NumberFixedColumn(Table& table) {
    table.SetCell(0, 0, {});
    for (int row = 1; row < table.RowCount(); ++row) table.SetCell(0, row, std::to_string(row));
}

void ClearColumns(Table& table, const std::vector<int>& columns) {
    for (const int col : columns)
        for (int row = 0; row < table.RowCount(); ++row) table.SetCell(col, row, {});
}

}  // namespace tc101
