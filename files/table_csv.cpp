#include "files/table_csv.h"

#include "files/csv.h"
#include "files/ratio_text.h"
#include "files/table_tools.h"
#include "protocol/hex_text.h"

namespace tc101 {

namespace {

constexpr std::string_view kLoadedEmptyCell = " ";

std::string ExpectedHeader(const TableKind& kind) {
    std::string header;
    for (int col = 0; col < kind.textColumns; ++col) {
        if (col > 0) header += ',';
        header += kind.titles[static_cast<std::size_t>(col)];
    }
    return header;
}

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

void CheckHeader(const TableKind& kind, const CsvRecord& header) {
    bool same = header.fields.size() == static_cast<std::size_t>(kind.textColumns);
    for (std::size_t col = 0; same && col < header.fields.size(); ++col)
        same = Trimmed(header.fields[col]) == kind.titles[col];
    if (!same) throw CsvError(header.line, "the header row must be " + ExpectedHeader(kind));
}

// The cell as its editor would leave it; what the editor would not take is
// refused with the line.
std::string EditorForm(CellForm form, const std::string& text, int line) {
    switch (form) {
        case CellForm::Ratio: {
            const std::optional<std::string> number = RatioCellText(text);
            if (!number) throw CsvError(line, "the ratio \"" + text + "\" is not a number");
            return *number;
        }
        case CellForm::Message:
            try {
                return TidyHexText(text);
            } catch (const HexTextError& error) {
                // One clause of the line's report: its full stop goes.
                constexpr std::string_view kFullStop = "。";
                std::string reason = error.what();
                if (reason.ends_with(kFullStop)) reason.resize(reason.size() - kFullStop.size());
                throw CsvError(line, reason);
            }
        case CellForm::Text: break;
    }
    return text;
}

}  // namespace

Table MakeKindTable(const TableKind& kind) {
    Table table(kTableFileColumns, 1);
    for (std::size_t col = 0; col < kind.titles.size(); ++col)
        table.SetCell(static_cast<int>(col) + 1, 0, std::string(kind.titles[col]));
    return table;
}

Table TableFromCsv(const TableKind& kind, std::string_view csv) {
    const auto records = ParseCsv(csv);
    if (records.empty()) throw CsvError(1, "no header row; it must be " + ExpectedHeader(kind));
    CheckHeader(kind, records.front());

    Table table = MakeKindTable(kind);
    table.SetRowCount(static_cast<int>(records.size()));
    for (std::size_t r = 1; r < records.size(); ++r) {
        const auto& record = records[r];
        if (record.fields.size() != static_cast<std::size_t>(kind.textColumns))
            throw CsvError(record.line, std::to_string(record.fields.size()) + " fields where " +
                                            std::to_string(kind.textColumns) + " are expected");
        for (std::size_t col = 0; col < record.fields.size(); ++col) {
            if (record.fields[col].find_first_of("\r\n") != std::string::npos)
                throw CsvError(record.line, "a field holds a line break");
            table.SetCell(static_cast<int>(col) + 1, static_cast<int>(r),
                          EditorForm(kind.forms[col], record.fields[col], record.line));
        }
    }
    NumberFixedColumn(table);
    return table;
}

std::string TableToCsv(const TableKind& kind, const Table& table) {
    std::vector<std::vector<std::string>> rows;
    auto& header = rows.emplace_back();
    for (int col = 0; col < kind.textColumns; ++col) header.emplace_back(kind.titles[static_cast<std::size_t>(col)]);
    for (int row = 1; row < table.RowCount(); ++row) {
        auto& cells = rows.emplace_back();
        for (int col = 1; col <= kind.textColumns; ++col) {
            const auto& cell = table.Cell(col, row);
            cells.push_back(cell == kLoadedEmptyCell ? std::string() : cell);
        }
    }
    return WriteCsv(rows);
}

}  // namespace tc101
