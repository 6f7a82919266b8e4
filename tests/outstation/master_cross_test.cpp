// The master's analyser reads what the simulator sends: a master loop that
// chooses each request from the last verdict, as the master simulation
// does, runs against the station, and the tables must end up holding the
// station's own values.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "outstation/outstation.h"
#include "outstation/point_pattern.h"
#include "protocol/analyzer.h"
#include "protocol/decoding_settings.h"
#include "protocol/value_tables.h"
#include "station_support.h"

namespace tc101 {
namespace {

using namespace testing_support;

constexpr int kYx = 16;
constexpr int kYc = 8;
const std::string kOpen = "分";
const std::string kClosed = "合";

class MasterCrossTest : public ::testing::Test {
protected:
    void SetUp() override {
        tables.GrdYC.SetRowCount(kYc + 1);
        tables.GrdYX.SetRowCount(kYx + 1);
        for (int row = 1; row <= kYc; ++row) tables.GrdYC.SetCell(kYcRatioCol, row, "1");
        for (int row = 1; row <= kYx; ++row) {
            tables.GrdYX.SetCell(kYxNameCol, row, "遥信" + std::to_string(row));
            tables.GrdYX.SetCell(kYxState0Col, row, kOpen);
            tables.GrdYX.SetCell(kYxState1Col, row, kClosed);
        }
    }

    void Make(StationConfig config) {
        config.yxCount = kYx;
        config.ycCount = kYc;
        station = std::make_unique<Outstation>(config, clock.Reader());
    }

    // The default master: the request follows the last verdict; FCB never set.
    Bytes DefaultRequest() const {
        switch (verdict) {
            case PollVerdict::Class1Waiting: return Fixed(kClass1Request);
            case PollVerdict::NoClass1Waiting: return Fixed(kClass2Request);
            case PollVerdict::LinkReady: return Interrogation();
            case PollVerdict::None: break;
        }
        return Fixed(kLinkStatusRequest);
    }

    // The standard link procedure: reset after the link status, then one
    // interrogation, the frame count bit toggled on every FCV frame from 1.
    Bytes StandardRequest() {
        std::uint8_t control = 0;
        if (!linkReset) {
            if (verdict != PollVerdict::LinkReady) return Fixed(kLinkStatusRequest);
            linkReset = true;
            return Fixed(kResetLink);
        }
        if (!interrogated && verdict == PollVerdict::LinkReady) {
            interrogated = true;
            control = kInterrogationControl;
        } else {
            control = verdict == PollVerdict::Class1Waiting ? kClass1Request : kClass2Request;
        }
        fcb = !fcb;
        control = static_cast<std::uint8_t>(control | (fcb ? kFcb : 0));
        return control == (kInterrogationControl | kFcb) || control == kInterrogationControl ? Interrogation(control)
                                                                                             : Fixed(control);
    }

    // One poll: request out, replies in as one burst, analysed.
    void Poll(const Bytes& request) {
        Bytes burst;
        for (const Frame& reply : station->Receive(request)) burst.insert(burst.end(), reply.begin(), reply.end());
        if (burst.empty()) return;  // no reply: the master asks the same again
        const FrameAnalysis analysis = AnalyzeFrames(burst, tables, DecodingSettings{}, [] { return 7; });
        lines.insert(lines.end(), analysis.lines.begin(), analysis.lines.end());
        verdict = analysis.verdict;
    }

    bool Logged(const std::string& text) const {
        return std::any_of(lines.begin(), lines.end(),
                           [&](const std::string& line) { return line.find(text) != std::string::npos; });
    }

    // The device column of address 1 equals the station's points.
    void ExpectTablesHoldThePoints() const {
        const int ycCol = tables.Slot(ValuePage::Yc, 1).column;
        const int yxCol = tables.Slot(ValuePage::Yx, 1).column;
        ASSERT_TRUE(tables.Slot(ValuePage::Yc, 1).present);
        ASSERT_TRUE(tables.Slot(ValuePage::Yx, 1).present);
        for (int row = 1; row <= kYc; ++row)
            EXPECT_EQ(tables.GrdYC.Cell(ycCol, row),
                      std::to_string(station->Points().MeasuredValues()[static_cast<std::size_t>(row - 1)]))
                << "row " << row;
        for (int row = 1; row <= kYx; ++row)
            EXPECT_EQ(tables.GrdYX.Cell(yxCol, row),
                      station->Points().Telesignals()[static_cast<std::size_t>(row - 1)] ? kClosed : kOpen)
                << "row " << row;
    }

