#include "files/ini_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <string>
#include <unistd.h>

#include "files/ini_text.h"
#include "support/test_folder.h"

namespace tc101 {
namespace {

using testing::FreshFolder;
using testing::ReadBytes;
using testing::WriteBytes;

const std::string kSample =
    "; kept comment\r\n"
    "[ComSet]\r\n"
    "Port=COM1\r\n"
    "  baud = 9600 \r\n"
    "\r\n"
    "[comset]\r\n"
    "Port=shadowed\r\n"
    "[YcYxDef]\r\n"
    "YcUseByte=0x04\r\n"
    "Quoted=\"a b\"\r\n"
    "Empty=\r\n"
    "Name=\xD2\xA3\xB2\xE2\r\n";

struct FindCase {
    const char* section;
    const char* key;
    std::optional<std::string> expected;
};

void PrintTo(const FindCase& c, std::ostream* out) { *out << c.section << "/" << c.key; }

class IniFind : public ::testing::TestWithParam<FindCase> {};

TEST_P(IniFind, FollowsPrivateProfileRules) {
    const auto& c = GetParam();
    EXPECT_EQ(ini::FindValue(kSample, c.section, c.key), c.expected) << c.section << "/" << c.key;
}

INSTANTIATE_TEST_SUITE_P(
    Lookups, IniFind,
    ::testing::Values(FindCase{"ComSet", "Port", "COM1"}, FindCase{"COMSET", "PORT", "COM1"},  // case, first wins
                      FindCase{"comset", "BAUD", "9600"},                                      // blanks trimmed
                      FindCase{"ComSet", "Missing", std::nullopt},  // only the first section counts
                      FindCase{"Nowhere", "Port", std::nullopt}, FindCase{"yCyXdEF", "ycusebyte", "0x04"},
                      FindCase{"YcYxDef", "Quoted", "a b"}, FindCase{"YcYxDef", "Empty", ""},
                      FindCase{"YcYxDef", "Name", "遥测"}, FindCase{"YcYxDef", "; kept comment", std::nullopt}));

struct IntegerCase {
    const char* text;
    std::optional<std::int64_t> expected;
};

void PrintTo(const IntegerCase& c, std::ostream* out) { *out << '"' << c.text << '"'; }

class IniInteger : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(IniInteger, DecimalOrHexOrNothing) {
    EXPECT_EQ(ini::ParseInteger(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, IniInteger,
    ::testing::Values(IntegerCase{"2", 2}, IntegerCase{" 258 ", 258}, IntegerCase{"-7", -7}, IntegerCase{"+7", 7},
                      IntegerCase{"0x1F", 31}, IntegerCase{"0Xff", 255}, IntegerCase{"0x", std::nullopt},
                      IntegerCase{"0x-1", std::nullopt}, IntegerCase{"12abc", std::nullopt},
                      IntegerCase{"abc", std::nullopt}, IntegerCase{"", std::nullopt},
                      IntegerCase{"1.5", std::nullopt}, IntegerCase{"99999999999999999999", std::nullopt},
                      IntegerCase{"$10", std::nullopt}));

struct SetCase {
    const char* what;
    std::string before;
    const char* section;
    const char* key;
    const char* value;
    std::string after;
};

void PrintTo(const SetCase& c, std::ostream* out) { *out << c.what; }

class IniSet : public ::testing::TestWithParam<SetCase> {};

TEST_P(IniSet, ChangesOnlyWhatItMust) {
    const auto& c = GetParam();
    EXPECT_EQ(ini::SetValue(c.before, c.section, c.key, c.value), c.after) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Writes, IniSet,
    ::testing::Values(
        SetCase{"new file", "", "A", "k", "1", "[A]\r\nk=1\r\n"},
        SetCase{"replace keeps key spelling and neighbours", "; c\r\n[a]\r\nKey = old\r\nother=2\r\n", "A", "key",
                "new", "; c\r\n[a]\r\nKey=new\r\nother=2\r\n"},
        SetCase{"new key after the last line of its section, before blanks",
                "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n", "a", "z", "3", "[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n"},
        SetCase{"new section at the end of a file without a final break", "[A]\nx=1", "B", "k", "v",
                "[A]\nx=1\r\n[B]\r\nk=v\r\n"},
        SetCase{"new key in a last section without a final break", "[A]\nx=1", "A", "k", "v", "[A]\nx=1\r\nk=v"},
        SetCase{"only the first of two sections changes", "[A]\r\n[A]\r\nk=1\r\n", "A", "k", "2",
                "[A]\r\nk=2\r\n[A]\r\nk=1\r\n"},
        SetCase{"Chinese value written as GBK", "", "S", "k", "遥测", "[S]\r\nk=\xD2\xA3\xB2\xE2\r\n"},
        SetCase{"bytes that are not GBK elsewhere stay as they were", "\xFF\xFE junk\n[A]\nk=1\n", "A", "k", "2",
                "\xFF\xFE junk\n[A]\nk=2\n"}));

TEST(IniSet, RefusesWhatWouldBreakTheLineStructure) {
    EXPECT_THROW(ini::SetValue("", "A", "k", "x\r\n[B]"), std::invalid_argument);
    EXPECT_THROW(ini::SetValue("", "A", "k=v", "x"), std::invalid_argument);
    EXPECT_THROW(ini::SetValue("", "A]", "k", "x"), std::invalid_argument);
    EXPECT_THROW(ini::SetValue("", "A", "", "x"), std::invalid_argument);
}

TEST(IniFile, MissingFileGivesDefaultsAndWritesCreateIt) {
    IniFile ini(FreshFolder() / "comset.ini");
    EXPECT_EQ(ini.ReadString("DefineSend", "SendFileName", "d"), "d");
    EXPECT_EQ(ini.ReadInteger("YcYxDef", "YcUseByte", 2), 2);
    EXPECT_TRUE(ini.ReadBool("zh", "AutoOpen", true));
    ini.WriteBool("zh", "AutoOpen", false);
    ini.WriteInteger("YcYxDef", "YcUseByte", 4);
    ini.WriteString("DefineSend", "SendFileName", "/tmp/遥测.sen");
    EXPECT_FALSE(ini.ReadBool("ZH", "autoopen", true));
    EXPECT_EQ(ini.ReadInteger("YcYxDef", "YcUseByte", 2), 4);
    EXPECT_EQ(ini.ReadString("DefineSend", "SendFileName", ""), "/tmp/遥测.sen");
    EXPECT_EQ(ReadBytes(ini.Path()),
              "[zh]\r\nAutoOpen=0\r\n[YcYxDef]\r\nYcUseByte=4\r\n[DefineSend]\r\nSendFileName=/tmp/\xD2\xA3\xB2\xE2.sen\r\n");
}

TEST(IniFile, NonNumericIntegerGivesDefaultAndTextIsNotTrue) {
    const auto path = FreshFolder() / "comset.ini";
    WriteBytes(path, "[s]\nn=ten\nb=yes\nh=0x10\n");
    const IniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("s", "n", 7), 7);
    EXPECT_FALSE(ini.ReadBool("s", "b", false));
    EXPECT_EQ(ini.ReadInteger("s", "h", 0), 16);
}

TEST(IniFile, FailedWriteNamesTheFileAndLeavesItUnchanged) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not stop root";
    const auto folder = FreshFolder();
    const auto path = folder / "comset.ini";
    WriteBytes(path, "[a]\r\nk=1\r\n");
    ::chmod(folder.c_str(), 0500);
    IniFile ini(path);
    try {
        ini.WriteString("a", "k", "2");
        ADD_FAILURE() << "no error";
    } catch (const FileError& error) {
        EXPECT_NE(std::string(error.what()).find(path.string()), std::string::npos) << error.what();
        EXPECT_NE(std::string(error.what()).find("Permission denied"), std::string::npos) << error.what();
    }
    ::chmod(folder.c_str(), 0700);
    EXPECT_EQ(ReadBytes(path), "[a]\r\nk=1\r\n");
}

// The same guarantee where permissions cannot help (CI runs as root): a
// write cut short by the file size limit leaves the old file whole.
TEST(IniFile, WriteCutShortLeavesTheOldFile) {
    const auto path = FreshFolder() / "comset.ini";
    WriteBytes(path, "[a]\r\nk=1\r\n");
    IniFile ini(path);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    bool threw = false;
    try {
        ini.WriteString("a", "k", std::string(200, 'x'));
    } catch (const FileError& error) {
        threw = true;
        EXPECT_NE(std::string(error.what()).find(path.string()), std::string::npos) << error.what();
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_TRUE(threw);
    EXPECT_EQ(ReadBytes(path), "[a]\r\nk=1\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(path.parent_path()), {}), 1)
        << "the temporary file is left behind";
}

TEST(IniFile, PathThatIsAFolderReadsDefaultsAndRefusesWrites) {
    const auto path = FreshFolder() / "comset.ini";
    std::filesystem::create_directory(path);
    IniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("a", "k", 5), 5);
    EXPECT_THROW(ini.WriteInteger("a", "k", 1), FileError);
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

TEST(IniFile, FileThatCannotBeReadIsNotOverwritten) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not stop root";
    const auto path = FreshFolder() / "comset.ini";
    WriteBytes(path, "[a]\r\nother=keep\r\n");
    ::chmod(path.c_str(), 0200);
    IniFile ini(path);
    EXPECT_EQ(ini.ReadString("a", "other", "default"), "default");
    EXPECT_THROW(ini.WriteString("a", "k", "2"), FileError);
    ::chmod(path.c_str(), 0600);
    EXPECT_EQ(ReadBytes(path), "[a]\r\nother=keep\r\n");
}

}  // namespace
}  // namespace tc101
