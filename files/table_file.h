#pragma once

// The scrambled table files yc.sen, yx.sen and send.sen: the data rows of a
// table as comma-text lines in GBK, reversed and XORed with kTableFileKey,
// followed by CR LF. Files the Windows tool wrote load unchanged here, and
// files written here load there.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "files/file_error.h"
#include "protocol/table.h"

namespace tc101 {

inline constexpr std::string_view kYcFileName = "yc.sen";
inline constexpr std::string_view kYxFileName = "yx.sen";
inline constexpr std::string_view kSendFileName = "send.sen";

// The file's bytes for the data rows 1..RowCount-1 of table. A control
// character in a cell is written as a space: the file cannot carry it.
std::string TableFileBytes(const Table& table);

// The data rows a file's bytes hold, each with colCount cells (UTF-8): a
// field beyond the last column is dropped, an empty field reads as one space,
// bytes that are not GBK read as U+FFFD.
std::vector<std::vector<std::string>> TableFileRows(std::string_view bytes, int colCount);

// The most fields any row line of the file holds.
int TableFileWidth(std::string_view bytes);

// Loads the file's rows into table as rows 1..n, keeping row 0, the columns
// and their widths. Returns false and changes nothing when the file does not
// exist; throws FileError, changing nothing, when it cannot be read.
bool LoadTableFile(Table& table, const std::filesystem::path& name);

// Replaces the file with the table's data rows, atomically. Throws FileError.
void SaveTableFile(const Table& table, const std::filesystem::path& name);

}  // namespace tc101
