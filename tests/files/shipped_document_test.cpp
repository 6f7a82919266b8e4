#include "files/shipped_document.h"

#include <gtest/gtest.h>

#include <fstream>

namespace tc101 {
namespace {

namespace fs = std::filesystem;

// The installed copy wins, then the one beside the program, then the source tree's path.
TEST(ShippedDocument, InstalledFirstThenBesideTheProgramThenTheSource) {
    const fs::path root = fs::temp_directory_path() / "tc101_shipped_document";
    const fs::path bin = root / "usr/bin", doc = root / "usr/share/doc/tc101tool", source = root / "src";
    const std::pair<std::vector<fs::path>, fs::path> cases[] = {
        {{doc, bin, source}, doc},
        {{bin, source}, bin},
        {{source}, source},
        {{}, source},
    };
    for (const auto& [present, expected] : cases) {
        fs::remove_all(root);
        for (const fs::path& dir : {bin, doc, source}) fs::create_directories(dir);
        for (const fs::path& dir : present) std::ofstream(dir / "README.md") << "# tc101tool\n";
        EXPECT_EQ(FindShippedDocument("README.md", {bin, "../share/doc/tc101tool", source}), expected / "README.md");
    }
    EXPECT_EQ(FindShippedDocument("README.md", {{}, "../share/doc/tc101tool", source}), source / "README.md");
    fs::remove_all(root);
}

}  // namespace
}  // namespace tc101
