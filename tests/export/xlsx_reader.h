#pragma once

// Reads back what the tests need of a workbook: sheet names in order, each
// cell's text and whether it is centred, and the column widths in characters.

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace tc101::testing {

struct SheetCell {
    std::string text;
    bool centred = false;
    bool number = false;  // a number cell rather than a string
};

struct Sheet {
    std::string name;
    std::map<std::pair<int, int>, SheetCell> cells;  // (column, row), both from 1 as the sheet counts
    std::map<int, int> widths;                        // column -> width in characters
    int ColumnCount() const;
    int RowCount() const;
};

std::vector<Sheet> ReadWorkbook(const std::filesystem::path& file);

}  // namespace tc101::testing
