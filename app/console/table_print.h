#pragma once

// Tables as plain text for the console: every row from row 0 to the last,
// cells joined by one TAB, column 0 included.

#include <cstdio>
#include <string>
#include <string_view>

#include "protocol/table.h"
#include "protocol/value_tables.h"

namespace tc101::console {

// Appends "[name]" and the table's rows, one line each.
void AppendTableText(std::string& out, std::string_view name, const Table& table);
// GrdYC, GrdYX and GrdSJ in that order, as --tables prints them.
void AppendValueTablesText(std::string& out, const ValueTables& tables);

// Writes text to a stream in full; throws std::runtime_error when it cannot.
void WriteAll(std::FILE* stream, std::string_view text);

}  // namespace tc101::console
