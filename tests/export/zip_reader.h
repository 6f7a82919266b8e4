#pragma once

// Just enough of the zip format to read a workbook back in the tests:
// the central directory, stored and deflated members.

#include <filesystem>
#include <map>
#include <string>

namespace tc101::testing {

// Every member of the archive by name, uncompressed. Throws std::runtime_error
// on anything it cannot read.
std::map<std::string, std::string> ReadZip(const std::filesystem::path& file);

}  // namespace tc101::testing
