#include "files/ini_file.h"

#include <stdexcept>

#include "files/file_io.h"
#include "files/ini_text.h"

namespace tc101 {

IniFile::IniFile(std::filesystem::path path) : path_(std::move(path)) {}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
    std::optional<std::string> bytes;
    try {
        bytes = ReadFileIfExists(path_);
    } catch (const FileError&) {
        // An unreadable file reads as a missing one, as the Windows profile functions do.
    }
    if (!bytes) return std::string(defaultValue);
    auto value = ini::FindValue(*bytes, section, key);
    return value ? std::move(*value) : std::string(defaultValue);
}

std::int64_t IniFile::ReadInteger(std::string_view section, std::string_view key, std::int64_t defaultValue) const {
    const auto text = ReadString(section, key, {});
    return ini::ParseInteger(text).value_or(defaultValue);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    // A file that exists but cannot be read must not be replaced by one holding this key alone.
    const auto bytes = ReadFileIfExists(path_);
    std::string updated;
    try {
        updated = ini::SetValue(bytes.value_or(std::string()), section, key, value);
    } catch (const std::invalid_argument& error) {
        throw FileError("Cannot write \"" + path_.string() + "\": " + error.what());
    }
    WriteFileAtomically(path_, updated);
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, std::int64_t value) {
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

}  // namespace tc101
