#include "app/window/window_settings.h"

#include <gtest/gtest.h>

#include "support/config_dir.h"

namespace tc101 {
namespace {

class WindowSettingsTest : public testing::ConfigDirTest {
protected:
    IniFile Comset() const { return IniFile(File("comset.ini")); }
};

TEST_F(WindowSettingsTest, MissingFileGivesTheDefaults) { EXPECT_EQ(ReadWindowSettings(Comset()), WindowSettings{}); }

TEST_F(WindowSettingsTest, WrittenKeysReadBackAndBseeIsNeverWritten) {
    IniFile comset = Comset();
    comset.WriteBool(kBaowenSection, kBseeKey, true);
    const WindowSettings stored{true, 230, 500, 2000, true, 180, 2, 17, {}};
    WriteWindowSettings(comset, stored);
    EXPECT_EQ(ReadWindowSettings(comset), stored);

    comset.WriteBool(kBaowenSection, kBseeKey, false);
    WindowSettings written = stored;
    written.bsee = true;
    WriteWindowSettings(comset, written);
    const WindowSettings read = ReadWindowSettings(comset);
    EXPECT_FALSE(read.bsee);
    // Height is still written, but ignored while the log is hidden.
    EXPECT_EQ(read.height, WindowSettings{}.height);
    EXPECT_EQ(comset.ReadInteger(kBaowenSection, kHeightKey, 0), 230);
}

TEST_F(WindowSettingsTest, AListOfDevicesIsStoredAsTypedInAddress) {
    IniFile comset = Comset();
    WindowSettings listed;
    listed.addressList = "1,2,5-7";
    WriteWindowSettings(comset, listed);
    EXPECT_EQ(comset.ReadString(kDefaultSendSection, kAddressKey, "?"), "1,2,5-7");
    EXPECT_EQ(ReadWindowSettings(comset).addressList, "1,2,5-7");
    WriteWindowSettings(comset, WindowSettings{});
    EXPECT_EQ(comset.ReadString(kDefaultSendSection, kAddressKey, "?"), "1");
    EXPECT_EQ(ReadWindowSettings(comset), WindowSettings{});
}

}  // namespace
}  // namespace tc101
