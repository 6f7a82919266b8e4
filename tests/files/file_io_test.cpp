#include "files/file_io.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "support/test_folder.h"

namespace tc101 {
namespace {

using testing::FreshFolder;
using testing::ReadBytes;
using testing::WriteBytes;

bool HasTemporaryFile(const std::filesystem::path& folder) {
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename().string().starts_with(".")) return true;
    return false;
}

TEST(AtomicWrite, ReplacesContentKeepsModeAndLeavesNoTemporary) {
    const auto folder = FreshFolder();
    const auto path = folder / "yc.sen";
    WriteBytes(path, "old");
    ::chmod(path.c_str(), 0640);
    WriteFileAtomically(path, std::string("new\0bytes", 9));
    EXPECT_EQ(ReadBytes(path), std::string("new\0bytes", 9));
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_FALSE(HasTemporaryFile(folder));
}

TEST(AtomicWrite, WritesThroughASymbolicLink) {
    const auto folder = FreshFolder();
    WriteBytes(folder / "real.ini", "old");
    std::filesystem::create_symlink("real.ini", folder / "link.ini");
    WriteFileAtomically(folder / "link.ini", "new");
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.ini"));
    EXPECT_EQ(ReadBytes(folder / "real.ini"), "new");
}

TEST(AtomicWrite, FailedRenameLeavesOldFileAndNoTemporary) {
    const auto folder = FreshFolder();
    // A non-empty folder in the target's place makes the final rename fail.
    const auto path = folder / "send.sen";
    std::filesystem::create_directories(path / "inside");
    EXPECT_THROW(WriteFileAtomically(path, "new"), FileError);
    EXPECT_TRUE(std::filesystem::is_directory(path / "inside"));
    EXPECT_FALSE(HasTemporaryFile(folder));
}

TEST(AtomicWrite, MissingFolderIsReportedWithTheFileName) {
    const auto path = FreshFolder() / "no" / "such" / "comset.ini";
    try {
        WriteFileAtomically(path, "x");
        ADD_FAILURE() << "no error";
    } catch (const FileError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot create file \"" + path.string() + "\". No such file or directory");
    }
}

// A writer killed in the middle of a large write leaves the old file whole.
TEST(AtomicWrite, KilledWriterLeavesOldFileIntact) {
    const auto folder = FreshFolder();
    const auto path = folder / "yc.sen";
    const std::string old = "old content\r\n";
    WriteBytes(path, old);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const std::string huge(128u * 1024u * 1024u, 'x');
        WriteFileAtomically(path, huge);
        ::_exit(0);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!HasTemporaryFile(folder) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer finished before it could be killed";
    EXPECT_EQ(ReadBytes(path), old);
}

TEST(ReadFile, MissingFileIsNothingAndUnreadableFileIsAnError) {
    const auto folder = FreshFolder();
    EXPECT_FALSE(ReadFileIfExists(folder / "absent").has_value());
    EXPECT_THROW(ReadFileIfExists(folder), FileError);  // a folder cannot be read as a file
    WriteBytes(folder / "f", std::string("a\0b", 3));
    EXPECT_EQ(ReadFileIfExists(folder / "f"), std::string("a\0b", 3));
}

}  // namespace
}  // namespace tc101
