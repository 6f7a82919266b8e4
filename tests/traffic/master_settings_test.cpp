// The master message settings as bwset.ini holds them: the one reader and writer.

#include <gtest/gtest.h>

#include "support/test_folder.h"
#include "protocol/hex_text.h"
#include "traffic/master_settings.h"

namespace tc101 {
namespace {

std::string Built(MasterRequest request, const MasterSettings& settings, std::int64_t address = 1) {
    return BytesToHexText(BuildMasterRequest(request, settings, address));
}

class MasterSettingsFile : public ::testing::Test {
protected:
    IniFile bwset{testing::FreshFolder() / "bwset.ini"};
};

TEST_F(MasterSettingsFile, MissingFileGivesTheStoredDefaultsAndTheirFrames) {
    const MasterSettings s = ReadMasterSettings(bwset);
    EXPECT_FALSE(s.standardLink);
    EXPECT_EQ(Built(MasterRequest::LinkStatus, s), "10 49 01 4A 16");
    EXPECT_EQ(Built(MasterRequest::Class1, s), "10 5A 01 5B 16");
    EXPECT_EQ(Built(MasterRequest::Class2, s), "10 5B 01 5C 16");
    EXPECT_EQ(Built(MasterRequest::GeneralInterrogation, s), "68 09 09 68 53 01 64 01 06 01 00 00 14 D4 16");
    EXPECT_EQ(Built(MasterRequest::ResetRemoteLink, s), "10 40 01 41 16");
    EXPECT_EQ(Built(MasterRequest::ResetRemoteLink, s, 258), "10 40 02 42 16");
}

TEST_F(MasterSettingsFile, StoredListsFillTheRowsAndShortListsLeaveRowsEmpty) {
    struct Case {
        const char* grdShort;
        const char* grdZZ;
        const char* class1;
        const char* interrogation;
    };
    const Case cases[] = {
        // An empty control cell gives 0; an empty interrogation cell its table fallback.
        {",49,,5B", ",53,64,01,06,00,00,15", "10 00 01 01 16", "68 09 09 68 53 01 64 01 06 01 00 00 15 D5 16"},
        {",49", ",73", "10 00 01 01 16", "68 09 09 68 73 01 64 01 06 01 00 00 14 F4 16"},
        {"\"\",49,7A,5B,99", ",53 64 01 06 00 00 14 77", "10 7A 01 7B 16", "68 09 09 68 53 01 64 01 06 01 00 00 14 D4 16"},
    };
    for (const Case& c : cases) {
        bwset.WriteString("bwset", "grdShort", c.grdShort);
        bwset.WriteString("bwset", "GrdZZ", c.grdZZ);
        const MasterSettings s = ReadMasterSettings(bwset);
        EXPECT_EQ(Built(MasterRequest::Class1, s), c.class1) << c.grdShort;
        EXPECT_EQ(Built(MasterRequest::GeneralInterrogation, s), c.interrogation) << c.grdZZ;
    }
}

TEST_F(MasterSettingsFile, WrittenSettingsReadBack) {
    struct Case {
        const char* name;
        MasterSettings settings;
        const char* grdShort;
        const char* grdZZ;
        MasterSettings readBack;
    };
    const MasterSettings defaults = ReadMasterSettings(bwset);
    MasterSettings edited = defaults;
    edited.shortValues[1] = std::nullopt;  // a cell that could not be read is stored as 0
    edited.interrogationValues[6] = 0x12C;  // wide values keep their digits
    edited.standardLink = true;
    MasterSettings editedBack = edited;
    editedBack.shortValues[1] = 0;
    const Case cases[] = {
        {"defaults", defaults, ",49,5A,5B", ",53,64,01,06,00,00,14", defaults},
        {"edited", edited, ",49,00,5B", ",53,64,01,06,00,00,12C", editedBack},
    };
    for (const Case& c : cases) {
        WriteMasterSettings(bwset, c.settings);
        EXPECT_EQ(bwset.ReadString("bwset", "grdShort", "?"), c.grdShort) << c.name;
        EXPECT_EQ(bwset.ReadString("bwset", "GrdZZ", "?"), c.grdZZ) << c.name;
        EXPECT_EQ(ReadMasterSettings(bwset), c.readBack) << c.name;
    }
}

TEST_F(MasterSettingsFile, StandardLinkKey) {
    bwset.WriteBool("bwset", "StandardLink", true);
    EXPECT_TRUE(ReadMasterSettings(bwset).standardLink);
    bwset.WriteBool("bwset", "StandardLink", false);
    EXPECT_FALSE(ReadMasterSettings(bwset).standardLink);
}

TEST_F(MasterSettingsFile, LostAfterIsReadInRangeAndWrittenOnceItIsNotTheDefault) {
    EXPECT_EQ(ReadMasterSettings(bwset).lostAfter, kDefaultLostAfter);
    const std::pair<const char*, int> reads[] = {{"5", 5}, {"1", 1}, {"1000", 1000}, {"0", 3}, {"1001", 3}, {"x", 3}};
    for (const auto& [stored, read] : reads) {
        bwset.WriteString("bwset", "LostAfter", stored);
        EXPECT_EQ(ReadMasterSettings(bwset).lostAfter, read) << stored;
    }
    struct Write {
        int lostAfter;
        const char* key;  // after writing; "?" absent
    };
    IniFile fresh{testing::FreshFolder() / "bwset.ini"};
    for (const Write& write : {Write{3, "?"}, Write{7, "7"}, Write{3, "3"}}) {
        MasterSettings settings;
        settings.lostAfter = write.lostAfter;
        WriteMasterSettings(fresh, settings);
        EXPECT_EQ(fresh.ReadString("bwset", "LostAfter", "?"), write.key) << write.lostAfter;
    }
}

}  // namespace
}  // namespace tc101
