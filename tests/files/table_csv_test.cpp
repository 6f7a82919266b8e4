#include "files/table_csv.h"

#include <gtest/gtest.h>

#include "files/csv.h"
#include "files/table_file.h"

namespace tc101 {
namespace {

const TableKind& Kind(std::string_view name) {
    for (const auto& kind : kTableKinds)
        if (kind.name == name) return kind;
    throw std::logic_error("no kind");
}

struct BadCsvCase {
    const char* what;
    const char* kind;
    std::string csv;
    int line;
};

void PrintTo(const BadCsvCase& c, std::ostream* out) { *out << c.what; }

class CsvRefused : public ::testing::TestWithParam<BadCsvCase> {};

TEST_P(CsvRefused, NamesTheLine) {
    const auto& c = GetParam();
    try {
        TableFromCsv(Kind(c.kind), c.csv);
        ADD_FAILURE() << "accepted";
    } catch (const CsvError& error) {
        EXPECT_EQ(error.Line(), c.line) << error.what();
        EXPECT_EQ(std::string(error.what()).rfind("line " + std::to_string(c.line) + ": ", 0), 0u) << error.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CsvRefused,
    ::testing::Values(
        BadCsvCase{"empty text", "yc", "", 1},
        BadCsvCase{"other kind's header", "yc", "遥信量,0的意义,1的意义\r\n", 1},
        BadCsvCase{"too few fields", "yc", "遥测量,单位,比例\r\na,b,1\r\na,b\r\n", 3},
        BadCsvCase{"too many fields", "send", "报文名称,报文内容\nx,10 49,extra\n", 2},
        BadCsvCase{"quote inside a bare field", "yx", "遥信量,0的意义,1的意义\na,b\"c,d\n", 2},
        BadCsvCase{"text after a closing quote", "yx", "遥信量,0的意义,1的意义\n\"a\"b,c,d\n", 2},
        BadCsvCase{"quote never closed, counted from where it opens", "yx",
                   "遥信量,0的意义,1的意义\n\n\"a,b,c\nmore\n", 3},
        BadCsvCase{"line break inside a quoted field", "yc", "遥测量,单位,比例\n\"two\nlines\",kV,1\n", 2},
        BadCsvCase{"not UTF-8", "yc", "遥测量,单位,比例\nok,kV,1\n\xB2\xE2,kV,1\n", 3},
        BadCsvCase{"ratio that is not a number", "yc", "遥测量,单位,比例\nok,kV,1\nIa,A,0.1x\n", 3},
        BadCsvCase{"message digits that do not pair", "send", "报文名称,报文内容\nLink,1049014A1\n", 2},
        BadCsvCase{"message with a letter", "send", "报文名称,报文内容\nok,E5\nLink,10 4G\n", 3}));

TEST(TableCsv, ImportWritesRatiosAndMessagesAsTheEditorsDo) {
    const auto yc = TableFromCsv(Kind("yc"), "遥测量,单位,比例\nUa,kV,2.50\nIa,A,+1e-1\nP,MW,\n");
    EXPECT_EQ(yc.Cell(3, 1), "2.5");
    EXPECT_EQ(yc.Cell(3, 2), "0.1");
    EXPECT_EQ(yc.Cell(3, 3), "");
    const auto send = TableFromCsv(Kind("send"), "报文名称,报文内容\n1049014a16,1049014a16\nb,680C\nc,10 49 01 4A 16\nd,\n");
    EXPECT_EQ(send.Cell(1, 1), "1049014a16");  // a name is text
    EXPECT_EQ(send.Cell(2, 1), "10 49 01 4A 16");
    EXPECT_EQ(send.Cell(2, 2), "68 0C");
    EXPECT_EQ(send.Cell(2, 3), "10 49 01 4A 16");
    EXPECT_EQ(send.Cell(2, 4), "");
}

TEST(TableCsv, ImportNumbersRowsKeepsQuotedTextAndSkipsBomAndBlankLines) {
    const auto table = TableFromCsv(Kind("yc"), "\xEF\xBB\xBF遥测量, 单位 ,比例\r\n"
                                                "温度,℃,0.1\r\n"
                                                "\r\n"
                                                "\"压力, \"\"高\"\"\",MPa,\n");
    ASSERT_EQ(table.RowCount(), 3);
    EXPECT_EQ(table.ColCount(), 4);
    EXPECT_EQ(table.Cell(1, 0), "遥测量");
    EXPECT_EQ(table.Cell(0, 1), "1");
    EXPECT_EQ(table.Cell(0, 2), "2");
    EXPECT_EQ(table.Cell(1, 2), "压力, \"高\"");
    EXPECT_EQ(table.Cell(3, 2), "");
}

TEST(TableCsv, ExportAfterASaveAndLoadGivesTheSameCsv) {
    const std::string csv = "报文名称,报文内容\r\nLink,10 49 01 4A 16\r\n\"a,b\",\r\n";
    const auto& kind = Kind("send");
    const auto imported = TableFromCsv(kind, csv);
    auto loaded = MakeKindTable(kind);
    const auto rows = TableFileRows(TableFileBytes(imported), kTableFileColumns);
    loaded.SetRowCount(static_cast<int>(rows.size()) + 1);
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            loaded.SetCell(static_cast<int>(c), static_cast<int>(r) + 1, rows[r][c]);
    EXPECT_EQ(loaded.Cell(2, 2), " ");  // how the file brings back an empty cell
    EXPECT_EQ(TableToCsv(kind, loaded), csv);
}

TEST(Csv, WritesQuotesOnlyWhereNeeded) {
    EXPECT_EQ(WriteCsv({{"a", "b c", "d,e", "say \"x\"", "line\nbreak", ""}}),
              "a,b c,\"d,e\",\"say \"\"x\"\"\",\"line\nbreak\",\r\n");
}

}  // namespace
}  // namespace tc101
