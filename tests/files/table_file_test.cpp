#include "files/table_file.h"

#include <gtest/gtest.h>

#include <random>

#include "files/comma_text.h"
#include "files/gbk.h"
#include "files/scramble.h"
#include "support/test_folder.h"

namespace tc101 {
namespace {

using testing::FreshFolder;
using testing::ReadBytes;
using testing::WriteBytes;

Table MakeTable(int cols, const std::vector<std::vector<std::string>>& rows) {
    Table table(cols, static_cast<int>(rows.size()) + 1);
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            table.SetCell(static_cast<int>(c), static_cast<int>(r) + 1, rows[r][c]);
    return table;
}

std::vector<std::vector<std::string>> DataRows(const Table& table) {
    std::vector<std::vector<std::string>> rows;
    for (int r = 1; r < table.RowCount(); ++r) {
        auto& row = rows.emplace_back();
        for (int c = 0; c < table.ColCount(); ++c) row.push_back(table.Cell(c, r));
    }
    return rows;
}

// The file the Windows tool writes for the row 1,遥测1,kV,0.5.
const std::string kYcFile = "\x11\x16\x2E\x35\x2B\x37\x4D\x70\x37\x2A\xF9\xA9\xB8\xC9\x37\x2A\x0D\x0A";
// And for the send-list row 1, Link, 68 0C 0C 68 and an empty button column.
const std::string kSendFile =
    "\x11\x16\x37\x39\x23\x2D\x3B\x58\x2B\x3B\x58\x2B\x3B\x23\x2D\x39\x37\x70\x75\x72\x57\x37\x2A\x0D\x0A";

TEST(TableFile, TelemetryRowIsByteExactAndLoadsBack) {
    const auto table = MakeTable(4, {{"1", "遥测1", "kV", "0.5"}});
    EXPECT_EQ(TableFileBytes(table), kYcFile);
    EXPECT_EQ(ScrambleText(kYcFile.substr(0, kYcFile.size() - 2), kTableFileKey, true),
              "1,\xD2\xA3\xB2\xE2" "1,kV,0.5\r\n");
    Table loaded(4, 20);
    loaded.SetCell(1, 0, "遥测量");
    const auto path = FreshFolder() / "yc.sen";
    WriteBytes(path, kYcFile);
    ASSERT_TRUE(LoadTableFile(loaded, path));
    EXPECT_EQ(loaded.RowCount(), 2);
    EXPECT_EQ(loaded.Cell(1, 0), "遥测量");
    EXPECT_EQ(DataRows(loaded), DataRows(table));
}

TEST(TableFile, SendRowQuotesTheHexTextAndEndsInAComma) {
    const auto table = MakeTable(4, {{"1", "Link", "68 0C 0C 68", ""}});
    EXPECT_EQ(TableFileBytes(table), kSendFile);
    const auto rows = TableFileRows(kSendFile, 4);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"1", "Link", "68 0C 0C 68", " "}));
    // The main window's send list has three columns: the fourth field is dropped.
    EXPECT_EQ(TableFileRows(kSendFile, 3)[0], (std::vector<std::string>{"1", "Link", "68 0C 0C 68"}));
}

TEST(TableFile, EmptyCellsComeBackAsOneSpaceAndAreThenWrittenQuoted) {
    const auto table = MakeTable(4, {{"1", "", "a", ""}});
    const auto rows = TableFileRows(TableFileBytes(table), 4);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"1", " ", "a", " "}));
    EXPECT_EQ(ScrambleText(TableFileBytes(MakeTable(4, rows)), kTableFileKey, true), "\x11\x16" "1,\" \",a,\" \"\r\n");
}

