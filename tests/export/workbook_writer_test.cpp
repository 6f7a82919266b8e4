#include "export/workbook_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "export/sheet_layout.h"
#include "xlsx_reader.h"

namespace tc101 {
namespace {

using testing::ReadWorkbook;
using testing::Sheet;

// A private folder per test, removed afterwards.
class WorkbookTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("tc101_export_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    std::filesystem::path folder_;
};

// The value tables after a little traffic from link address 1.
struct AfterTraffic : ValueTables {
    AfterTraffic() {
        GrdYC.SetCell(kYcNameCol, 1, "电压");
        GrdYC.SetCell(kYcUnitCol, 1, "kV");
        GrdYC.SetCell(kYcRatioCol, 1, "100");
        GrdYC.SetCell(kYcNameCol, 2, "电流");
        EnsureDeviceColumn(ValuePage::Yc, 1);
        WriteValue(ValuePage::Yc, 1, 1, "68 0C");
        WriteValue(ValuePage::Yc, 1, 2, "-12.5");
    }
};

TEST_F(WorkbookTest, ValueTablesGiveThreeSheetsInOrderWithTheLayoutRules) {
    const AfterTraffic tables;
    const auto file = folder_ / "out.xlsx";
    WriteValueTablesWorkbook(file, tables);
    const std::vector<Sheet> sheets = ReadWorkbook(file);

    ASSERT_EQ(sheets.size(), 3u);
    EXPECT_EQ(sheets[0].name, "遥测量");
    EXPECT_EQ(sheets[1].name, "遥信量");
    EXPECT_EQ(sheets[2].name, "事件纪录");

    // Column 0 is left out: grid column c is sheet column c, grid row r sheet row r + 1.
    const Sheet& yc = sheets[0];
    const int rows = tables.GrdYC.RowCount();
    EXPECT_EQ(yc.ColumnCount(), 4);
    EXPECT_EQ(yc.RowCount(), rows);
    EXPECT_EQ(yc.cells.size(), static_cast<size_t>(4 * rows));
    EXPECT_EQ(yc.cells.at({1, 1}).text, "遥测量");
    EXPECT_EQ(yc.cells.at({4, 1}).text, "1#设备");
    EXPECT_EQ(yc.cells.at({1, 2}).text, " 电压 ");
    // Numbers as numbers, texts as padded strings.
    EXPECT_EQ(yc.cells.at({3, 2}).text, "100");
    EXPECT_TRUE(yc.cells.at({3, 2}).number);
    EXPECT_EQ(yc.cells.at({4, 2}).text, " 68 0C ");
    EXPECT_EQ(yc.cells.at({1, 3}).text, " 电流 ");
    EXPECT_EQ(yc.cells.at({4, 3}).text, "-12.5");
    EXPECT_TRUE(yc.cells.at({4, 3}).number);
    EXPECT_EQ(yc.cells.at({4, 4}).text, "  ");
    for (const auto& [at, cell] : yc.cells) {
        if (at != std::pair{3, 2} && at != std::pair{4, 3}) {
            EXPECT_FALSE(cell.number) << at.first << "," << at.second;
        }
    }
    EXPECT_EQ(yc.widths, (std::map<int, int>{{1, 12}, {2, 9}, {3, 13}, {4, Table::kDefaultColWidth / 8}}));
    for (const auto& sheet : sheets)
        for (const auto& [at, cell] : sheet.cells)
            EXPECT_TRUE(cell.centred) << sheet.name << " column " << at.first << " row " << at.second;

    const Sheet& yx = sheets[1];
    EXPECT_EQ(yx.ColumnCount(), 3);
    EXPECT_EQ(yx.cells.at({2, 1}).text, "0的意义");
    EXPECT_EQ(yx.widths, (std::map<int, int>{{1, 12}, {2, 9}, {3, 8}}));

    // The empty event table: titles in row 1, cells of two spaces in row 2, nothing after.
    const Sheet& sj = sheets[2];
    EXPECT_EQ(sj.RowCount(), 2);
    EXPECT_EQ(sj.ColumnCount(), 3);
    const char* titles[] = {"时间", "遥信量", "状态"};
    for (int col = 1; col <= 3; ++col) {
        EXPECT_EQ(sj.cells.at({col, 1}).text, titles[col - 1]);
        EXPECT_EQ(sj.cells.at({col, 2}).text, "  ");
    }
    EXPECT_EQ(sj.widths, (std::map<int, int>{{1, 26}, {2, 20}, {3, 9}}));
}

TEST_F(WorkbookTest, EventsLandOneRowBelowTheirGridRow) {
    ValueTables tables;
    const std::string closed = "合";
    tables.AppendEvents(2);
    tables.WriteEvent("12:00:00:001", "开关1", &closed);
    tables.WriteEvent("12:00:00:002", "开关2", nullptr);
    const auto file = folder_ / "events.xlsx";
    WriteValueTablesWorkbook(file, tables);
    const Sheet sj = ReadWorkbook(file)[2];
    EXPECT_EQ(sj.RowCount(), tables.GrdSJ.RowCount());
    EXPECT_EQ(sj.cells.at({1, 2}).text, " 12:00:00:001 ");
    EXPECT_EQ(sj.cells.at({3, 2}).text, " 合 ");
    EXPECT_EQ(sj.cells.at({2, 3}).text, " 开关2 ");
    EXPECT_EQ(sj.cells.at({3, 3}).text, "  ");
}

TEST_F(WorkbookTest, ATableWithOnlyItsNumberColumnGivesAnEmptySheet) {
    const Table numbersOnly(1, 3);
    const SheetSource sheets[] = {{"空", numbersOnly}};
    const auto file = folder_ / "empty.xlsx";
    WriteWorkbook(file, sheets);
    const auto read = ReadWorkbook(file);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_TRUE(read[0].cells.empty());
    EXPECT_TRUE(read[0].widths.empty());
}

TEST_F(WorkbookTest, TextThatIsNotUtf8StillGivesAReadableWorkbook) {
    Table table(2, 2);
    table.SetCell(1, 0, "名\xff");
    table.SetCell(1, 1, "a\xe4\xbd");
    const SheetSource sheets[] = {{"表", table}};
    const auto file = folder_ / "bytes.xlsx";
    WriteWorkbook(file, sheets);
    const auto read = ReadWorkbook(file);
    EXPECT_EQ(read[0].cells.at({1, 1}).text, "名\uFFFD");
    EXPECT_EQ(read[0].cells.at({1, 2}).text, " a\uFFFD\uFFFD ");
}

std::string Contents(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

TEST_F(WorkbookTest, AnExistingFileIsReplacedOnlyBySuccess) {
    const auto file = folder_ / "again.xlsx";
    std::ofstream(file) << "old contents";
    const Table table(2, 2);
    const SheetSource badName[] = {{"a/b", table}};
    EXPECT_THROW(WriteWorkbook(file, badName), ExportError);
    EXPECT_EQ(Contents(file), "old contents");

    const ValueTables tables;
    WriteValueTablesWorkbook(file, tables.GrdYC, tables.GrdYX, tables.GrdSJ);
    EXPECT_EQ(ReadWorkbook(file).size(), 3u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), {}), 1);
}

struct FailureCase {
    const char* label;
    std::filesystem::path (*file)(const std::filesystem::path& folder);
    const char* sheetName;
    const char* secondSheetName;  // nullptr: one sheet
    const char* reason;
};

const FailureCase kFailures[] = {
    {"missing folder", [](const auto& folder) { return folder / "no such folder" / "x.xlsx"; }, "遥测量", nullptr,
     "No such file or directory"},
    {"folder is a file",
     [](const auto& folder) {
         std::ofstream(folder / "plain") << "x";
         return folder / "plain" / "x.xlsx";
     },
     "遥测量", nullptr, "Not a directory"},
    {"the path is a folder",
     [](const auto& folder) {
         std::filesystem::create_directory(folder / "d.xlsx");
         return folder / "d.xlsx";
     },
     "遥测量", nullptr, "Is a directory"},
    {"bad sheet name", [](const auto& folder) { return folder / "bad.xlsx"; }, "a[1]", nullptr, "a[1]"},
    {"sheet name too long", [](const auto& folder) { return folder / "long.xlsx"; },
     "一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二", nullptr, "31"},
    {"repeated sheet name", [](const auto& folder) { return folder / "twice.xlsx"; }, "遥测量", "遥测量",
     "遥测量"},
};

void PrintTo(const FailureCase& c, std::ostream* out) { *out << c.label; }

class WorkbookFailure : public WorkbookTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(WorkbookFailure, NamesTheFileAndTheReasonAndLeavesNoFile) {
    const FailureCase& c = GetParam();
    const auto file = c.file(folder_);
    const Table table(3, 2);
    std::vector<SheetSource> sheets{{c.sheetName, table}};
    if (c.secondSheetName) sheets.push_back({c.secondSheetName, table});
    try {
        WriteWorkbook(file, sheets);
        FAIL() << "no error";
    } catch (const ExportError& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find(file.string()), std::string::npos) << message;
        EXPECT_NE(message.find(c.reason), std::string::npos) << message;
    }
    EXPECT_FALSE(std::filesystem::is_regular_file(file));
    for (const auto& entry : std::filesystem::directory_iterator(folder_))
        EXPECT_FALSE(entry.path().string().ends_with(".part")) << entry.path();
}

INSTANTIATE_TEST_SUITE_P(Export, WorkbookFailure, ::testing::ValuesIn(kFailures),
                         [](const auto& test) {
                             std::string name = test.param.label;
                             for (char& ch : name)
                                 if (ch == ' ') ch = '_';
                             return name;
                         });

}  // namespace
}  // namespace tc101
