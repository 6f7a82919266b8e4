#include "files/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <system_error>

namespace tc101 {

namespace {

constexpr std::size_t kReadChunk = 64 * 1024;
constexpr mode_t kNewFileMode = 0666;  // narrowed by the umask
constexpr int kCreateAttempts = 16;

// Closes a descriptor it owns.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    // Closes now and reports the error close() gave (0 when none).
    int Close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int fd_;
};

// Removes the temporary file unless the rename has consumed it.
class TemporaryName {
public:
    explicit TemporaryName(std::filesystem::path path) : path_(std::move(path)) {}
    ~TemporaryName() {
        if (!path_.empty()) ::unlink(path_.c_str());
    }
    TemporaryName(const TemporaryName&) = delete;
    TemporaryName& operator=(const TemporaryName&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    void Release() { path_.clear(); }

private:
    std::filesystem::path path_;
};

// Writes go to the file a link points at, not over the link itself.
std::filesystem::path FollowLinks(const std::filesystem::path& path) {
    std::error_code error;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(path, error))) {
        auto target = std::filesystem::weakly_canonical(path, error);
        if (!error) return target;
    }
    return path;
}

// A hidden name beside the target, unique enough that O_EXCL rarely has to try again.
std::filesystem::path TemporaryPathFor(const std::filesystem::path& target, int attempt) {
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    auto name = "." + target.filename().string() + ".tmp" + std::to_string(::getpid()) + "-" +
                std::to_string(ticks) + "-" + std::to_string(attempt);
    return target.parent_path() / name;
}

// Creates the temporary file; its descriptor is invalid when that failed, with errno set.
int CreateTemporary(const std::filesystem::path& target, std::filesystem::path& temporary) {
    for (int attempt = 0;; ++attempt) {
        temporary = TemporaryPathFor(target, attempt);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
        if (fd >= 0 || errno != EEXIST || attempt == kCreateAttempts) return fd;
    }
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

void SyncFolder(const std::filesystem::path& folder) {
    const Descriptor dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Valid()) ::fsync(dir.Get());  // best effort: the rename itself has already happened
}

}  // namespace

std::string CannotOpenMessage(const std::filesystem::path& path, int errorNumber) {
    return "Cannot open file \"" + path.string() + "\". " + std::strerror(errorNumber);
}

std::string CannotCreateMessage(const std::filesystem::path& path, int errorNumber) {
    return "Cannot create file \"" + path.string() + "\". " + std::strerror(errorNumber);
}

std::optional<std::string> ReadFileIfExists(const std::filesystem::path& path) {
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!file.Valid()) {
        if (errno == ENOENT) return std::nullopt;
        throw FileError(CannotOpenMessage(path, errno));
    }
    std::string bytes;
    char chunk[kReadChunk];
    for (;;) {
        const ssize_t count = ::read(file.Get(), chunk, sizeof chunk);
        if (count < 0) {
            if (errno == EINTR) continue;
            throw FileError(CannotOpenMessage(path, errno));
        }
        if (count == 0) break;
        bytes.append(chunk, static_cast<std::size_t>(count));
    }
    return bytes;
}

void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    const auto target = FollowLinks(path);
    std::filesystem::path temporaryPath;
    Descriptor file(CreateTemporary(target, temporaryPath));
    if (!file.Valid()) throw FileError(CannotCreateMessage(path, errno));
    TemporaryName temporary(temporaryPath);
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) ::fchmod(file.Get(), old.st_mode & 07777);

    if (!WriteAll(file.Get(), bytes) || ::fsync(file.Get()) != 0) throw FileError(CannotCreateMessage(path, errno));
    if (const int error = file.Close(); error != 0) throw FileError(CannotCreateMessage(path, error));
    if (::rename(temporary.Path().c_str(), target.c_str()) != 0) throw FileError(CannotCreateMessage(path, errno));
    temporary.Release();
    SyncFolder(target.parent_path());
}

}  // namespace tc101
