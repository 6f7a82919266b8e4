// The demo's stand-in definitions: made only for the files the working
// folder lacks, never written over the user's, gone after the run, and
// readable as the window reads yc.sen and yx.sen.

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "app/demo/demo_definitions.h"
#include "files/file_io.h"
#include "files/table_file.h"
#include "protocol/value_tables.h"

namespace tc101::demo {
namespace {

namespace fs = std::filesystem;

// A missing file reads as empty.
std::string Bytes(const fs::path& file) { return ReadFileIfExists(file).value_or(""); }

class DemoDefinitionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "tc101-demo-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        previous_ = fs::current_path();
        fs::current_path(folder_);
    }
    void TearDown() override {
        fs::current_path(previous_);
        fs::remove_all(folder_);
    }
    // A user's own definition file in the working folder.
    void WriteUserFile(std::string_view name) {
        ValueTables tables;
        tables.GrdYC.SetCell(kYcNameCol, 1, "user");
        SaveTableFile(tables.GrdYC, fs::path(name));
    }

private:
    fs::path folder_;
    fs::path previous_;
};

TEST_F(DemoDefinitionsTest, StandInsOnlyForMissingFilesAndGoneAfterTheRun) {
    struct Case {
        bool userYc;
        bool userYx;
    } cases[] = {{false, false}, {true, false}, {false, true}, {true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "user yc.sen " << c.userYc << ", yx.sen " << c.userYx);
        fs::remove(kYcFileName);
        fs::remove(kYxFileName);
        if (c.userYc) WriteUserFile(kYcFileName);
        if (c.userYx) WriteUserFile(kYxFileName);
        const std::string ycBefore = Bytes(kYcFileName);
        const std::string yxBefore = Bytes(kYxFileName);
        std::optional<fs::path> made;
        {
            const SessionDefinitions definitions(8, 16);
            EXPECT_EQ(definitions.YcFile().has_value(), !c.userYc);
            EXPECT_EQ(definitions.YxFile().has_value(), !c.userYx);
            for (const auto& file : {definitions.YcFile(), definitions.YxFile()}) {
                if (!file) continue;
                EXPECT_TRUE(fs::exists(*file));
                EXPECT_NE(fs::absolute(*file).parent_path(), fs::current_path()) << "a stand-in in the working folder";
                made = file;
            }
        }
        if (made) {
            EXPECT_FALSE(fs::exists(made->parent_path())) << "the stand-ins' folder outlived the run";
        }
        EXPECT_EQ(fs::exists(kYcFileName), c.userYc);
        EXPECT_EQ(fs::exists(kYxFileName), c.userYx);
        EXPECT_EQ(Bytes(kYcFileName), ycBefore);
        EXPECT_EQ(Bytes(kYxFileName), yxBefore);
    }
}

TEST_F(DemoDefinitionsTest, NoStandInForAStationWithoutSuchPoints) {
    const SessionDefinitions definitions(0, 0);
    EXPECT_FALSE(definitions.YcFile());
    EXPECT_FALSE(definitions.YxFile());
}

TEST_F(DemoDefinitionsTest, StandInsLoadAsTheWindowLoadsDefinitions) {
    struct Case {
        int yc;
        int yx;
    } cases[] = {{8, 16}, {3, 1}, {20, 40}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.yc << " measured values, " << c.yx << " telesignals");
        const SessionDefinitions definitions(c.yc, c.yx);
        ASSERT_TRUE(definitions.YcFile() && definitions.YxFile());
        ValueTables tables;
        ASSERT_TRUE(LoadTableFile(tables.GrdYC, *definitions.YcFile()));
        ASSERT_TRUE(LoadTableFile(tables.GrdYX, *definitions.YxFile()));
        EXPECT_EQ(tables.DataRowCount(ValuePage::Yc), c.yc);
        EXPECT_EQ(tables.DataRowCount(ValuePage::Yx), c.yx);
        for (int row = 1; row <= c.yc; ++row) {
            EXPECT_FALSE(tables.Definition(ValuePage::Yc, kYcNameCol, row).empty()) << row;
            EXPECT_FALSE(tables.Definition(ValuePage::Yc, kYcRatioCol, row).empty()) << row;
        }
        for (int row = 1; row <= c.yx; ++row) {
            EXPECT_EQ(tables.Definition(ValuePage::Yx, kYxNameCol, row), "开关" + std::to_string(row));
            EXPECT_EQ(tables.Definition(ValuePage::Yx, kYxState0Col, row), "分");
            EXPECT_EQ(tables.Definition(ValuePage::Yx, kYxState1Col, row), "合");
        }
    }
}

}  // namespace
}  // namespace tc101::demo
