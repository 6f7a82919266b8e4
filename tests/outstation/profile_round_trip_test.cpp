// The master station against the simulator in every profile, in-process:
// the master's requests go to the station, its replies back to the master's
// analyser, and both tables must hold the station's values at their rows,
// after the interrogation and after spontaneous data.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "outstation/outstation.h"
#include "station_support.h"
#include "traffic/master_station.h"

namespace tc101 {
namespace {

using namespace testing_support;

const std::string kOpen = "分";
const std::string kClosed = "合";

struct ProfileCase {
    const char* sizes;
    ObjectDecoding decoding;
};

std::string CaseName(const ::testing::TestParamInfo<ProfileCase>& info) {
    std::string name = info.param.sizes;
    for (char& c : name) c = c == '/' ? '_' : c;
    return name + (info.param.decoding == ObjectDecoding::Standard ? "_standard" : "_legacy");
}

// The station behind the master's port: each frame sent is answered at once.
struct StationPort : FramePort {
    bool SendBytes(const std::uint8_t* data, std::uint16_t count) override {
        for (const Frame& reply : station->Receive({data, count})) replies.insert(replies.end(), reply.begin(), reply.end());
        return true;
    }
    bool Drain() override { return true; }
    Outstation* station = nullptr;
    Bytes replies;
};

struct Lines : MasterSink {
    void Line(LogColour, std::string_view text) override { lines.emplace_back(text); }
    void Account(const std::vector<std::string>& account) override {
        lines.insert(lines.end(), account.begin(), account.end());
    }
    std::vector<std::string> lines;
};

class ProfileRig : public ::testing::Test {
protected:
    void Define(const char* sizes, ObjectDecoding decoding, int yx = 20, int yc = 10) {
        profile.sizes = *ParseFieldSizes(sizes);
        profile.decoding = decoding;
        profile.originator = 3;
        yxCount = yx;
        ycCount = yc;
        // Two link octets: an address above 255 shows in the device column.
        address = profile.sizes.linkAddress == 2 ? 258 : 7;
        tables.GrdYC.SetRowCount(ycCount + 1);
        tables.GrdYX.SetRowCount(yxCount + 1);
        for (int row = 1; row <= ycCount; ++row) tables.GrdYC.SetCell(kYcRatioCol, row, "1");
        for (int row = 1; row <= yxCount; ++row) {
            tables.GrdYX.SetCell(kYxNameCol, row, "遥信" + std::to_string(row));
            tables.GrdYX.SetCell(kYxState0Col, row, kOpen);
            tables.GrdYX.SetCell(kYxState1Col, row, kClosed);
        }
    }

    // Spontaneous data is made while the clock moves (from the tenth tick to
    // the `quietFrom`th); the ticks after let the master fetch all of it.
    void Run(bool strict, int ticks, int quietFrom) {
        StationConfig config;
        config.address = static_cast<std::uint16_t>(address);
        config.yxCount = yxCount;
        config.ycCount = ycCount;
        config.changeEveryMs = 1000;
        config.eventEveryMs = 1000;
        config.strictFcb = strict;
        config.seed = 5;
        config.profile = profile;
        station = std::make_unique<Outstation>(config, clock.Reader());
        port.station = station.get();
        MasterStation master(port, sink, tables, {SendLogging::WhenQueued, [] { return 9; }, DecodingSettings{}, profile});
        MasterSettings settings;
        settings.shortValues = {kLinkStatusRequest, kClass1Request, kClass2Request};
        settings.standardLink = strict;
        master.SetSettings(settings);
        master.Cycle().StartSimulation();
        for (int tick = 0; tick < ticks; ++tick) {
            if (tick >= 10 && tick < quietFrom) clock.Advance(500);
            port.replies.clear();
            master.SimulationTick(address);
            master.Received(port.replies);
        }
    }

    void ExpectTablesHoldThePoints() const {
        const DeviceColumnSlot& yc = tables.Slot(ValuePage::Yc, static_cast<LinkAddress>(address));
        const DeviceColumnSlot& yx = tables.Slot(ValuePage::Yx, static_cast<LinkAddress>(address));
        ASSERT_TRUE(yc.present);
        ASSERT_TRUE(yx.present);
        EXPECT_EQ(tables.GrdYX.Cell(yx.column, 0), std::to_string(address) + "#设备");
        for (int row = 1; row <= ycCount; ++row)
            EXPECT_EQ(tables.GrdYC.Cell(yc.column, row),
                      std::to_string(station->Points().MeasuredValues()[static_cast<std::size_t>(row - 1)]))
                << "row " << row;
        for (int row = 1; row <= yxCount; ++row)
            EXPECT_EQ(tables.GrdYX.Cell(yx.column, row),
                      station->Points().Telesignals()[static_cast<std::size_t>(row - 1)] ? kClosed : kOpen)
                << "row " << row;
    }

