#include "files/table_file.h"

#include <algorithm>

#include "files/comma_text.h"
#include "files/file_io.h"
#include "files/gbk.h"
#include "files/scramble.h"

namespace tc101 {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr unsigned char kFirstPrintable = 0x20;
constexpr std::string_view kEmptyFieldText = " ";  // keeps later fields in their columns

// Single-line text without control bytes: a line break, a NUL, or a byte that
// scrambles to one of them would split or cut the file's one line.
std::string FileCellText(const std::string& cell) {
    std::string gbk = Utf8ToGbk(cell);
    for (char& c : gbk)
        if (static_cast<unsigned char>(c) < kFirstPrintable) c = ' ';
    return gbk;
}

// The file's row lines: its lines joined with CR LF, then unscrambled.
std::string PlainText(std::string_view bytes) {
    std::string joined;
    joined.reserve(bytes.size() + kLineEnd.size());
    for (const auto line : SplitTextLines(bytes)) {
        joined += line;
        joined += kLineEnd;
    }
    return ScrambleText(joined, kTableFileKey, true);
}

}  // namespace

std::string TableFileBytes(const Table& table) {
    std::string plain;
    std::vector<std::string> cells(static_cast<std::size_t>(table.ColCount()));
    for (int row = 1; row < table.RowCount(); ++row) {
        for (int col = 0; col < table.ColCount(); ++col)
            cells[static_cast<std::size_t>(col)] = FileCellText(table.Cell(col, row));
        plain += EncodeCommaText(cells);
        plain += kLineEnd;
    }
    return ScrambleText(plain, kTableFileKey, true) + std::string(kLineEnd);
}

int TableFileWidth(std::string_view bytes) {
    std::size_t widest = 0;
    const std::string plain = PlainText(bytes);
    for (const auto line : SplitTextLines(plain)) widest = std::max(widest, ParseCommaText(line).size());
    return static_cast<int>(widest);
}

std::vector<std::vector<std::string>> TableFileRows(std::string_view bytes, int colCount) {
    const std::string plain = PlainText(bytes);

    const auto columns = static_cast<std::size_t>(std::max(colCount, 0));
    std::vector<std::vector<std::string>> rows;
    for (const auto line : SplitTextLines(plain)) {
        auto& cells = rows.emplace_back(columns);
        const auto fields = ParseCommaText(line);
        for (std::size_t k = 0; k < fields.size() && k < columns; ++k)
            cells[k] = fields[k].empty() ? std::string(kEmptyFieldText) : GbkToUtf8(fields[k]);
    }
    return rows;
}

bool LoadTableFile(Table& table, const std::filesystem::path& name) {
    const auto bytes = ReadFileIfExists(name);
    if (!bytes) return false;
    const auto rows = TableFileRows(*bytes, table.ColCount());
    table.SetRowCount(static_cast<int>(rows.size()) + 1);
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t col = 0; col < rows[r].size(); ++col)
            table.SetCell(static_cast<int>(col), static_cast<int>(r) + 1, rows[r][col]);
    return true;
}

void SaveTableFile(const Table& table, const std::filesystem::path& name) {
    WriteFileAtomically(name, TableFileBytes(table));
}

}  // namespace tc101
