#pragma once

// Whole-file reads and all-or-nothing writes, shared by the INI store and the
// table files. Each call opens, does its work and closes.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "files/file_error.h"

namespace tc101 {

// The file's bytes, or nothing when it does not exist. Throws FileError when
// it exists but cannot be read.
std::optional<std::string> ReadFileIfExists(const std::filesystem::path& path);

// Replaces the file with exactly these bytes: a temporary file in the same
// folder is written, flushed to disk and renamed over the old one, so a crash
// leaves the old file or the new one, never part of either. A symbolic link is
// followed, and an existing file keeps its permissions. Throws FileError.
void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// "Cannot open file "NAME". REASON" and its write twin, in the words the user sees.
std::string CannotOpenMessage(const std::filesystem::path& path, int errorNumber);
std::string CannotCreateMessage(const std::filesystem::path& path, int errorNumber);

}  // namespace tc101
