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
