#pragma once

// The INI store: comset.ini, bwset.ini and FromSizeInfo.ini, with Windows
// private-profile behaviour because users carry these files over from the
// Windows tool. Every call opens the file, reads or writes it and closes it:
// nothing is cached, so two IniFile objects on one path never disagree.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "files/file_error.h"

namespace tc101 {

class IniFile {
public:
    explicit IniFile(std::filesystem::path path);
    const std::filesystem::path& Path() const { return path_; }

    // A missing or unreadable file, section or key gives the default.
    std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const;
    // Decimal or 0x-prefixed hexadecimal; any other text gives the default.
    std::int64_t ReadInteger(std::string_view section, std::string_view key, std::int64_t defaultValue) const;
    // Read as an integer: non-zero is true.
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

    // Each write replaces the file atomically and keeps every other line as it
    // was. Throws FileError naming the file; the file is then unchanged.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, std::int64_t value);
    void WriteBool(std::string_view section, std::string_view key, bool value);

private:
    std::filesystem::path path_;
};

}  // namespace tc101
