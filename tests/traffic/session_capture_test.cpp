#include "traffic/session_capture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace tc101 {
namespace {

namespace fs = std::filesystem;

class SessionCaptureTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("tc101_capture_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    // Files "0.txt", "1.txt", ... of the sizes, each a minute newer than the one before.
    void MakeFiles(const std::vector<std::uintmax_t>& sizes) {
        const auto start = fs::file_time_type::clock::now() - std::chrono::hours(24);
        for (std::size_t i = 0; i < sizes.size(); ++i) {
            const fs::path file = folder_ / (std::to_string(i) + ".txt");
            std::ofstream(file) << std::string(sizes[i], 'x');
            fs::last_write_time(file, start + std::chrono::minutes(i));
        }
    }
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_)) names.insert(entry.path().filename().string());
        return names;
    }

    fs::path folder_;
};

TEST_F(SessionCaptureTest, PruningRemovesTheOldestBeyondEitherBound) {
    struct Case {
        const char* label;
        std::vector<std::uintmax_t> sizes;
        std::size_t maxFiles;
        std::uintmax_t maxBytes;
        std::set<std::string> kept;
    };
    const Case cases[] = {
        {"within both", {10, 10}, 2, 20, {"0.txt", "1.txt"}},
        {"too many files", {1, 1, 1, 1}, 2, 100, {"2.txt", "3.txt"}},
        {"too many bytes", {50, 10, 30, 20}, 10, 55, {"2.txt", "3.txt"}},
        {"one file over the bytes", {10, 300}, 10, 100, {}},
    };
    for (const Case& c : cases) {
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        MakeFiles(c.sizes);
        std::ofstream(folder_ / "notes.md") << "not a capture";
        PruneSessionLogs(folder_, c.maxFiles, c.maxBytes);
        std::set<std::string> kept = c.kept;
        kept.insert("notes.md");
        EXPECT_EQ(Names(), kept) << c.label;
    }
}

TEST_F(SessionCaptureTest, ANewCaptureIsStampedNeverTakesAnotherRunsFileAndFitsTheBound) {
    MakeFiles(std::vector<std::uintmax_t>(kSessionLogMaxFiles, 1));
    const auto moment = std::chrono::system_clock::now();
    SessionCapture first(folder_, moment);
    SessionCapture second(folder_, moment);
    EXPECT_EQ(Names().size(), kSessionLogMaxFiles);
    EXPECT_FALSE(Names().contains("0.txt"));
    EXPECT_EQ(first.Path().parent_path(), folder_);
    EXPECT_EQ(second.Path().string(), first.Path().stem().string().insert(0, folder_.string() + "/") + "-2.txt");
    EXPECT_EQ(first.Path().filename().string().size(), std::string("20260307-210509.txt").size());

    first.Append("TX:10 49 01 4A 16\nRx:E5\r\n");
    first.Append("");
    std::ifstream in(first.Path(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes, "TX:10 49 01 4A 16\r\nRx:E5\r\n\r\n\r\n");
}

}  // namespace
}  // namespace tc101
