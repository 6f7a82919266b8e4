#pragma once

// Writes tables to an .xlsx workbook, one worksheet per table in the given
// order, by the rules of sheet_layout.h. Plain C++ over libxlsxwriter: the
// window's export and the console's --xlsx both end here.

#include <filesystem>
#include <span>
#include <stdexcept>

#include "export/sheet_layout.h"
#include "protocol/table.h"
#include "protocol/value_tables.h"

namespace tc101 {

// The workbook could not be written; the message names the file and the reason.
class ExportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Creates or replaces file. On failure ExportError is thrown and whatever
// was at the path before is left as it was.
void WriteWorkbook(const std::filesystem::path& file, std::span<const SheetSource> sheets);

// The three value tables as sheets "遥测量", "遥信量", "事件纪录".
void WriteValueTablesWorkbook(const std::filesystem::path& file, const Table& yc, const Table& yx,
                              const Table& sj);
// The same from the analyser's tables (the console's --xlsx FILE).
void WriteValueTablesWorkbook(const std::filesystem::path& file, const ValueTables& tables);

}  // namespace tc101