TEST(TableFile, RoundTripKeepsQuotesCommasAndCharactersOutsideGbk) {
    const std::vector<std::vector<std::string>> rows = {
        {"1", "a \"quoted\" name", "x,y", "\"\""},
        {"2", "温度😀", "€ ¥", "ㄅ𠀀"},
        {"3", "  lead", "trail  ", "0.5"}};
    const auto bytes = TableFileBytes(MakeTable(4, rows));
    EXPECT_EQ(TableFileRows(bytes, 4), rows);
    EXPECT_EQ(bytes.find_first_of(std::string("\r\n\0", 3)), bytes.size() - 2) << "the scrambled text is one line";
}

TEST(TableFile, ControlCharactersInACellAreSavedAsSpacesAndRowsStayApart) {
    const auto table = MakeTable(3, {{"1", "a\r\nb", std::string("c\0\x11\x16\x1B\td", 7)}, {"2", "next", "row"}});
    const auto rows = TableFileRows(TableFileBytes(table), 3);
    EXPECT_EQ(rows, (std::vector<std::vector<std::string>>{{"1", "a  b", "c     d"}, {"2", "next", "row"}}));
}

TEST(TableFile, EmptyFileMeansNoDataRows) {
    const auto path = FreshFolder() / "yx.sen";
    WriteBytes(path, "");
    Table table(4, 9);
    ASSERT_TRUE(LoadTableFile(table, path));
    EXPECT_EQ(table.RowCount(), 1);
    EXPECT_EQ(table.ColCount(), 4);
}

TEST(TableFile, MissingFileLeavesTheTableAlone) {
    auto table = MakeTable(4, {{"1", "keep"}});
    table.SetColWidth(1, 171);
    EXPECT_FALSE(LoadTableFile(table, FreshFolder() / "yc.sen"));
    EXPECT_EQ(table.RowCount(), 2);
    EXPECT_EQ(table.Cell(1, 1), "keep");
    EXPECT_EQ(table.ColWidth(1), 171);
}

TEST(TableFile, UnreadableFileThrowsAndLeavesTheTableAlone) {
    const auto path = FreshFolder() / "yc.sen";
    std::filesystem::create_directory(path);
    auto table = MakeTable(4, {{"1", "keep"}});
    EXPECT_THROW(LoadTableFile(table, path), FileError);
    EXPECT_EQ(DataRows(table), DataRows(MakeTable(4, {{"1", "keep"}})));
}

TEST(TableFile, SaveWritesTheFileAndAFailedSaveKeepsTheOldOne) {
    const auto folder = FreshFolder();
    SaveTableFile(MakeTable(4, {{"1", "遥测1", "kV", "0.5"}}), folder / "yc.sen");
    EXPECT_EQ(ReadBytes(folder / "yc.sen"), kYcFile);
    try {
        SaveTableFile(MakeTable(4, {{"1", "x"}}), folder / "missing" / "yc.sen");
        ADD_FAILURE() << "no error";
    } catch (const FileError& error) {
        EXPECT_NE(std::string(error.what()).find("missing/yc.sen"), std::string::npos) << error.what();
    }
}

TEST(TableFile, LinesAreFieldsRegardlessOfLineBreakStyle) {
    // A hand-made file: lines ending in CR, LF or CR LF; a NUL ends the text.
    const std::string plain = "1,a\r2,b\n3,c\r\n";
    const std::string file = ScrambleText(plain, kTableFileKey, true);
    const auto rows = TableFileRows(file, 2);
    EXPECT_EQ(rows, (std::vector<std::vector<std::string>>{{"1", "a"}, {"2", "b"}, {"3", "c"}}));
    EXPECT_TRUE(TableFileRows(std::string("\0", 1) + file, 2).empty());
}

TEST(TableFile, RandomDamageLoadsIntoWellFormedRows) {
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 200; ++round) {
        std::string bytes(static_cast<std::size_t>(byte(random)) * 4, '\0');
        for (char& c : bytes) c = static_cast<char>(byte(random));
        for (const auto& row : TableFileRows(bytes, 4)) {
            ASSERT_EQ(row.size(), 4u);
            for (const auto& cell : row) {
                ASSERT_EQ(cell.find('\0'), std::string::npos);
                ASSERT_EQ(GbkToUtf8(Utf8ToGbk(cell)), cell) << "cells are valid UTF-8";
            }
        }
    }
}

