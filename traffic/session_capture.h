#pragma once

// The session capture: every line the traffic log is given, in a file of its
// own per program run under logs/ in the settings folder, so trimming or
// clearing the view never loses a line. The text is the log's own (UTF-8,
// CR LF after every line), as default.txt holds it.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string_view>

namespace tc101 {

inline constexpr char kSessionLogFolderName[] = "logs";
// Older captures are removed beyond either bound, the oldest first.
inline constexpr std::size_t kSessionLogMaxFiles = 50;
inline constexpr std::uintmax_t kSessionLogMaxBytes = std::uintmax_t{200} << 20;

// logs/ in the settings folder (not created here).
std::filesystem::path SessionLogFolder();

// Removes the oldest ".txt" files of the folder (by modification time) until
// at most maxFiles remain and they hold at most maxBytes together. Files that
// cannot be removed are passed over.
void PruneSessionLogs(const std::filesystem::path& folder, std::size_t maxFiles, std::uintmax_t maxBytes);

class SessionCapture {
public:
    // Creates the folder and a new file named after the moment
    // ("20260307-210509.txt", "-2" and on when taken), after pruning the
    // older ones so that the new file is within the bounds. Throws FileError.
    SessionCapture(const std::filesystem::path& folder, std::chrono::system_clock::time_point start);
    SessionCapture(const SessionCapture&) = delete;
    SessionCapture& operator=(const SessionCapture&) = delete;

    const std::filesystem::path& Path() const { return path_; }

    // The lines of text (split at '\n', a CR before it dropped), each
    // followed by CR LF, handed to the system before returning. Throws
    // FileError when the write fails.
    void Append(std::string_view text);

private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::filesystem::path path_;
    std::unique_ptr<std::FILE, Closer> file_;
};

}  // namespace tc101
