#include "files/shipped_document.h"

#include <gtest/gtest.h>

#include <fstream>

namespace tc101 {
namespace {

namespace fs = std::filesystem;

// An installed tree (prefix/bin, prefix/share/doc/tc101tool), a portable
// folder and a source tree: the installed copy wins, then the one beside the
// program, then the source tree's path.
TEST(ShippedDocument, InstalledFirstThenBesideTheProgramThenTheSource) {
    const fs::path root = fs::temp_directory_path() / "tc101_shipped_document";
    fs::remove_all(root);
    const fs::path bin = root / "usr/bin";
    const fs::path doc = root / "usr/share/doc/tc101tool";
    const fs::path source = root / "src";
    struct Case {
        const char* label;
        std::vector<fs::path> present;
        fs::path expected;
    };
    const Case cases[] = {
        {"installed", {doc / "README.md", bin / "README.md", source / "README.md"}, doc / "README.md"},
        {"portable", {bin / "README.md", source / "README.md"}, bin / "README.md"},
        {"built here", {source / "README.md"}, source / "README.md"},
        {"nowhere", {}, source / "README.md"},
    };
    for (const Case& c : cases) {
        fs::remove_all(root);
        for (const fs::path& dir : {bin, doc, source}) fs::create_directories(dir);
        for (const fs::path& file : c.present) std::ofstream(file) << "# tc101tool\n";
        EXPECT_EQ(FindShippedDocument("README.md", {bin, "../share/doc/tc101tool", source}), c.expected) << c.label;
    }
    EXPECT_EQ(FindShippedDocument("README.md", {{}, "../share/doc/tc101tool", source}), source / "README.md");
    fs::remove_all(root);
}

}  // namespace
}  // namespace tc101
