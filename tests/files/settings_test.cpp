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

TEST_F(Settings, LinkProfileRoundTripsAndOnlyTheDialogWritesIt) {
    EXPECT_EQ(ReadLinkProfile().profile, LinkProfile{});
    EXPECT_FALSE(std::filesystem::exists(AppFile(kComsetIniName))) << "reading wrote the file";
    LinkProfile profile;
    profile.sizes = {2, 2, 2, 3};
    profile.originator = 7;
    profile.commonAddress = 513;
    profile.decoding = ObjectDecoding::Standard;
    profile.yxBase = 0x10;
    profile.ycBase = 0x700001;
    WriteLinkProfile(profile);
    const StoredLinkProfile stored = ReadLinkProfile();
    EXPECT_EQ(stored.profile, profile);
    EXPECT_TRUE(stored.faults.empty());
    EXPECT_EQ(ReadBytes(AppFile(kComsetIniName)),
              "[Profile]\r\nLinkAddress=2\r\nCause=2\r\nCommonAddress=2\r\nObjectAddress=3\r\nOriginator=7\r\n"
              "CommonAddressValue=513\r\nDecoding=standard\r\nYxBase=0x10\r\nYcBase=0x700001\r\n");
    profile.commonAddress.reset();
    WriteLinkProfile(profile);
    EXPECT_EQ(ReadLinkProfile().profile, profile);
}

// The balanced keys come with the balanced mode and stay once written.
TEST_F(Settings, BalancedProfileRoundTripsWithItsKeys) {
    LinkProfile profile;
    profile.mode = LinkMode::Balanced;
    profile.sizes.linkAddress = 0;
    profile.balanced = {7, true, 0, 250, 5};
    WriteLinkProfile(profile);
    EXPECT_EQ(ReadLinkProfile().profile, profile);
    EXPECT_TRUE(ReadLinkProfile().faults.empty());
    EXPECT_EQ(ReadBytes(AppFile(kComsetIniName)),
              "[Profile]\r\nLinkAddress=0\r\nCause=1\r\nCommonAddress=1\r\nObjectAddress=2\r\nOriginator=0\r\n"
              "CommonAddressValue=\r\nDecoding=legacy\r\nYxBase=0x1\r\nYcBase=0x4001\r\nMode=balanced\r\n"
              "OtherAddress=7\r\nSingleCharAck=1\r\nTestPeriod=0\r\nRepeatTimeout=250\r\nRetries=5\r\n");
    const LinkProfile back;
    WriteLinkProfile(back);
    EXPECT_EQ(ReadLinkProfile().profile, back);
}

TEST_F(Settings, UnusableStoredProfileValuesTakeTheirDefaultAndAreNamed) {
    struct Case {
        const char* line;
        const char* fault;  // what the fault line shows
    };
    const Case cases[] = {
        {"LinkAddress=0", "LinkAddress=0 不可用(1 或 2), 按 1 使用"},
        {"LinkAddress=3", "LinkAddress=3 不可用(1 或 2), 按 1 使用"},
        {"Cause=two", "Cause=two 不可用(1 或 2), 按 1 使用"},
        {"CommonAddress=4", "CommonAddress=4 不可用(1 或 2), 按 1 使用"},
        {"ObjectAddress=4", "ObjectAddress=4 不可用(1 至 3), 按 2 使用"},
        {"Originator=256", "Originator=256 不可用(0 至 255), 按 0 使用"},
        {"CommonAddressValue=256", "CommonAddressValue=256 不可用(0 至 255), 按 设备地址 使用"},
        {"Decoding=iec", "Decoding=iec 不可用(legacy 或 standard), 按 legacy 使用"},
        {"YcBase=-1", "YcBase=-1 不可用(0 至 0xFFFFFF), 按 0x4001 使用"},
        {"YxBase=0x1000000", "YxBase=0x1000000 不可用(0 至 0xFFFFFF), 按 0x1 使用"},
        {"Mode=half", "Mode=half 不可用(unbalanced 或 balanced), 按 unbalanced 使用"},
        {"RepeatTimeout=0", "RepeatTimeout=0 不可用(1 至 3600000), 按 1000 使用"},
        {"Retries=101", "Retries=101 不可用(0 至 100), 按 3 使用"},
        {"OtherAddress=256", "OtherAddress=256 不可用(0 至 255), 按 设备地址 使用"},
    };
    for (const Case& c : cases) {
        WriteBytes(AppFile(kComsetIniName), std::string("[Profile]\r\n") + c.line + "\r\n");
        const StoredLinkProfile stored = ReadLinkProfile();
        EXPECT_EQ(stored.profile, LinkProfile{}) << c.line;
        ASSERT_EQ(stored.faults.size(), 1u) << c.line;
        EXPECT_EQ(stored.faults[0], std::string("comset.ini [Profile] ") + c.fault);
    }
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
