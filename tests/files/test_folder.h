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

inline std::string ReadBytes(const std::filesystem::path& path) { return ReadFileIfExists(path).value_or("<missing>"); }

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

}  // namespace tc101::testing
