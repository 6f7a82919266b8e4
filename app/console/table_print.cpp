#include "app/console/table_print.h"

#include <stdexcept>

namespace tc101::console {

void AppendTableText(std::string& out, std::string_view name, const Table& table) {
    out += '[';
    out += name;
    out += "]\n";
    for (int row = 0; row < table.RowCount(); ++row) {
        for (int col = 0; col < table.ColCount(); ++col) {
            if (col != 0) out += '\t';
            out += table.Cell(col, row);
        }
        out += '\n';
    }
}

void AppendValueTablesText(std::string& out, const ValueTables& tables) {
    AppendTableText(out, "GrdYC", tables.GrdYC);
    AppendTableText(out, "GrdYX", tables.GrdYX);
    AppendTableText(out, "GrdSJ", tables.GrdSJ);
}

void WriteAll(std::FILE* stream, std::string_view text) {
    if (!text.empty() && std::fwrite(text.data(), 1, text.size(), stream) != text.size())
        throw std::runtime_error("cannot write the output");
}

}  // namespace tc101::console
