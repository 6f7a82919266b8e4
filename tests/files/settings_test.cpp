#include <gtest/gtest.h>

#include "files/app_paths.h"
#include "files/comset_keys.h"
#include "files/form_size.h"
#include "protocol/decoding_settings.h"
#include "support/test_folder.h"

namespace tc101 {
namespace {

using testing::ReadBytes;
using testing::WriteBytes;

// Each test starts from an empty application directory of its own.
class Settings : public ::testing::Test {
protected:
    testing::OwnAppDirectory appDirectory_;
};

TEST_F(Settings, DecodingBytesDefaultAndStoreTheirLowByte) {
    EXPECT_EQ(ReadYcUseByte(), 2);
    EXPECT_EQ(ReadYxUseByte(), 0);
    WriteYcUseByte(258);
    WriteYxUseByte(1);
    EXPECT_EQ(ReadDecodingSettings(), (DecodingSettings{2, 1}));
    EXPECT_EQ(ReadBytes(AppFile(kComsetIniName)), "[YcYxDef]\r\nYcUseByte=2\r\nYxUseByte=1\r\n");
    WriteYcUseByte(-1);
    EXPECT_EQ(ReadYcUseByte(), 255);
    EXPECT_EQ(ReadDecodingSettings().ycUseByte, 255);
}

TEST_F(Settings, LoadingKeepsTheLowByteOfWhatWasWrittenByHand) {
    WriteBytes(AppFile(kComsetIniName), "[ycyxdef]\nYcUseByte=0x104\nYxUseByte=one\n");
    EXPECT_EQ(ReadDecodingSettings(), (DecodingSettings{4, 0}));
}

TEST_F(Settings, FailedWriteLeavesTheStoredByte) {
    std::filesystem::create_directory(AppFile(kComsetIniName));  // cannot be read or replaced
    EXPECT_THROW(WriteYcUseByte(4), FileError);
    EXPECT_EQ(ReadDecodingSettings().ycUseByte, kDefaultYcUseByte);
}

TEST_F(Settings, SendFileNameFallsBackToDefaultAndWritesItBack) {
    const std::string fallback = AppFile(kDefaultSendFileName).string();
    EXPECT_EQ(ResolveSendFileName(), fallback);
    StoreSendFileName("/no/such/file.sen");
    EXPECT_EQ(ResolveSendFileName(), fallback);
    EXPECT_EQ(IniFile(AppFile(kComsetIniName)).ReadString("DefineSend", "SendFileName", ""), fallback);

    const auto kept = AppFile("mine.sen");
    WriteBytes(kept, "");
    StoreSendFileName(kept.string());
    EXPECT_EQ(ResolveSendFileName(), kept.string());
}

TEST_F(Settings, DefFileNameIsWrittenOnlyWhenDefaultSetIsMissing) {
    const IniFile comset(AppFile(kComsetIniName));
    ResolveDefFileName();
    EXPECT_EQ(comset.ReadString("YcYxDef", "DefFileName", "none"), AppFile(kDefaultDefFileName).string());
    StoreDefFileName("");
    WriteBytes(AppFile(kDefaultDefFileName), "");
    ResolveDefFileName();
    EXPECT_EQ(comset.ReadString("YcYxDef", "DefFileName", "none"), "");
}

TEST_F(Settings, MaximisedWindowWritesNothingAndTheEarlierSizeIsRestored) {
    auto sizes = FormSizeIni();
    StoreFormSize(sizes, "frmZh", WindowState::Normal, {800, 600});
    StoreFormSize(sizes, "frmZh", WindowState::Maximized, {1920, 1050});
    StoreFormSize(sizes, "frmZh", WindowState::Minimized, {160, 30});
    EXPECT_EQ(StoredFormSize(sizes, "frmZh", {10, 10}), (Size{800, 600}));
    EXPECT_EQ(ReadBytes(sizes.Path()), "[frmZh]\r\nwidth=800\r\nheight=600\r\n");
}

struct GeometryCase {
    const char* what;
    std::string ini;
    Size current;
    Rect desktop;
    Rect expected;
};

void PrintTo(const GeometryCase& c, std::ostream* out) { *out << c.what; }

class RestoreGeometry : public Settings, public ::testing::WithParamInterface<GeometryCase> {};

TEST_P(RestoreGeometry, CentresTheStoredSize) {
    const auto& c = GetParam();
    WriteBytes(AppFile(kFormSizeIniName), c.ini);
    EXPECT_EQ(RestoredFormGeometry(FormSizeIni(), "frmyxycdef", c.current, c.desktop), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RestoreGeometry,
    ::testing::Values(
        GeometryCase{"stored size", "[frmyxycdef]\nwidth=700\nheight=600\n", {606, 546}, {0, 0, 1920, 1080},
                     {610, 240, 700, 600}},
        GeometryCase{"no file keeps the current size", "", {606, 546}, {0, 0, 1920, 1080}, {657, 267, 606, 546}},
        GeometryCase{"other window's section is not used", "[frmZh]\nwidth=700\n", {606, 546}, {0, 0, 1000, 800},
                     {197, 127, 606, 546}},
        GeometryCase{"nonsense and zero fall back", "[FRMYXYCDEF]\nwidth=wide\nheight=0\n", {606, 546},
                     {0, 0, 1000, 800}, {197, 127, 606, 546}},
        GeometryCase{"larger than the desktop is cut to it", "[frmyxycdef]\nwidth=3000\nheight=0x200\n",
                     {606, 546}, {100, 50, 1280, 1024}, {100, 306, 1280, 512}}));

}  // namespace
}  // namespace tc101
