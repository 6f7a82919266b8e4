#pragma once

// Where a document that ships with the program (README.md) is read from.

#include <filesystem>
#include <string_view>

namespace tc101 {

// The installed copy (share/doc/tc101tool beside the program's bin folder),
// else a copy beside the program (a portable folder), else the source tree
// the program was built from, where a developer's build finds it.
std::filesystem::path ShippedDocument(std::string_view name);

// The rule behind ShippedDocument over the folders it looks in: the first
// that holds the file, or the source folder's path when none does.
struct ShippedDocumentFolders {
    std::filesystem::path executableFolder;
    std::filesystem::path docFromExecutable;  // e.g. ../share/doc/tc101tool
    std::filesystem::path sourceFolder;
};
std::filesystem::path FindShippedDocument(std::string_view name, const ShippedDocumentFolders& folders);

}  // namespace tc101
