#pragma once

// Small table utilities the windows share. Text widths come from the caller,
// measured in the table's font, so the core stays free of widgets.

#include <functional>
#include <string>
#include <vector>

#include "protocol/table.h"

namespace tc101 {

using TextWidth = std::function<int(const std::string&)>;

// Each listed column gets 20 pixels more than the widest of its title and its
// data cells.
void AutoSizeColumns(Table& table, const std::vector<int>& columns, const TextWidth& textWidth);

// Column 0 becomes the row numbers: empty in the title row, r in data row r.
void NumberFixedColumn(Table& table);

// Empties every cell of each listed column, title row included.
void ClearColumns(Table& table, const std::vector<int>& columns);

}  // namespace tc101
