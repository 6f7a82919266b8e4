#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/console/args.h"
#include "app/console/commands.h"
#include "files/app_paths.h"
#include "files/comset_keys.h"
#include "files/table_csv.h"
#include "files/table_file.h"
#include "support/test_folder.h"

namespace tc101 {
namespace {

using testing::FreshFolder;
using testing::WriteBytes;

int RunAnalyse(std::vector<std::string> words) {
    std::vector<char*> pointers;
    for (auto& word : words) pointers.push_back(word.data());
    return console::RunAnalyse(console::Words(pointers.data(), pointers.size()));
}

TEST(AnalyseDefinitions, TableFilesFillTheDefinitionColumns) {
    const auto folder = FreshFolder();
    SaveTableFile(TableFromCsv(*FindTableKind("yc"), "遥测量,单位,比例\n温度,℃,0.1\n"), folder / "yc.sen");
    SaveTableFile(TableFromCsv(*FindTableKind("yx"), "遥信量,0的意义,1的意义\n开关,分,合\n"), folder / "yx.sen");
    ::testing::internal::CaptureStdout();
    const int code = RunAnalyse({"--yc", (folder / "yc.sen").string(), "--yx=" + (folder / "yx.sen").string(),
                                 "--tables", "E5"});
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(code, 0);
    EXPECT_NE(out.find("[GrdYC]\n\t遥测量\t单位\t比例\n1\t温度\t℃\t0.1\n[GrdYX]"), std::string::npos) << out;
    EXPECT_NE(out.find("1\t开关\t分\t合\n"), std::string::npos) << out;
}

TEST(AnalyseDefinitions, MissingFileIsAUsageErrorNamingIt) {
    const auto missing = (FreshFolder() / "yx.sen").string();
    try {
        RunAnalyse({"--yx", missing, "E5"});
        ADD_FAILURE() << "accepted";
    } catch (const console::UsageError& error) {
        EXPECT_NE(std::string(error.what()).find(missing), std::string::npos) << error.what();
    }
}

TEST(AnalyseDefinitions, StoredDecodingBytesAreTheDefaultsAndOptionsWin) {
    const testing::OwnAppDirectory appDirectory;
    WriteYcUseByte(4);
    WriteYxUseByte(1);
    // Four value octets and one telesignal octet: the counts show the widths used.
    const std::string burst = "68 0C 0C 68 08 01 09 81 14 01 01 40 05 01 02 00 F1 16 "
                              "68 09 09 68 08 01 01 81 14 01 01 00 01 A2 16";
    const struct {
        std::vector<std::string> options;
        const char* yc;
        const char* yx;
    } cases[] = {
        {{}, "共1个遥测量", "共8个遥信量"},
        {{"--yc-bytes", "1", "--yx-mode", "0"}, "共4个遥测量", "共1个遥信量"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> words = c.options;
        words.push_back(burst);
        ::testing::internal::CaptureStdout();
        RunAnalyse(words);
        const std::string out = ::testing::internal::GetCapturedStdout();
        EXPECT_NE(out.find(c.yc), std::string::npos) << out;
        EXPECT_NE(out.find(c.yx), std::string::npos) << out;
    }
}

}  // namespace
}  // namespace tc101
