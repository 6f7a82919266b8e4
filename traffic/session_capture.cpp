#include "traffic/session_capture.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <string>
#include <system_error>
#include <vector>

#include "files/app_paths.h"
#include "files/file_error.h"
#include "files/file_io.h"

namespace tc101 {

namespace {

constexpr std::string_view kCaptureExtension = ".txt";
constexpr int kMaxNameTries = 1000;

std::string StampName(std::chrono::system_clock::time_point moment) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(moment);
    std::tm local{};
    localtime_r(&seconds, &local);
    char name[32];
    std::strftime(name, sizeof name, "%Y%m%d-%H%M%S", &local);
    return name;
}

struct Capture {
    std::filesystem::path path;
    std::filesystem::file_time_type modified;
    std::uintmax_t size;
};

std::vector<Capture> Captures(const std::filesystem::path& folder) {
    std::vector<Capture> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        std::error_code ignored;
        if (!entry.is_regular_file(ignored) || entry.path().extension() != kCaptureExtension) continue;
        found.push_back({entry.path(), entry.last_write_time(ignored), entry.file_size(ignored)});
    }
    // Oldest first; the names break ties as they sort by time too.
    std::sort(found.begin(), found.end(), [](const Capture& a, const Capture& b) {
        return a.modified != b.modified ? a.modified < b.modified : a.path < b.path;
    });
    return found;
}

}  // namespace

std::filesystem::path SessionLogFolder() { return AppDirectory() / kSessionLogFolderName; }

void PruneSessionLogs(const std::filesystem::path& folder, std::size_t maxFiles, std::uintmax_t maxBytes) {
    const std::vector<Capture> captures = Captures(folder);
    std::size_t count = captures.size();
    std::uintmax_t bytes = 0;
    for (const Capture& capture : captures) bytes += capture.size;
    for (const Capture& capture : captures) {
        if (count <= maxFiles && bytes <= maxBytes) break;
        std::error_code error;
        if (!std::filesystem::remove(capture.path, error)) continue;
        --count;
        bytes -= capture.size;
    }
}

SessionCapture::SessionCapture(const std::filesystem::path& folder, std::chrono::system_clock::time_point start) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) throw FileError(CannotCreateMessage(folder, error.value()));
    PruneSessionLogs(folder, kSessionLogMaxFiles - 1, kSessionLogMaxBytes);
    const std::string stamp = StampName(start);
    for (int attempt = 1; attempt <= kMaxNameTries && !file_; ++attempt) {
        const std::string suffix = attempt == 1 ? std::string() : "-" + std::to_string(attempt);
        path_ = folder / (stamp + suffix + std::string(kCaptureExtension));
        // "x": a name another run holds is never taken over.
        file_.reset(std::fopen(path_.c_str(), "wbx"));
        if (!file_ && errno != EEXIST) break;
    }
    if (!file_) throw FileError(CannotCreateMessage(path_, errno));
}

void SessionCapture::Append(std::string_view text) {
    std::FILE* file = file_.get();
    bool written = true;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find('\n', start);
        std::string_view line = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (line.ends_with('\r')) line.remove_suffix(1);
        written = written && std::fwrite(line.data(), 1, line.size(), file) == line.size() &&
                  std::fputs("\r\n", file) >= 0;
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    if (!written || std::fflush(file) != 0) throw FileError(CannotCreateMessage(path_, errno));
}

}  // namespace tc101