struct EncodeCase {
    const char* what;
    std::vector<std::string> cells;
    std::string line;
};

void PrintTo(const EncodeCase& c, std::ostream* out) { *out << c.what; }

class CommaTextEncode : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(CommaTextEncode, WritesTheLine) { EXPECT_EQ(EncodeCommaText(GetParam().cells), GetParam().line); }

INSTANTIATE_TEST_SUITE_P(
    Cells, CommaTextEncode,
    ::testing::Values(EncodeCase{"plain", {"1", "abc", "kV"}, "1,abc,kV"},
                      EncodeCase{"space", {"a b"}, "\"a b\""},
                      EncodeCase{"comma", {"a,b"}, "\"a,b\""},
                      EncodeCase{"quote doubled", {"say \"hi\""}, "\"say \"\"hi\"\"\""},
                      EncodeCase{"tab", {"a\tb"}, "\"a\tb\""},
                      EncodeCase{"three empty cells at the end", {"1", "a", "", "", ""}, "1,a,,,"},
                      EncodeCase{"gbk unquoted", {"\xD2\xA3\xB2\xE2"}, "\xD2\xA3\xB2\xE2"},
                      EncodeCase{"one empty cell", {""}, ""}));

struct ParseCase {
    const char* what;
    std::string line;
    std::vector<std::string> fields;
};

void PrintTo(const ParseCase& c, std::ostream* out) { *out << c.what; }

class CommaTextParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(CommaTextParse, ReadsTheFields) { EXPECT_EQ(ParseCommaText(GetParam().line), GetParam().fields); }

INSTANTIATE_TEST_SUITE_P(
    Lines, CommaTextParse,
    ::testing::Values(
        ParseCase{"plain", "1,abc,kV", {"1", "abc", "kV"}},
        ParseCase{"leading control bytes skipped", "\x11\x16  1,a", {"1", "a"}},
        ParseCase{"quoted with doubled quote", "\"a \"\"b\"\"\",c", {"a \"b\"", "c"}},
        ParseCase{"trailing comma adds an empty field", "1,a,", {"1", "a", ""}},
        ParseCase{"comma then blanks at the end adds nothing", "1,a, ", {"1", "a"}},
        ParseCase{"empty middle fields", "1,,,x", {"1", "", "", "x"}},
        ParseCase{"blanks separate fields too", "a b", {"a", "b"}},
        ParseCase{"blanks around commas", "a ,  b", {"a", "b"}},
        ParseCase{"text after a closing quote is a new field", "\"ab\"cd,e", {"ab", "cd", "e"}},
        ParseCase{"unclosed quote runs to the end", "1,\"abc, def", {"1", "abc, def"}},
        ParseCase{"empty quoted field", "\"\",x", {"", "x"}},
        ParseCase{"lead byte steps over a comma", "\xD2,x", {"\xD2,x"}},
        ParseCase{"lead byte steps over a quote inside quotes", "\"\xD2\"x\",y", {"\xD2\"x", "y"}},
        ParseCase{"lead byte at the end", "a\xD2", {"a\xD2"}},
        ParseCase{"nul ends the line", std::string("a,b\0,c", 6), {"a", "b"}},
        ParseCase{"empty line", "", {}}));

TEST(TextLines, FollowTheLineRules) {
    using Lines = std::vector<std::string_view>;
    EXPECT_EQ(SplitTextLines("a\r\nb"), (Lines{"a", "b"}));
    EXPECT_EQ(SplitTextLines("a\r\r\nb\n"), (Lines{"a", "", "b"}));
    EXPECT_EQ(SplitTextLines("\r\n"), (Lines{""}));
    EXPECT_EQ(SplitTextLines(""), (Lines{}));
    EXPECT_EQ(SplitTextLines(std::string("a\nb\0c\n", 6)), (Lines{"a", "b"}));
}

}  // namespace
}  // namespace tc101
