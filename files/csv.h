#pragma once

// RFC 4180 comma-separated values over UTF-8 text, for the point lists that
// engineers keep in spreadsheets.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tc101 {

// A CSV text that cannot be read; the message starts with the line number.
class CsvError : public std::runtime_error {
public:
    CsvError(int line, const std::string& reason);
    int Line() const { return line_; }

private:
    int line_;
};

struct CsvRecord {
    int line = 0;  // where the record starts, from 1
    std::vector<std::string> fields;
};

// The records of text. A UTF-8 byte-order mark is skipped, lines may end in
// CR LF or LF, and empty lines are no records. Throws CsvError for a quote
// inside a bare field, text after a closing quote, a quote never closed or
// bytes that are not UTF-8.
std::vector<CsvRecord> ParseCsv(std::string_view text);

// One record per row, fields quoted when they hold a comma, a quote or a line
// break, each line ending in CR LF.
std::string WriteCsv(const std::vector<std::vector<std::string>>& rows);

}  // namespace tc101
