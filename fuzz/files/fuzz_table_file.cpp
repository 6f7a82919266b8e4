// The comma-text parser and the table file reader over any bytes: no crash,
// every cell valid UTF-8, and what was read saves and reads back the same.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "files/comma_text.h"
#include "files/gbk.h"
#include "files/table_file.h"

namespace {

constexpr int kColumns = 4;

// What a cell becomes after one save and load: control bytes turn into
// spaces, and an empty cell comes back as one space.
std::string AfterRoundTrip(std::string cell) {
    for (char& c : cell)
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    return cell.empty() ? " " : cell;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)tc101::ParseCommaText(bytes);

    const auto rows = tc101::TableFileRows(bytes, kColumns);
    if (rows.empty()) return 0;  // a table without data rows is saved as one blank line
    tc101::Table table(kColumns, static_cast<int>(rows.size()) + 1);
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            if (tc101::GbkToUtf8(tc101::Utf8ToGbk(rows[r][c])) != rows[r][c]) std::abort();
            table.SetCell(static_cast<int>(c), static_cast<int>(r) + 1, rows[r][c]);
        }

    const auto again = tc101::TableFileRows(tc101::TableFileBytes(table), kColumns);
    if (again.size() != rows.size()) std::abort();
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            if (again[r][c] != AfterRoundTrip(rows[r][c])) std::abort();
    return 0;
}
