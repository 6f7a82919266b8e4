#include "export/sheet_layout.h"

#include <gtest/gtest.h>

#include "export/export_file_name.h"

namespace tc101 {
namespace {

TEST(SheetLayout, WidthIsPixelsOverEightWithinTheSpreadsheetsLimits) {
    const std::pair<int, int> cases[] = {{102, 12}, {64, 8}, {73, 9}, {7, 0}, {8, 1}, {0, 0}, {-16, 0}, {5000, 255}};
    for (const auto& [pixels, width] : cases) EXPECT_EQ(SheetColumnWidth(pixels), width) << pixels;
}

TEST(SheetLayout, MalformedUtf8BecomesReplacementCharacters) {
    const std::pair<std::string, std::string> cases[] = {
        {"68 0C 遥信 €𝄞", "68 0C 遥信 €𝄞"},
        {"\xff", "\uFFFD"},
        {"a\xc3", "a\uFFFD"},                  // cut at the end
        {"\xc0\xaf", "\uFFFD\uFFFD"},          // overlong '/'
        {"\xed\xa0\x80", "\uFFFD\uFFFD\uFFFD"},  // surrogate
        {"\xf4\x90\x80\x80", "\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
        {std::string("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(ValidUtf8(in), out);
}

TEST(SheetLayout, OnlyPlainDecimalNumbersBecomeNumbers) {
    const std::pair<const char*, std::optional<double>> cases[] = {
        {"2000", 2000},      {"-12.5", -12.5},   {"0", 0},          {"0.25", 0.25},     {"+7", 7},
        {"1.5E3", 1500},     {"-0.001", -0.001}, {"", std::nullopt}, {" 2000 ", std::nullopt},
        {"68 0C", std::nullopt}, {"007", std::nullopt}, {"1,000", std::nullopt}, {"12:00:00:001", std::nullopt},
        {"1#设备", std::nullopt}, {"0x10", std::nullopt}, {"1.", std::nullopt}, {".5", std::nullopt},
        {"1e", std::nullopt},  {"inf", std::nullopt}, {"nan", std::nullopt}, {"1e999", std::nullopt},
        {"-", std::nullopt},   {"1234567890123456", std::nullopt}, {"123456789012345", 123456789012345.0},
    };
    for (const auto& [text, number] : cases) EXPECT_EQ(DecimalNumber(text), number) << text;
    Table table(2, 2);
    table.SetCell(1, 0, "100");
    table.SetCell(1, 1, "100");
    EXPECT_EQ(SheetCellNumber(table, 1, 0), std::nullopt);  // a title stays text
    EXPECT_EQ(SheetCellNumber(table, 1, 1), 100.0);
}

using namespace std::chrono;

constexpr local_seconds At(int y, unsigned mo, unsigned d, int h, int mi, int s) {
    return local_days(year(y) / month(mo) / day(d)) + hours(h) + minutes(mi) + seconds(s);
}

TEST(ExportFileName, StampsTheLocalTimeToTheSecond) {
    const std::pair<local_seconds, const char*> cases[] = {
        {At(2026, 12, 8, 3, 4, 5), "遥测遥信_20261208030405.xlsx"},
        {At(2024, 2, 29, 23, 59, 59), "遥测遥信_20240229235959.xlsx"},
        {At(2000, 1, 1, 0, 0, 0), "遥测遥信_20000101000000.xlsx"},
    };
    for (const auto& [time, name] : cases) EXPECT_EQ(ExportFileName(time), name);
}

TEST(ExportFileName, ATakenNameGetsANumberSoNoEarlierExportIsOverwritten) {
    const auto time = At(2026, 12, 8, 3, 4, 5);
    const std::filesystem::path folder = "/tmp";
    int taken = 0;
    const auto firstFree = [&](const std::filesystem::path& candidate) {
        (void)candidate;
        return taken-- > 0;
    };
    taken = 0;
    EXPECT_EQ(ProposedExportPath(time, folder, firstFree), folder / "遥测遥信_20261208030405.xlsx");
    taken = 1;
    EXPECT_EQ(ProposedExportPath(time, folder, firstFree), folder / "遥测遥信_20261208030405_2.xlsx");
    taken = 2;
    EXPECT_EQ(ProposedExportPath(time, folder, firstFree), folder / "遥测遥信_20261208030405_3.xlsx");
}

}  // namespace
}  // namespace tc101
