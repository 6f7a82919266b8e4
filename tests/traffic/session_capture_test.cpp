#include "traffic/session_capture.h"

#include "files/file_io.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace tc101 {
namespace {

namespace fs = std::filesystem;

const fs::path kFolder = fs::temp_directory_path() / "tc101_session_capture";

// A fresh folder with "0.txt", "1.txt", ... of the sizes, each a minute newer than the one before.
void MakeFiles(const std::vector<std::uintmax_t>& sizes) {
    fs::remove_all(kFolder);
    fs::create_directories(kFolder);
    const auto start = fs::file_time_type::clock::now() - std::chrono::hours(24);
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        const fs::path file = kFolder / (std::to_string(i) + ".txt");
        std::ofstream(file) << std::string(sizes[i], 'x');
        fs::last_write_time(file, start + std::chrono::minutes(i));
    }
}

std::set<std::string> Names() {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(kFolder)) names.insert(entry.path().filename().string());
    return names;
}

TEST(SessionCapture, PruningRemovesTheOldestBeyondEitherBound) {
    const std::tuple<const char*, std::vector<std::uintmax_t>, std::size_t, std::uintmax_t, std::set<std::string>> cases[] = {
        {"within both", {10, 10}, 2, 20, {"0.txt", "1.txt", "notes.md"}},
        {"too many files", {1, 1, 1, 1}, 2, 100, {"2.txt", "3.txt", "notes.md"}},
        {"too many bytes", {50, 10, 30, 20}, 10, 55, {"2.txt", "3.txt", "notes.md"}},
        {"one file over the bytes", {10, 300}, 10, 100, {"notes.md"}},
    };
    for (const auto& [label, sizes, maxFiles, maxBytes, kept] : cases) {
        MakeFiles(sizes);
        std::ofstream(kFolder / "notes.md") << "not a capture";
        PruneSessionLogs(kFolder, maxFiles, maxBytes);
        EXPECT_EQ(Names(), kept) << label;
    }
    fs::remove_all(kFolder);
}

TEST(SessionCapture, ANewCaptureIsStampedNeverTakesAnotherRunsFileAndFitsTheBound) {
    MakeFiles(std::vector<std::uintmax_t>(kSessionLogMaxFiles, 1));
    const auto moment = std::chrono::system_clock::now();
    {
        SessionCapture first(kFolder, moment);
        SessionCapture second(kFolder, moment);
        EXPECT_EQ(Names().size(), kSessionLogMaxFiles);
        EXPECT_FALSE(Names().contains("0.txt"));
        EXPECT_EQ(first.Path().filename().string().size(), std::string("20260307-210509.txt").size());
        EXPECT_EQ(second.Path(), kFolder / (first.Path().stem().string() + "-2.txt"));

        first.Append("TX:10 49 01 4A 16\nRx:E5\r\n");
        first.Append("");
        EXPECT_EQ(ReadFileIfExists(first.Path()), "TX:10 49 01 4A 16\r\nRx:E5\r\n\r\n\r\n");
    }
    fs::remove_all(kFolder);
}

}  // namespace
}  // namespace tc101
