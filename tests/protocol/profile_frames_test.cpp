// Frames in every profile: the requests built, and hand-written replies
// (cross-checked with tshark's decoder) read by the analyser into the tables.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "protocol/analyzer.h"
#include "protocol/frame_layout.h"
#include "protocol/hex_text.h"
#include "protocol/quality.h"
#include "protocol/requests.h"
#include "protocol/standard_objects.h"

namespace tc101 {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ProfileHex(const std::string& text) { return HexTextToBytes(text); }

LinkProfile Profile(const char* sizes, ObjectDecoding decoding = ObjectDecoding::Legacy, std::uint8_t originator = 0) {
    LinkProfile profile;
    profile.sizes = *ParseFieldSizes(sizes);
    profile.decoding = decoding;
    profile.originator = originator;
    return profile;
}

TEST(ProfileLayout, DefaultSizesGiveTheFixedOffsets) {
    EXPECT_EQ(LayoutOf(FieldSizes{}), kDefaultLayout);
    const FrameLayout wide = LayoutOf(FieldSizes{2, 2, 2, 3});
    EXPECT_EQ(wide.fixedSize, 6);
    EXPECT_EQ(wide.varType, 7);
    EXPECT_EQ(wide.varCause, 9);
    EXPECT_EQ(wide.varCommonAddress, 11);
    EXPECT_EQ(wide.varFirstObject, 13);
    EXPECT_EQ(wide.sequenceHeader, 12);
}

// Device address 258: 02 in one link octet, 02 01 in two; originator 5.
struct RequestCase {
    const char* sizes;
    const char* linkStatus;
    const char* interrogation;
};

TEST(ProfileRequests, EveryProfileBuildsItsFieldSizes) {
    const RequestCase cases[] = {
        {"1/1/1/2", "10 49 02 4B 16", "68 09 09 68 53 02 64 01 06 02 00 00 14 D6 16"},
        {"1/2/2/3", "10 49 02 4B 16", "68 0C 0C 68 53 02 64 01 06 05 02 01 00 00 00 14 DC 16"},
        {"2/2/2/3", "10 49 02 01 4C 16", "68 0D 0D 68 53 02 01 64 01 06 05 02 01 00 00 00 14 DD 16"},
        {"2/1/1/2", "10 49 02 01 4C 16", "68 0A 0A 68 53 02 01 64 01 06 02 00 00 14 D7 16"},
        {"1/1/2/3", "10 49 02 4B 16", "68 0B 0B 68 53 02 64 01 06 02 01 00 00 00 14 D7 16"},
        {"2/2/1/2", "10 49 02 01 4C 16", "68 0B 0B 68 53 02 01 64 01 06 05 02 00 00 14 DC 16"},
    };
    const InterrogationValues defaults{};  // every field takes its table default
    for (const RequestCase& c : cases) {
        SCOPED_TRACE(c.sizes);
        const LinkProfile profile = Profile(c.sizes, ObjectDecoding::Legacy, 5);
        EXPECT_EQ(BytesToHexText(BuildShortRequest(0x49u, 258, profile)), c.linkStatus);
        EXPECT_EQ(BytesToHexText(BuildInterrogation(defaults, 258, CellFallback::TableDefaults, profile)),
                  c.interrogation);
    }
    // The default profile builds what the fixed-size builders build.
    const auto legacy = BuildInterrogation(defaults, 300);
    EXPECT_EQ(BuildInterrogation(defaults, 300, CellFallback::TableDefaults, LinkProfile{}),
              Bytes(legacy.begin(), legacy.end()));
    // A common address of its own.
    LinkProfile own = Profile("1/1/2/2");
    own.commonAddress = 0x1234;
    EXPECT_EQ(BytesToHexText(BuildInterrogation(defaults, 1, CellFallback::TableDefaults, own)),
              "68 0A 0A 68 53 01 64 01 06 34 12 00 00 14 19 16");
}

struct Cell {
    ValuePage page;
    LinkAddress address;
    int row;
    std::string text;
    std::uint8_t quality = 0;
};

struct FrameCase {
    const char* name;
    const char* sizes;
    ObjectDecoding decoding;
    const char* frame;
    std::string text;  // the analysis text inside 【】
    std::vector<Cell> cells;
    std::vector<std::string> events = {};  // time texts of the event rows
};

constexpr auto kLegacy = ObjectDecoding::Legacy;
constexpr auto kStandard = ObjectDecoding::Standard;

class ProfileFramesTest : public ::testing::Test {
protected:
    void SetUp() override {
        tables.GrdYX.SetRowCount(5);
        tables.GrdYC.SetRowCount(5);
        for (int row = 1; row <= 4; ++row) {
            tables.GrdYX.SetCell(kYxNameCol, row, "开关" + std::to_string(row));
            tables.GrdYX.SetCell(kYxState0Col, row, "分");
            tables.GrdYX.SetCell(kYxState1Col, row, "合");
            tables.GrdYC.SetCell(kYcRatioCol, row, row == 2 ? "10" : "1");
        }
    }
    ValueTables tables;
};

TEST_F(ProfileFramesTest, HandWrittenFramesFillTheRightCells) {
    const std::vector<FrameCase> cases = {
        {"scaled sequence from the telemetry base, IV on the second", "2/2/2/3", kStandard,
         "68 12 12 68 08 02 01 0B 82 14 00 02 01 01 40 00 E8 03 00 FB FF 80 55 16",
         "258# 遥测回复帧   共2个遥测量",
         {{ValuePage::Yc, 258, 1, "1000"}, {ValuePage::Yc, 258, 2, "-0.5", kQualityInvalid}}},
        {"double points, one object each", "1/2/2/3", kStandard,
         "68 10 10 68 28 01 03 02 03 00 01 00 02 00 00 02 04 00 00 00 3A 16", "#1变化遥信帧",
         {{ValuePage::Yx, 1, 2, "合"}, {ValuePage::Yx, 1, 4, std::string(kDoublePointIntermediateText)}}},
        {"single point event with CP56", "2/2/2/3", kStandard,
         "68 14 14 68 08 02 01 1E 01 03 00 02 01 03 00 00 01 39 30 0C 0E 08 0C 1A E5 16", "【258#事件纪录帧】",
         {{ValuePage::Yx, 258, 3, "合"}},
         {"2026-12-08 14 时12 分12 秒345 毫秒"}},
        {"short float change, NT", "2/1/1/2", kStandard, "68 0E 0E 68 08 02 01 0D 01 03 02 02 40 00 00 48 41 40 29 16",
         "#258变化遥测帧   共1个变化遥测量", {{ValuePage::Yc, 258, 2, "1.25", kQualityNotTopical}}},
        {"single point event with CP24", "1/1/2/3", kStandard,
         "68 0E 0E 68 28 01 02 01 03 01 00 01 00 00 00 E8 03 05 21 16", "【1#事件纪录帧】",
         {{ValuePage::Yx, 1, 1, "分"}},
         {"9 时5 分1 秒0 毫秒"}},
        {"single point sequence from object 2", "2/2/1/2", kStandard,
         "68 0D 0D 68 08 02 01 01 83 14 00 02 02 00 01 00 81 29 16", "258# 遥信回复帧   共3个遥信量",
         {{ValuePage::Yx, 258, 2, "合"}, {ValuePage::Yx, 258, 3, "分"}, {ValuePage::Yx, 258, 4, "合", kQualityInvalid}}},
        {"normalised change in the default sizes", "1/1/1/2", kStandard,
         "68 0B 0B 68 08 01 09 01 03 01 03 40 64 00 00 BE 16", "#1变化遥测帧   共1个变化遥测量",
         {{ValuePage::Yc, 1, 3, "100"}}},
        {"qualifier number the length does not hold", "2/2/2/3", kStandard,
         "68 12 12 68 08 02 01 0B 83 14 00 02 01 01 40 00 E8 03 00 FB FF 80 56 16", "258#报文长度与规约参数不符", {}},
        {"legacy reply by position in wide sizes", "2/2/2/3", kLegacy,
         "68 10 10 68 08 02 01 15 82 14 00 02 01 01 00 00 E8 03 18 FC B9 16", "258# 遥测回复帧   共2个遥测量",
         {{ValuePage::Yc, 258, 1, "1000"}, {ValuePage::Yc, 258, 2, "-100"}}},
        {"legacy change, the low address octet is the row", "1/2/2/3", kLegacy,
         "68 0C 0C 68 08 01 01 01 03 00 01 00 03 00 00 01 13 16", "#1变化遥信帧", {{ValuePage::Yx, 1, 3, "合"}}},
        {"legacy reply too short for its object address", "2/2/2/3", kLegacy,
         "68 09 09 68 08 02 01 01 81 14 00 02 01 A4 16", "258#报文长度与规约参数不符", {}},
        {"legacy change of the default sizes read as 1/2/2/3: no whole object", "1/2/2/3", kLegacy,
         "68 0A 0A 68 08 01 15 01 03 01 03 00 E8 03 11 16", "1#报文长度与规约参数不符", {}},
        {"fixed frame with a two-octet link address", "2/1/1/2", kLegacy, "10 0B 02 01 0E 16", "258#链路完好", {}},
    };
    for (const FrameCase& c : cases) {
        SCOPED_TRACE(c.name);
        tables.ClearValueTable(0);
        tables.ClearValueTable(1);
        tables.ClearValueTable(2);
        const Bytes frame = ProfileHex(c.frame);
        const FrameAnalysis analysis =
            AnalyzeFrames(frame, tables, DecodingSettings{}, Profile(c.sizes, c.decoding), [] { return 9; });
        ASSERT_EQ(analysis.lines.size(), 1u);
        EXPECT_EQ(analysis.lines[0], "有效帧:" + std::string(c.frame) + "  【" + c.text + "】");
        for (const Cell& cell : c.cells) {
            const Table& table = tables.Grid(cell.page);
            const DeviceColumnSlot& slot = tables.Slot(cell.page, cell.address);
            ASSERT_TRUE(slot.present);
            EXPECT_EQ(table.Cell(slot.column, cell.row), cell.text) << "row " << cell.row;
            EXPECT_EQ(table.Quality(slot.column, cell.row), cell.quality) << "row " << cell.row;
        }
        if (c.cells.empty()) {
            // Nothing of a refused frame reaches the tables.
            EXPECT_EQ(tables.GrdYC.ColCount(), kFirstDeviceCol);
            EXPECT_EQ(tables.GrdYX.ColCount(), kFirstDeviceCol);
        }
        for (size_t i = 0; i < c.events.size(); ++i)
            EXPECT_EQ(tables.GrdSJ.Cell(kSjTimeCol, static_cast<int>(i) + 1), c.events[i]);
    }
}

TEST_F(ProfileFramesTest, FramesOfAnotherProfileAreNotFramesOrNotRead) {
    // A one-octet link status reply is no fixed frame with two link octets.
    EXPECT_EQ(AnalyzeFrames(ProfileHex("10 0B 01 0C 16"), tables, DecodingSettings{}, Profile("2/2/2/3")).lines,
              std::vector<std::string>{"没有有效的101报文帧"});
    // A default-profile reply read as 2/2/2/3 standard: the type lands on
    // the qualifier (0x82), which no decoder reads, so the tables stay empty.
    const char* reply = "68 0C 0C 68 08 01 15 82 14 01 01 40 E8 03 18 FC F5 16";
    const FrameAnalysis analysis =
        AnalyzeFrames(ProfileHex(reply), tables, DecodingSettings{}, Profile("2/2/2/3", kStandard));
    EXPECT_EQ(analysis.lines, std::vector<std::string>{"有效帧:" + std::string(reply) + "  【5377#报文校验正确】"});
    EXPECT_EQ(tables.GrdYC.ColCount(), kFirstDeviceCol);
}

TEST(QualityFlags, NamesAndGrey) {
    EXPECT_EQ(QualityFlagsText(0), "");
    EXPECT_EQ(QualityFlagsText(kQualityInvalid | kQualityNotTopical), "IV 无效, NT 非当前值");
    EXPECT_TRUE(QualityGreyed(kQualityNotTopical));
    EXPECT_FALSE(QualityGreyed(kQualitySubstituted | kQualityBlocked | kQualityOverflow));
}

}  // namespace
}  // namespace tc101
