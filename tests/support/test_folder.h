#pragma once

// A fresh, empty folder per test under the test's private configuration folder.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "files/file_io.h"

namespace tc101::testing {

inline std::filesystem::path FreshFolder() {
    const char* base = std::getenv("TC101_CONFIG_DIR");
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name)
        if (c == '/') c = '_';
    auto folder = std::filesystem::path(base ? base : "/tmp/tc101-tests") / "work" / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

// Points the application directory at a fresh folder of the test's own, so
// tests that ctest runs side by side never share comset.ini.
class OwnAppDirectory {
public:
    OwnAppDirectory() : saved_(std::getenv("TC101_CONFIG_DIR") ? std::getenv("TC101_CONFIG_DIR") : "") {
        const auto folder = FreshFolder() / "app";
        std::filesystem::create_directories(folder);
        ::setenv("TC101_CONFIG_DIR", folder.c_str(), 1);
    }
    ~OwnAppDirectory() { ::setenv("TC101_CONFIG_DIR", saved_.c_str(), 1); }
    OwnAppDirectory(const OwnAppDirectory&) = delete;
    OwnAppDirectory& operator=(const OwnAppDirectory&) = delete;

private:
    std::string saved_;
};

inline std::string ReadBytes(const std::filesystem::path& path) { return ReadFileIfExists(path).value_or("<missing>"); }

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

}  // namespace tc101::testing
