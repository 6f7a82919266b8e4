#include <cstdio>
#include <string>

#include "app/console/args.h"
#include "app/console/commands.h"
#include "files/csv.h"
#include "files/file_io.h"
#include "files/table_csv.h"
#include "files/table_file.h"

namespace tc101::console {

namespace {

constexpr std::string_view kStandardStream = "-";

constexpr const char* kUsage =
    "usage: tc101tool table show FILE\n"
    "       tc101tool table import CSV FILE --kind yc|yx|send\n"
    "       tc101tool table export FILE CSV --kind yc|yx|send\n"
    "\n"
    "show     prints every data row of a table file (yc.sen, yx.sen, send.sen),\n"
    "         cells joined by TAB, the row number column included\n"
    "import   turns a UTF-8 CSV (RFC 4180, a header row with the column titles)\n"
    "         into a table file; ratios and message texts are written as the\n"
    "         editors write them (\"2.50\" as 2.5, \"680c\" as 68 0C); a CSV that\n"
    "         does not fit, a ratio that is not a number or a message text that\n"
    "         is not hex pairs is refused and nothing is written\n"
    "export   writes a table file's rows as such a CSV\n"
    "CSV may be - for standard input or output.\n";

constexpr std::string_view kKinds[] = {"yc", "yx", "send"};

std::string ReadStandardInput() {
    std::string text;
    char chunk[4096];
    while (const std::size_t count = std::fread(chunk, 1, sizeof chunk, stdin)) text.append(chunk, count);
    return text;
}

std::string TableFileBytesOrThrow(const std::string& name) {
    auto bytes = ReadFileIfExists(name);
    if (!bytes) throw UsageError("no table file \"" + name + "\"");
    return std::move(*bytes);
}

TableKind KindOption(Args& args) {
    const auto name = args.Choice("--kind", kKinds);
    if (!name) throw UsageError("--kind yc|yx|send is needed");
    return *FindTableKind(*name);
}

std::vector<std::string> Names(Args& args, std::size_t count) {
    auto rest = args.Rest();
    if (rest.size() != count) throw UsageError("takes " + std::to_string(count) + " names; see --help");
    return rest;
}

int Show(Args& args) {
    const auto names = Names(args, 1);
    const auto bytes = TableFileBytesOrThrow(names[0]);
    for (const auto& row : TableFileRows(bytes, TableFileWidth(bytes))) {
        std::string line;
        for (std::size_t col = 0; col < row.size(); ++col) {
            if (col > 0) line += '\t';
            line += row[col];
        }
        std::printf("%s\n", line.c_str());
    }
    return 0;
}

int Import(Args& args) {
    const auto kind = KindOption(args);
    const auto names = Names(args, 2);
    std::string csv;
    if (names[0] == kStandardStream) {
        csv = ReadStandardInput();
    } else {
        auto bytes = ReadFileIfExists(names[0]);
        if (!bytes) throw UsageError("no CSV file \"" + names[0] + "\"");
        csv = std::move(*bytes);
    }
    Table table = [&] {
        try {
            return TableFromCsv(kind, csv);
        } catch (const CsvError& error) {
            throw UsageError(names[0] + ", " + error.what() + "; nothing was written");
        }
    }();
    SaveTableFile(table, names[1]);
    std::printf("%d rows written to %s\n", table.RowCount() - 1, names[1].c_str());
    return 0;
}

int Export(Args& args) {
    const auto kind = KindOption(args);
    const auto names = Names(args, 2);
    TableFileBytesOrThrow(names[0]);  // a missing file is the user's slip, not an empty list
    Table table = MakeKindTable(kind);
    LoadTableFile(table, names[0]);
    const auto csv = TableToCsv(kind, table);
    if (names[1] == kStandardStream)
        std::fwrite(csv.data(), 1, csv.size(), stdout);
    else
        WriteFileAtomically(names[1], csv);
    return 0;
}

}  // namespace

int RunTable(Words words) {
    Args args(words);
    if (args.Flag("--help") || args.Flag("-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    const std::string action = words.empty() ? std::string() : std::string(words[0]);
    Args inner(words.empty() ? words : words.subspan(1));
    if (action == "show") return Show(inner);
    if (action == "import") return Import(inner);
    if (action == "export") return Export(inner);
    throw UsageError(action.empty() ? "show, import or export is needed; see --help"
                                    : "unknown action '" + action + "'; see --help");
}

}  // namespace tc101::console
