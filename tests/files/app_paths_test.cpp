#include "files/app_paths.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace tc101 {
namespace {

struct PathCase {
    const char* what;
    AppDirectoryInputs inputs;
    std::filesystem::path expected;
};

void PrintTo(const PathCase& c, std::ostream* out) { *out << c.what; }

class AppDirectoryRule : public ::testing::TestWithParam<PathCase> {};

TEST_P(AppDirectoryRule, PicksTheRightFolder) {
    EXPECT_EQ(ChooseAppDirectory(GetParam().inputs), GetParam().expected) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AppDirectoryRule,
    ::testing::Values(PathCase{"override wins", {"/cfg", "/opt/tc", true, "/x", "/home/u"}, "/cfg"},
                      PathCase{"portable copy", {"", "/opt/tc", true, "/x", "/home/u"}, "/opt/tc"},
                      PathCase{"read-only install uses XDG", {"", "/usr/bin", false, "/x", "/home/u"},
                               "/x/tc101tool"},
                      PathCase{"relative XDG is ignored", {"", "/usr/bin", false, "rel", "/home/u"},
                               "/home/u/.config/tc101tool"},
                      PathCase{"no XDG", {"", "/usr/bin", false, "", "/home/u"}, "/home/u/.config/tc101tool"},
                      PathCase{"installed, writable for root", {"", "/usr/bin", true, "", "/root", true},
                               "/root/.config/tc101tool"}));

TEST(AppDirectory, EnvironmentOverrideIsUsedAndCreated) {
    const char* base = std::getenv("TC101_CONFIG_DIR");
    ASSERT_NE(base, nullptr);
    const auto folder = std::filesystem::path(base) / "nested" / "app";
    std::filesystem::remove_all(folder);
    ::setenv("TC101_CONFIG_DIR", folder.c_str(), 1);
    EXPECT_EQ(AppFile("comset.ini"), folder / "comset.ini");
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    ::setenv("TC101_CONFIG_DIR", base, 1);
}

}  // namespace
}  // namespace tc101
