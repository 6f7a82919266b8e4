#pragma once

// Row editing of the table files' tables, as the two editors do it: a table
// being edited always keeps at least one data row.

#include <string_view>

#include "protocol/table.h"

namespace tc101 {

// Text with the bytes 0x00..0x20 at both ends removed.
std::string_view TrimSpaces(std::string_view text);
bool IsBlankText(std::string_view text);

// Inserts a blank row so that it becomes row `at` (1..RowCount); the rows from
// there on move down by one. A row outside that range is added at the end.
void InsertBlankRow(Table& table, int at);

// Removes data row `row`, moving the rows below it up. The only data row is
// blanked instead, so the table never loses its last row.
void DeleteDataRow(Table& table, int row);

// An empty file loads as a table without data rows; an edited table has one.
void KeepOneDataRow(Table& table);

// Where "添加(&A)" puts its blank row: two rows below the current row, or at
// the end when the current row is one of the last two.
int AddedRowIndex(const Table& table, int currentRow);

// Deletes, bottom up, every data row whose cell in `col` is blank.
void DeleteRowsBlankIn(Table& table, int col);

// Exactly one data row, and its cell in `col` is blank.
bool HoldsNothingIn(const Table& table, int col);

}  // namespace tc101