    ManualClock clock;
    std::unique_ptr<Outstation> station;
    ValueTables tables;
    PollVerdict verdict = PollVerdict::None;
    std::vector<std::string> lines;
    bool linkReset = false;
    bool interrogated = false;
    bool fcb = false;
};

TEST_F(MasterCrossTest, InterrogationCycleFillsTheTablesWithTheStationsValues) {
    StationConfig config;
    config.changeEveryMs = 0;
    config.eventEveryMs = 0;
    config.seed = 11;
    Make(config);
    for (int i = 0; i < 8; ++i) Poll(DefaultRequest());

    const std::vector<std::string> expected{
        "有效帧:10 0B 01 0C 16  【1#链路完好】",
        "有效帧:68 09 09 68 20 01 64 01 07 01 00 00 14 A2 16  【1#总召确认】",
    };
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[0], expected[0]);
    EXPECT_EQ(lines[1], expected[1]);
    EXPECT_NE(lines[2].find("【1# 遥信回复帧   共16个遥信量】"), std::string::npos) << lines[2];
    EXPECT_NE(lines[3].find("【1# 遥测回复帧   共8个遥测量】"), std::string::npos) << lines[3];
    EXPECT_NE(lines[4].find("【1#总召结束】"), std::string::npos) << lines[4];
    EXPECT_EQ(lines.back(), "有效帧:E5  【无变化遥信量】");
    EXPECT_EQ(verdict, PollVerdict::NoClass1Waiting);
    EXPECT_FALSE(Logged("效验有误"));
    ExpectTablesHoldThePoints();
}

TEST_F(MasterCrossTest, SpontaneousDataKeepsTheTablesInStepAndFillsTheEvents) {
    StationConfig config;
    config.changeEveryMs = 70;
    config.eventEveryMs = 230;
    config.seed = 5;
    Make(config);
    for (int i = 0; i < 400; ++i) {
        Poll(DefaultRequest());
        clock.Advance(20);
    }
    // Let the queues drain with the clock standing.
    for (int i = 0; i < 50; ++i) Poll(DefaultRequest());
    ASSERT_EQ(station->Class1Waiting(), 0u);
    ASSERT_EQ(station->Class2Waiting(), 0u);

    EXPECT_FALSE(Logged("效验有误"));
    EXPECT_TRUE(Logged("【#1变化遥信帧】"));
    EXPECT_TRUE(Logged("【1#事件纪录帧】"));
    EXPECT_TRUE(Logged("【#1变化遥测帧   共1个变化遥测量】"));
    EXPECT_GT(station->Points().ChangesMade(), 100);
    EXPECT_GT(station->Points().EventsMade(), 30);
    ExpectTablesHoldThePoints();

    // One event row per event, naming the toggled point with its new state.
    ASSERT_EQ(tables.GrdSJ.RowCount() - 1, station->Points().EventsMade());
    for (int row = 1; row < tables.GrdSJ.RowCount(); ++row) {
        const int point = EventPoint(5, row, kYx);
        EXPECT_EQ(tables.GrdSJ.Cell(kSjNameCol, row), "遥信" + std::to_string(point)) << "row " << row;
        EXPECT_TRUE(tables.GrdSJ.Cell(kSjStateCol, row) == kOpen || tables.GrdSJ.Cell(kSjStateCol, row) == kClosed);
        EXPECT_EQ(tables.GrdSJ.Cell(kSjTimeCol, row).rfind("7 时", 0), 0u) << tables.GrdSJ.Cell(kSjTimeCol, row);
    }
}

TEST_F(MasterCrossTest, StrictStationWithTheStandardLinkProcedureCompletesTheInterrogation) {
    StationConfig config;
    config.strictFcb = true;
    config.changeEveryMs = 90;
    config.eventEveryMs = 300;
    Make(config);
    for (int i = 0; i < 300; ++i) {
        Poll(StandardRequest());
        clock.Advance(20);
    }
    for (int i = 0; i < 50; ++i) Poll(StandardRequest());
    EXPECT_EQ(station->Counters().repeats, 0);
    EXPECT_EQ(station->Class1Waiting() + station->Class2Waiting(), 0u);
    EXPECT_TRUE(Logged("【复位链路 1# 确认】"));
    EXPECT_TRUE(Logged("【1# 遥信回复帧   共16个遥信量】"));
    EXPECT_TRUE(Logged("【1#事件纪录帧】"));
    EXPECT_FALSE(Logged("效验有误"));
    ExpectTablesHoldThePoints();
}

TEST_F(MasterCrossTest, StrictStationGivesTheDefaultMasterNoInterrogationData) {
    StationConfig config;
    config.strictFcb = true;
    Make(config);
    for (int i = 0; i < 30; ++i) Poll(DefaultRequest());
    // The fixed acknowledgement reads as link ready: the master interrogates
    // again and again and never asks for the class 1 data.
    EXPECT_FALSE(tables.Slot(ValuePage::Yx, 1).present);
    EXPECT_FALSE(tables.Slot(ValuePage::Yc, 1).present);
    EXPECT_EQ(lines.back(), "有效帧:10 20 01 21 16  【复位链路 1# 确认】");
}

}  // namespace
}  // namespace tc101
