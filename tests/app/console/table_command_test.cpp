#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/console/args.h"
#include "app/console/commands.h"
#include "support/test_folder.h"

namespace tc101 {
namespace {

using testing::FreshFolder;
using testing::ReadBytes;
using testing::WriteBytes;

int RunTable(std::vector<std::string> words) {
    std::vector<char*> pointers;
    for (auto& word : words) pointers.push_back(word.data());
    return console::RunTable(console::Words(pointers.data(), pointers.size()));
}

TEST(TableCommand, ImportThenExportGivesTheCsvBack) {
    const auto folder = FreshFolder();
    const std::string csv = "遥信量,0的意义,1的意义\r\n开关1,分,合\r\n门 禁,关,开\r\n";
    WriteBytes(folder / "in.csv", csv);
    EXPECT_EQ(RunTable({"import", (folder / "in.csv").string(), (folder / "yx.sen").string(), "--kind", "yx"}), 0);
    EXPECT_EQ(RunTable({"export", (folder / "yx.sen").string(), (folder / "out.csv").string(), "--kind=yx"}), 0);
    EXPECT_EQ(ReadBytes(folder / "out.csv"), csv);
}

TEST(TableCommand, RefusedCsvWritesNothing) {
    const auto folder = FreshFolder();
    WriteBytes(folder / "yc.sen", "old");
    WriteBytes(folder / "in.csv", "遥测量,单位,比例\na,b,1\nd,e\n");
    try {
        RunTable({"import", (folder / "in.csv").string(), (folder / "yc.sen").string(), "--kind", "yc"});
        ADD_FAILURE() << "accepted";
    } catch (const console::UsageError& error) {
        EXPECT_NE(std::string(error.what()).find("line 3"), std::string::npos) << error.what();
    }
    EXPECT_EQ(ReadBytes(folder / "yc.sen"), "old");
}

TEST(TableCommand, MissingFilesAndWordsAreUsageErrors) {
    const auto folder = FreshFolder();
    EXPECT_THROW(RunTable({"show", (folder / "none.sen").string()}), console::UsageError);
    EXPECT_THROW(RunTable({"export", (folder / "none.sen").string(), "-", "--kind", "yc"}), console::UsageError);
    EXPECT_THROW(RunTable({"import", "a.csv", "b.sen"}), console::UsageError);  // no --kind
    EXPECT_THROW(RunTable({"import", "a.csv", "b.sen", "--kind", "yz"}), console::UsageError);
    EXPECT_THROW(RunTable({"frobnicate"}), console::UsageError);
    EXPECT_THROW(RunTable({}), console::UsageError);
}

}  // namespace
}  // namespace tc101
