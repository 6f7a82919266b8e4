#include "files/table_rows.h"

#include <algorithm>

namespace tc101 {

namespace {
constexpr unsigned char kLastSpaceByte = 0x20;
bool IsSpaceByte(char c) { return static_cast<unsigned char>(c) <= kLastSpaceByte; }
}  // namespace

std::string_view TrimSpaces(std::string_view text) {
    while (!text.empty() && IsSpaceByte(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsSpaceByte(text.back())) text.remove_suffix(1);
    return text;
}

bool IsBlankText(std::string_view text) { return TrimSpaces(text).empty(); }

void InsertBlankRow(Table& table, int at) {
    const int oldCount = table.RowCount();
    table.SetRowCount(oldCount + 1);
    if (at < 1 || at > oldCount) return;
    for (int row = oldCount; row > at; --row)
        for (int col = 0; col < table.ColCount(); ++col) table.SetCell(col, row, table.Cell(col, row - 1));
    for (int col = 0; col < table.ColCount(); ++col) table.SetCell(col, at, {});
}

void DeleteDataRow(Table& table, int row) {
    const int count = table.RowCount();
    if (row < 1 || row >= count) return;
    if (count <= 2) {
        for (int col = 0; col < table.ColCount(); ++col) table.SetCell(col, row, {});
        return;
    }
    for (int r = row; r + 1 < count; ++r)
        for (int col = 0; col < table.ColCount(); ++col) table.SetCell(col, r, table.Cell(col, r + 1));
    table.SetRowCount(count - 1);
}

void KeepOneDataRow(Table& table) {
    if (table.RowCount() < 2) table.SetRowCount(2);
}

int AddedRowIndex(const Table& table, int currentRow) {
    return std::min(std::max(currentRow, 0) + 2, table.RowCount());
}

void DeleteRowsBlankIn(Table& table, int col) {
    for (int row = table.RowCount() - 1; row >= 1; --row)
        if (IsBlankText(table.Cell(col, row))) DeleteDataRow(table, row);
}

bool HoldsNothingIn(const Table& table, int col) {
    return table.RowCount() == 2 && IsBlankText(table.Cell(col, 1));
}

}  // namespace tc101
