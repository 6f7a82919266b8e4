#pragma once

// A table file's point list as a spreadsheet CSV and back: a header row with
// the column titles, then one record per data row, without the number column.

#include <string>
#include <string_view>

#include "files/table_kinds.h"
#include "protocol/table.h"

namespace tc101 {

// A table of the kind's shape: titles in row 0, no data rows.
Table MakeKindTable(const TableKind& kind);

// The table the CSV describes, column 0 numbered, ratios and message texts in
// the form their editor gives them. Throws CsvError, naming the line, when the
// header is not the kind's titles, a record has another number of fields, a
// field holds a line break, a ratio is not a number or a message text cannot
// be tidied.
Table TableFromCsv(const TableKind& kind, std::string_view csv);

// The kind's text columns as CSV. A cell of one space, which is how the table
// files bring back empty cells, is written empty.
std::string TableToCsv(const TableKind& kind, const Table& table);

}  // namespace tc101
