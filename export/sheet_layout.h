#pragma once

// How one table lands on one worksheet: the title row as it is, column 0
// left out, grid column c in sheet column c, grid row r in sheet row r + 1,
// data cells that read as numbers as numbers, other data cells padded with a
// space on each side, widths in characters of pixels / 8. The writer and the
// tests share these rules.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "protocol/table.h"

namespace tc101 {

// One worksheet to write: its name and the table it shows.
struct SheetSource {
    std::string_view name;
    const Table& table;
};

inline constexpr std::string_view kYcSheetName = "遥测量";
inline constexpr std::string_view kYxSheetName = "遥信量";
inline constexpr std::string_view kSjSheetName = "事件纪录";

// The three value tables in export order.
std::array<SheetSource, 3> ValueTableSheets(const Table& yc, const Table& yx, const Table& sj);

// The width the sheet gives grid column pixels, in characters. Kept within
// what a spreadsheet accepts (0 to 255).
int SheetColumnWidth(int pixels);

// The text of grid cell (col, row) as the sheet holds it: the title as it is,
// a data cell as " " + text + " ". Bytes that are not UTF-8 become U+FFFD so
// the workbook stays readable.
std::string SheetCellText(const Table& table, int col, int row);

// The number a data cell reads as, so that sums and charts work on it: a
// decimal number written plainly (sign, digits, a fraction, an exponent),
// nothing around it. Leading zeros ("007") and more than 15 digits keep the
// text, which a number would change. Titles are always text.
std::optional<double> SheetCellNumber(const Table& table, int col, int row);
std::optional<double> DecimalNumber(std::string_view text);

// Replaces every malformed UTF-8 sequence with U+FFFD.
std::string ValidUtf8(std::string_view text);

}  // namespace tc101