    bool Logged(const std::string& text) const {
        for (const std::string& line : sink.lines)
            if (line.find(text) != std::string::npos) return true;
        return false;
    }

    LinkProfile profile;
    int yxCount = 0;
    int ycCount = 0;
    int address = 1;
    ManualClock clock;
    std::unique_ptr<Outstation> station;
    StationPort port;
    Lines sink;
    ValueTables tables;
};

class ProfileRoundTrip : public ProfileRig, public ::testing::WithParamInterface<ProfileCase> {
protected:
    void SetUp() override { Define(GetParam().sizes, GetParam().decoding); }
};

TEST_P(ProfileRoundTrip, InterrogationAndSpontaneousDataFillTheRightRows) {
    Run(false, 40, 25);
    const std::string a = std::to_string(address);
    EXPECT_TRUE(Logged("【" + a + "#总召确认】"));
    EXPECT_TRUE(Logged("【" + a + "# 遥信回复帧   共" + std::to_string(yxCount) + "个遥信量】"));
    EXPECT_TRUE(Logged("【" + a + "# 遥测回复帧   共" + std::to_string(ycCount) + "个遥测量】"));
    EXPECT_TRUE(Logged("【" + a + "#总召结束】"));
    EXPECT_TRUE(Logged("变化遥测帧"));
    ASSERT_GT(station->Points().EventsMade(), 0);
    ASSERT_GT(station->Points().ChangesMade(), 0);
    EXPECT_EQ(station->Class1Waiting(), 0u);
    ExpectTablesHoldThePoints();
    // One event row per event, named by its point.
    EXPECT_EQ(tables.GrdSJ.RowCount(), station->Points().EventsMade() + 1);
    EXPECT_NE(tables.GrdSJ.Cell(kSjNameCol, 1).find("遥信"), std::string::npos);
}

TEST_P(ProfileRoundTrip, StandardLinkProcedureAgainstAStrictStation) {
    Run(true, 14, 0);
    EXPECT_TRUE(Logged("========复位远方链路 " + std::to_string(address) + "#========"));
    EXPECT_EQ(station->Counters().repeats, 0);
    ExpectTablesHoldThePoints();
}

// More points than one octet numbers and one unit holds: the station splits
// its reply, and rows follow the full object addresses.
TEST_F(ProfileRig, StandardDecodingFillsRowsBeyond255) {
    Define("2/2/2/3", ObjectDecoding::Standard, 300, 100);
    Run(false, 16, 0);
    EXPECT_TRUE(Logged("【258# 遥信回复帧   共127个遥信量】"));
    EXPECT_TRUE(Logged("【258# 遥信回复帧   共46个遥信量】"));
    ExpectTablesHoldThePoints();
}

INSTANTIATE_TEST_SUITE_P(
    EveryProfile, ProfileRoundTrip,
    ::testing::Values(ProfileCase{"1/1/1/2", ObjectDecoding::Legacy}, ProfileCase{"1/2/2/3", ObjectDecoding::Legacy},
                      ProfileCase{"2/2/2/3", ObjectDecoding::Legacy}, ProfileCase{"2/1/1/2", ObjectDecoding::Legacy},
                      ProfileCase{"1/1/2/3", ObjectDecoding::Legacy}, ProfileCase{"2/2/1/2", ObjectDecoding::Legacy},
                      ProfileCase{"1/1/1/2", ObjectDecoding::Standard}, ProfileCase{"1/2/2/3", ObjectDecoding::Standard},
                      ProfileCase{"2/2/2/3", ObjectDecoding::Standard}, ProfileCase{"2/1/1/2", ObjectDecoding::Standard},
                      ProfileCase{"1/1/2/3", ObjectDecoding::Standard}, ProfileCase{"2/2/1/2", ObjectDecoding::Standard}),
    CaseName);

}  // namespace
}  // namespace tc101
