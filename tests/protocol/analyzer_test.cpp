#include "protocol/analyzer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "protocol/decoding_settings.h"
#include "protocol/frame.h"
#include "protocol/hex_text.h"

namespace tc101 {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::string>;

Bytes Hex(const std::string& text) { return HexTextToBytes(ToUpperAscii(NormalizeHexText(text))); }

Bytes Fixed(std::uint8_t control, std::uint8_t address = 1) {
    const auto frame = BuildFixedFrame(control, address);
    return Bytes(frame.begin(), frame.end());
}

// 68 L L 68 control address asdu checksum 16, with the checksum summed here.
Bytes Variable(std::uint8_t control, const Bytes& asdu, std::uint8_t address = 1) {
    const auto length = static_cast<std::uint8_t>(asdu.size() + 2);
    Bytes frame{kVariableStart, length, length, kVariableStart, control, address};
    frame.insert(frame.end(), asdu.begin(), asdu.end());
    unsigned sum = 0;
    for (size_t i = 4; i < frame.size(); ++i) sum += frame[i];
    frame.push_back(static_cast<std::uint8_t>(sum));
    frame.push_back(kFrameEnd);
    return frame;
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

std::string Single(const Bytes& frame, const std::string& text) {
    return "有效帧:" + BytesToHexText(frame) + "  【" + text + "】";
}

class AnalyzerTest : public ::testing::Test {
protected:
    FrameAnalysis Analyze(const Bytes& buffer) {
        return AnalyzeFrames(buffer, tables, decoding, [this] {
            ++clockReads;
            return 7;
        });
    }

    // Point definitions as a loaded definition file leaves them.
    void DefineTelesignals(int rows) {
        tables.GrdYX.SetRowCount(rows + 1);
        for (int row = 1; row <= rows; ++row) {
            tables.GrdYX.SetCell(kYxNameCol, row, "开关" + std::to_string(row));
            tables.GrdYX.SetCell(kYxState0Col, row, "分");
            tables.GrdYX.SetCell(kYxState1Col, row, "合");
        }
    }
    void DefineRatios(const std::vector<std::string>& ratios) {
        tables.GrdYC.SetRowCount(static_cast<int>(ratios.size()) + 1);
        for (size_t i = 0; i < ratios.size(); ++i)
            tables.GrdYC.SetCell(kYcRatioCol, static_cast<int>(i) + 1, ratios[i]);
    }
    std::string YcDevice(int row, std::uint8_t address = 1) const {
        return tables.GrdYC.Cell(tables.Slot(ValuePage::Yc, address).column, row);
    }
    std::string YxDevice(int row, std::uint8_t address = 1) const {
        return tables.GrdYX.Cell(tables.Slot(ValuePage::Yx, address).column, row);
    }

    ValueTables tables;
    DecodingSettings decoding;
    int clockReads = 0;
};

struct FixedCase {
    std::uint8_t control;
    const char* text;
    std::optional<PollVerdict> verdict;  // nothing: left as it was
};

const FixedCase kFixedCases[] = {
    {0x40, "复位远方链路 1#", {}},
    {0x41, "复位远动终端的用户进程(撤消命令) 1#", {}},
    {0x42, "用于平衡式传输过程测试链路功能1#", {}},
    {0x43, "传送数据1#", {}},
    {0x54, "传送数据1#", {}},
    {0x45, "发送报文校验正确 1#", {}},
    {0x46, "发送报文校验正确 1#", {}},
    {0x47, "发送报文校验正确 1#", {}},
    {0x48, "响应帧应说明访问要求1#", {}},
    {0x49, "召唤链路状态 1#", {}},
    {0x7A, "召唤一级数据 1#", {}},
    {0x5B, "召唤二级数据 1#", {}},
    {0x4C, "发送报文校验正确 1#", {}},
    {0x4D, "发送报文校验正确 1#", {}},
    {0x4E, "发送报文校验正确 1#", {}},
    {0x4F, "发送报文校验正确 1#", {}},
    {0xC9, "召唤链路状态 1#", {}},  // 0x80 plays no part
    {0x00, "复位链路 1# 确认", PollVerdict::LinkReady},
    {0x20, "复位链路 1# 确认", PollVerdict::LinkReady},
    {0x01, "1#链路忙", {}},
    {0x02, "1#报文校验正确 ", {}},
    {0x03, "1#报文校验正确 ", {}},
    {0x04, "1#报文校验正确 ", {}},
    {0x05, "1#报文校验正确 ", {}},
    {0x06, "1#报文校验正确 ", {}},
    {0x07, "1#报文校验正确 ", {}},
    {0x08, "1#报文校验正确 ", {}},
    {0x09, "1#无变化遥信", PollVerdict::NoClass1Waiting},
    {0x19, "1#无变化遥信", PollVerdict::NoClass1Waiting},
    {0x29, "1#有变化遥信 ", PollVerdict::Class1Waiting},
    {0x0A, "1#报文校验正确 ", {}},
    {0x0B, "1#链路完好", PollVerdict::LinkReady},
    {0x8B, "1#链路完好", PollVerdict::LinkReady},
    {0x0C, "1#报文校验正确 ", {}},
    {0x0D, "1#报文校验正确 ", {}},
    {0x0E, "1#链路服务未工作", {}},
    {0x0F, "1#链路服务未完成", {}},
};

TEST_F(AnalyzerTest, FixedFrameTextsAndVerdicts) {
    for (const auto& c : kFixedCases) {
        const Bytes frame = Fixed(c.control);
        const FrameAnalysis alone = Analyze(frame);
        EXPECT_EQ(alone.lines, Lines{Single(frame, c.text)}) << int{c.control};
        EXPECT_EQ(alone.verdict, c.verdict.value_or(PollVerdict::None)) << int{c.control};
        // After a single character the verdict is NoClass1Waiting; frames that set none keep it.
        const FrameAnalysis after = Analyze(Join({Bytes{kSingleChar}, frame}));
        EXPECT_EQ(after.verdict, c.verdict.value_or(PollVerdict::NoClass1Waiting)) << int{c.control};
    }
}

TEST_F(AnalyzerTest, FixedFrameNamesTheAddressInDecimal) {
    EXPECT_EQ(Analyze(Fixed(0x0B, 255)).lines, Lines{Single(Fixed(0x0B, 255), "255#链路完好")});
    EXPECT_EQ(Analyze(Fixed(0x49, 0)).lines, Lines{Single(Fixed(0x49, 0), "召唤链路状态 0#")});
}

TEST_F(AnalyzerTest, FixedFrameWithBadChecksumKeepsTheVerdict) {
    const FrameAnalysis result = Analyze(Hex("E5 10 0B 01 0D 16"));
    EXPECT_EQ(result.lines, (Lines{"第1个有效帧:E5  【无变化遥信量】",
                                   "第2个有效帧:10 0B 01 0D 16  【效验有误,效验码应为 0C】"}));
    EXPECT_EQ(result.verdict, PollVerdict::NoClass1Waiting);
}

struct VariableCase {
    std::uint8_t control;
    Bytes asdu;
    const char* text;
};

const VariableCase kVariableCases[] = {
    {0x53, {100, 1, 6, 1, 0, 0, 0x14}, "总召1#"},
    {0x73, {100, 1, 6, 1, 0, 0, 0x14}, "总召1#"},
    {0x49, {}, "报文校验正确 1#"},
    {0x44, {100, 1, 6, 1, 0, 0, 0x14}, "报文校验正确 1#"},
    {0x00, {100, 1, 7, 1, 0, 0, 0x14}, "1#总召确认"},
    {0x00, {100, 1, 9, 1, 0, 0, 0x14}, "1#总召否定确认"},
    {0x20, {100, 1, 10, 1, 0, 0, 0x14}, "1#总召结束"},
    {0x00, {100, 1, 6, 1, 0, 0, 0x14}, "1#报文校验正确"},
    {0x08, {1, 0x82, 1, 1, 1, 0, 0, 1}, "1# 遥信回复帧   共2个遥信量"},
    {0x08, {1, 0x82, 2, 1, 1, 0, 0, 1}, "1# 遥信回复帧   共2个遥信量"},
    {0x08, {1, 0x82, 20, 1, 1, 0, 0, 1}, "1# 遥信回复帧   共2个遥信量"},
    {0x28, {1, 0x81, 32, 1, 1, 0, 0}, "1# 遥信回复帧   共1个遥信量"},
    {0x08, {1, 0x82, 19, 1, 1, 0, 0, 1}, "1#报文校验正确"},
    {0x08, {1, 0x82, 33, 1, 1, 0, 0, 1}, "1#报文校验正确"},
    {0x08, {1, 0x01, 3, 1, 2, 0, 1}, "#1变化遥信帧"},
    {0x08, {1, 0x01, 5, 1, 2, 0, 1}, "#1变化遥信帧"},
    {0x08, {1, 0x01, 11, 1, 2, 0, 1}, "#1变化遥信帧"},
    {0x08, {1, 0x01, 12, 1, 2, 0, 1}, "#1变化遥信帧"},
    {0x08, {1, 0x01, 6, 1, 2, 0, 1}, "1#报文校验正确"},
    {0x08, {2, 0x01, 3, 1, 2, 0, 1, 0x39, 0x30, 0x0C}, "【1#事件纪录帧】"},
    {0x08, {2, 0x01, 12, 1, 2, 0, 1, 0x39, 0x30, 0x0C}, "【1#事件纪录帧】"},
    {0x08, {2, 0x01, 20, 1, 2, 0, 1, 0x39, 0x30, 0x0C}, "1#报文校验正确"},
    {0x08, {4, 0x01, 3, 1, 2, 0, 1}, "报文校验正确 1#"},
    {0x08, {9, 0x82, 20, 1, 1, 0x40, 1, 0, 2, 0}, "1# 遥测回复帧   共2个遥测量"},
    {0x08, {21, 0x82, 1, 1, 1, 0x40, 1, 0, 2, 0}, "1# 遥测回复帧   共2个遥测量"},
    {0x08, {21, 0x83, 2, 1, 1, 0x40, 1, 0, 2, 0, 3}, "1# 遥测回复帧   共2个遥测量"},  // (13 - 8) / 2: the odd octet is no value
    {0x08, {9, 0x02, 3, 1, 2, 0, 1, 0, 3, 0, 2, 0}, "#1变化遥测帧   共2个变化遥测量"},
    {0x08, {21, 0x02, 5, 1, 2, 0, 1, 0, 3, 0, 2, 0}, "#1变化遥测帧   共2个变化遥测量"},
    {0x08, {9, 0x02, 11, 1, 2, 0, 1, 0, 3, 0, 2, 0}, "报文校验正确 1#"},
    {0x08, {100, 1, 7, 1, 0, 0, 0x14}, "1#总召结束"},
    {0x08, {30, 1, 3, 1, 0, 0, 0x14}, "1#报文校验正确"},
    {0x09, {100, 1, 7, 1, 0, 0, 0x14}, "1# 报文校验正确 "},
    {0x0B, {}, "1# 报文校验正确 "},
    // L too small for the octets a branch reads: absent octets pick the "other" row.
    {0x08, {100}, "1#总召结束"},
    {0x00, {100, 1}, "1#报文校验正确"},
    {0x08, {9}, "报文校验正确 1#"},
    {0x08, {1, 1}, "1#报文校验正确"},
    {0x08, {}, "1#报文校验正确"},
    {0x08, {1, 1, 20}, "1# 遥信回复帧   共-3个遥信量"},
    {0x08, {9, 1, 20}, "1# 遥测回复帧   共-1个遥测量"},
    {0x08, {9, 1, 3}, "#1变化遥测帧   共0个变化遥测量"},
};

TEST_F(AnalyzerTest, VariableFrameTextsAndTheAccessDemandVerdict) {
    for (const auto& c : kVariableCases) {
        const Bytes frame = Variable(c.control, c.asdu);
        const FrameAnalysis result = Analyze(frame);
        EXPECT_EQ(result.lines, Lines{Single(frame, c.text)}) << BytesToHexText(frame);
        const PollVerdict acd = (c.control & 0x20) ? PollVerdict::Class1Waiting : PollVerdict::NoClass1Waiting;
        EXPECT_EQ(result.verdict, acd) << BytesToHexText(frame);
    }
}

TEST_F(AnalyzerTest, ShortFramesReadOnlyTheirOwnOctets) {
    EXPECT_EQ(Analyze(Hex("68 03 03 68 08 01 64 6D 16")).lines,
              Lines{"有效帧:68 03 03 68 08 01 64 6D 16  【1#总召结束】"});
    EXPECT_EQ(Analyze(Hex("68 00 00 68 00 16")).lines, Lines{"有效帧:68 00 00 68 00 16  【22#报文校验正确】"});
    EXPECT_EQ(Analyze(Hex("68 01 01 68 08 08 16")).lines, Lines{"有效帧:68 01 01 68 08 08 16  【8#报文校验正确】"});
    // Octets after the frame are not its octets, whatever they hold.
    const Bytes tableless = Join({Variable(0x08, {9}), Hex("01 14 01 01 00 E8 03")});
    Analyze(tableless);
    EXPECT_EQ(tables.GrdYC.ColCount(), 4);
}

TEST_F(AnalyzerTest, VariableFrameWithBadChecksumClearsTheVerdict) {
    Bytes frame = Variable(0x28, {100, 1, 7, 1, 0, 0, 0x14});
    const std::uint8_t good = frame[frame.size() - 2];
    frame[frame.size() - 2] = static_cast<std::uint8_t>(good + 1);
    const FrameAnalysis result = Analyze(Join({Bytes{kSingleChar}, frame}));
    ASSERT_EQ(result.lines.size(), 2u);
    EXPECT_EQ(result.lines[1], "第2个有效帧:" + BytesToHexText(frame) + "  【效验有误,效验码应为 " +
                                   BytesToHexText(Bytes{good}) + "】");
    EXPECT_EQ(result.verdict, PollVerdict::None);
}

struct SearchCase {
    const char* name;
    const char* burst;
    Lines lines;
};

const SearchCase kSearchCases[] = {
    {"empty", "", {"没有有效的101报文帧"}},
    {"noise", "00 11 22 FF 16 68", {"没有有效的101报文帧"}},
    {"fixed cut at the end", "10 0B 01 0C", {"没有有效的101报文帧"}},
    {"variable cut at the end", "68 09 09 68 00 01 64 01 07 01 00 00 14 82", {"没有有效的101报文帧"}},
    {"L and its repeat differ", "68 09 0A 68 00 01 64 01 07 01 00 00 14 82 16", {"没有有效的101报文帧"}},
    {"second start octet missing", "68 09 09 69 00 01 64 01 07 01 00 00 14 82 16", {"没有有效的101报文帧"}},
    {"variable end octet wrong", "68 09 09 68 00 01 64 01 07 01 00 00 14 82 17", {"没有有效的101报文帧"}},
    {"fixed end octet wrong", "10 0B 01 0C 17", {"没有有效的101报文帧"}},
    {"garbage around a variable frame", "AA 55 10 68 09 09 68 00 01 64 01 07 01 00 00 14 82 16 00 10",
     {"有效帧:68 09 09 68 00 01 64 01 07 01 00 00 14 82 16  【1#总召确认】"}},
    {"0x10 look-alike before a frame", "10 10 0B 01 0C 16", {"有效帧:10 0B 01 0C 16  【1#链路完好】"}},
    {"frame inside skipped octets", "10 E5 00 00 00", {"有效帧:E5  【无变化遥信量】"}},
    {"fixed frame inside a false variable start", "68 05 05 68 10 0B 01 0C 16",
     {"有效帧:10 0B 01 0C 16  【1#链路完好】"}},
    {"octets inside a frame are consumed", "10 E5 01 E6 16", {"有效帧:10 E5 01 E6 16  【发送报文校验正确 1#】"}},
    {"a fixed frame inside a variable frame is consumed", "68 0B 0B 68 08 01 30 01 03 01 10 0B 01 0C 16 7C 16",
     {"有效帧:68 0B 0B 68 08 01 30 01 03 01 10 0B 01 0C 16 7C 16  【1#报文校验正确】"}},
    {"good frame then a cut one", "E5 68 09 09 68 00 01", {"有效帧:E5  【无变化遥信量】"}},
    {"two frames", "10 0B 01 0C 16 10 09 01 0A 16",
     {"第1个有效帧:10 0B 01 0C 16  【1#链路完好】", "第2个有效帧:10 09 01 0A 16  【1#无变化遥信】"}},
    {"bad checksum is numbered too", "10 0B 01 0D 16 E5 E5",
     {"第1个有效帧:10 0B 01 0D 16  【效验有误,效验码应为 0C】", "第2个有效帧:E5  【无变化遥信量】",
      "第3个有效帧:E5  【无变化遥信量】"}},
};

TEST_F(AnalyzerTest, FrameSearchSurvivesLineFaults) {
    for (const auto& c : kSearchCases) EXPECT_EQ(Analyze(Hex(c.burst)).lines, c.lines) << c.name;
}

TEST_F(AnalyzerTest, VerdictIsTheLastFramesAndNoneWithoutFrames) {
    EXPECT_EQ(Analyze(Hex("10 0B 01 0C 16 10 09 01 0A 16")).verdict, PollVerdict::NoClass1Waiting);
    EXPECT_EQ(Analyze(Hex("10 09 01 0A 16 10 0B 01 0C 16")).verdict, PollVerdict::LinkReady);
    EXPECT_EQ(Analyze(Hex("E5")).verdict, PollVerdict::NoClass1Waiting);
    EXPECT_EQ(Analyze(Hex("01 02")).verdict, PollVerdict::None);
}

TEST_F(AnalyzerTest, MeasuredInterrogationReplyScalesByTheRowsRatio) {
    DefineRatios({"1", "1000"});
    const FrameAnalysis result = Analyze(Hex("68 0C 0C 68 08 01 15 82 14 01 01 40 E8 03 18 FC F5 16"));
    EXPECT_EQ(result.lines, Lines{"有效帧:68 0C 0C 68 08 01 15 82 14 01 01 40 E8 03 18 FC F5 16  "
                                  "【1# 遥测回复帧   共2个遥测量】"});
    EXPECT_EQ(tables.GrdYC.Cell(4, 0), "1#设备");
    EXPECT_EQ(YcDevice(1), "1000");
    EXPECT_EQ(YcDevice(2), "-1");
    EXPECT_EQ(tables.GrdYX.ColCount(), 4);
}

TEST_F(AnalyzerTest, MissingRatiosShowValuesUnscaledAndAnalysisGoesOn) {
    DefineRatios({"", "0", "x"});
    const Bytes reply = Variable(0x08, {9, 0x83, 20, 1, 1, 0x40, 0xE8, 0x03, 0x18, 0xFC, 0x05, 0x00});
    const FrameAnalysis result = Analyze(Join({reply, Fixed(0x0B)}));
    EXPECT_EQ(result.lines.size(), 2u);
    EXPECT_EQ(result.verdict, PollVerdict::LinkReady);
    EXPECT_EQ(YcDevice(1), "1000");
    EXPECT_EQ(YcDevice(2), "-1000");
    EXPECT_EQ(YcDevice(3), "5");
}

struct WidthCase {
    std::uint8_t setting;
    Bytes values;
    std::vector<std::string> cells;
};

TEST_F(AnalyzerTest, MeasuredValueWidthFollowsTheSetting) {
    const WidthCase cases[] = {
        {1, {0x05, 0xFB, 0x7F}, {"5", "-5", "127"}},
        {2, {0x05, 0x00, 0x00, 0x80}, {"5", "-32768", ""}},
        {3, {0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x01}, {"-1", "65536", ""}},
        {4, {0xFE, 0xFF, 0xFF, 0xFF}, {"-2", "", ""}},
        {0, {0x05, 0xFB, 0x7F}, {"5", "-5", "127"}},   // never offered: read as 1
        {9, {0xFE, 0xFF, 0xFF, 0xFF}, {"-2", "", ""}},  // never offered: read as 4
    };
    for (const auto& c : cases) {
        tables.ClearValueTable(0);
        decoding.ycUseByte = c.setting;
        Bytes asdu{9, 0x83, 20, 1, 1, 0x40};
        asdu.insert(asdu.end(), c.values.begin(), c.values.end());
        Analyze(Variable(0x08, asdu));
        for (size_t i = 0; i < c.cells.size(); ++i)
            EXPECT_EQ(YcDevice(static_cast<int>(i) + 1), c.cells[i]) << int{c.setting} << " row " << i + 1;
    }
}

TEST_F(AnalyzerTest, MeasuredChangesAddressRowsAndStopAtTheRowCount) {
    DefineRatios({"1", "10", "1", "1"});
    // Five objects, rows 9, 2, 3, 1, 1; only min(R = 4, 5) objects are decoded.
    const Bytes changes = Variable(0x08, {9, 5, 3, 1, 9, 0, 1, 0, 2, 0, 20, 0, 3, 0, 3, 0, 1, 0, 4, 0, 1, 0, 99, 0});
    EXPECT_EQ(Analyze(changes).lines, Lines{Single(changes, "#1变化遥测帧   共5个变化遥测量")});
    EXPECT_EQ(YcDevice(1), "4");
    EXPECT_EQ(YcDevice(2), "2");
    EXPECT_EQ(YcDevice(3), "3");
    EXPECT_EQ(YcDevice(4), "");
    EXPECT_EQ(tables.GrdYC.Cell(4, 0), "1#设备");
}

TEST_F(AnalyzerTest, TelesignalInterrogationOctetModeWritesStatesZeroAndOneOnly) {
    DefineTelesignals(4);
    Analyze(Variable(0x08, {1, 0x84, 20, 1, 1, 0, 1, 1, 1, 1}));
    const Bytes reply = Variable(0x08, {1, 0x85, 20, 1, 1, 0, 0, 1, 2, 0x81, 0});
    EXPECT_EQ(Analyze(reply).lines, Lines{Single(reply, "1# 遥信回复帧   共5个遥信量")});
    EXPECT_EQ(YxDevice(1), "分");
    EXPECT_EQ(YxDevice(2), "合");
    EXPECT_EQ(YxDevice(3), "合");  // state 2: nothing written
    EXPECT_EQ(YxDevice(4), "合");  // 0x81: nothing written
    EXPECT_EQ(tables.GrdYX.RowCount(), 5);
    EXPECT_EQ(tables.GrdYC.ColCount(), 4);
}

TEST_F(AnalyzerTest, TelesignalInterrogationBitModeReadsEightPointsPerOctet) {
    decoding.yxUseByte = 1;
    DefineTelesignals(10);
    const Bytes reply = Variable(0x08, {1, 0x90, 20, 1, 1, 0, 0x05, 0xFF});
    EXPECT_EQ(Analyze(reply).lines, Lines{Single(reply, "1# 遥信回复帧   共16个遥信量")});
    const char* expected[] = {"合", "分", "合", "分", "分", "分", "分", "分", "合", "合"};
    for (int row = 1; row <= 10; ++row) EXPECT_EQ(YxDevice(row), expected[row - 1]) << row;
    EXPECT_EQ(tables.GrdYX.RowCount(), 11);
}

TEST_F(AnalyzerTest, TelesignalChangesDecodeEveryObject) {
    DefineTelesignals(4);
    Analyze(Variable(0x08, {1, 0x84, 20, 1, 1, 0, 0, 0, 0, 0}));
    const Bytes changes = Variable(0x08, {1, 3, 3, 1, 9, 0, 1, 2, 0, 1, 3, 0, 0x81, 0, 0, 0});
    EXPECT_EQ(Analyze(changes).lines, Lines{Single(changes, "#1变化遥信帧")});
    EXPECT_EQ(YxDevice(2), "合");
    EXPECT_EQ(YxDevice(3), "分");  // 0x81: state 1 with a quality flag writes nothing
    EXPECT_EQ(tables.GrdYX.Cell(5, 0), "");
}

TEST_F(AnalyzerTest, EventFrameWritesTheStateAndAppendsATimedRow) {
    DefineTelesignals(5);
    const FrameAnalysis result = Analyze(Hex("68 0C 0C 68 28 01 02 01 03 01 05 00 01 39 30 0C AB 16"));
    EXPECT_EQ(result.lines, Lines{"有效帧:68 0C 0C 68 28 01 02 01 03 01 05 00 01 39 30 0C AB 16  【【1#事件纪录帧】】"});
    EXPECT_EQ(result.verdict, PollVerdict::Class1Waiting);
    EXPECT_EQ(YxDevice(5), "合");
    EXPECT_EQ(tables.GrdSJ.RowCount(), 2);
    EXPECT_EQ(tables.GrdSJ.Cell(kSjNumberCol, 1), "1");
    EXPECT_EQ(tables.GrdSJ.Cell(kSjTimeCol, 1), "7 时12 分12 秒345 毫秒");
    EXPECT_EQ(tables.GrdSJ.Cell(kSjNameCol, 1), "开关5");
    EXPECT_EQ(tables.GrdSJ.Cell(kSjStateCol, 1), "合");
    EXPECT_EQ(tables.GrdYC.ColCount(), 4);
}

TEST_F(AnalyzerTest, EventsForUnknownRowsAndOddStatesStillGetRows) {
    DefineTelesignals(2);
    // Row 5 does not exist; row 2 with state 2; minutes octet used whole.
    Analyze(Variable(0x08, {2, 2, 3, 1, 5, 0, 0, 0xE8, 0x03, 0x01, 2, 0, 2, 0xFF, 0xFF, 0xFF}));
    ASSERT_EQ(tables.GrdSJ.RowCount(), 3);
    EXPECT_EQ(tables.GrdSJ.Cell(kSjTimeCol, 1), "7 时1 分1 秒0 毫秒");
    EXPECT_EQ(tables.GrdSJ.Cell(kSjNameCol, 1), "");
    EXPECT_EQ(tables.GrdSJ.Cell(kSjStateCol, 1), "");
    EXPECT_EQ(tables.GrdSJ.Cell(kSjTimeCol, 2), "7 时255 分65 秒535 毫秒");
    EXPECT_EQ(tables.GrdSJ.Cell(kSjNameCol, 2), "开关2");
    EXPECT_EQ(tables.GrdSJ.Cell(kSjStateCol, 2), "");
    EXPECT_EQ(tables.GrdSJ.Cell(kSjNumberCol, 2), "2");
    EXPECT_EQ(YxDevice(2), "");
    EXPECT_EQ(clockReads, 1);
}

TEST_F(AnalyzerTest, EventFrameWithoutACompleteObjectAddsNoRow) {
    const Bytes events = Variable(0x08, {2, 1, 3, 1, 5, 0, 1, 0x39});
    EXPECT_EQ(Analyze(events).lines, Lines{Single(events, "【1#事件纪录帧】")});
    EXPECT_EQ(tables.GrdSJ.RowCount(), 2);
    EXPECT_EQ(tables.GrdSJ.Cell(kSjNumberCol, 1), "");
    EXPECT_TRUE(tables.Slot(ValuePage::Yx, 1).present);
    EXPECT_EQ(clockReads, 0);
}

TEST_F(AnalyzerTest, SameBurstTwiceGivesTheSameAccountAndAppendsEventsTwice) {
    DefineTelesignals(5);
    const Bytes burst = Hex("10 0B 01 0C 16 68 0C 0C 68 28 01 02 01 03 01 05 00 01 39 30 0C AB 16");
    const FrameAnalysis first = Analyze(burst);
    const FrameAnalysis second = Analyze(burst);
    EXPECT_EQ(first.lines, second.lines);
    EXPECT_EQ(first.verdict, second.verdict);
    EXPECT_EQ(tables.GrdSJ.RowCount(), 3);
    EXPECT_EQ(tables.GrdSJ.Cell(kSjNumberCol, 2), "2");
    EXPECT_EQ(tables.GrdSJ.Cell(kSjTimeCol, 2), tables.GrdSJ.Cell(kSjTimeCol, 1));
    EXPECT_EQ(tables.GrdYX.ColCount(), 5);
}

TEST_F(AnalyzerTest, DeviceColumnsFollowTheAddressesSeen) {
    Analyze(Variable(0x08, {9, 1, 20, 3, 1, 0x40, 1, 0}, 3));
    Analyze(Variable(0x08, {9, 1, 20, 1, 1, 0x40, 2, 0}, 1));
    Analyze(Variable(0x08, {9, 1, 20, 3, 1, 0x40, 3, 0}, 3));
    EXPECT_EQ(tables.GrdYC.ColCount(), 6);
    EXPECT_EQ(tables.GrdYC.Cell(4, 0), "3#设备");
    EXPECT_EQ(tables.GrdYC.Cell(5, 0), "1#设备");
    EXPECT_EQ(tables.GrdYC.Cell(4, 1), "3");
    EXPECT_EQ(tables.GrdYC.Cell(5, 1), "2");
    EXPECT_EQ(tables.GrdYX.ColCount(), 4);
}

// The outstation's own user data on a balanced link (PRM 1, function 3 or 4,
// DIR 0) reads as a user data reply; in unbalanced mode, and from our
// direction (DIR 1), as always.
TEST_F(AnalyzerTest, BalancedOutstationDataReadAsReplies) {
    struct Case {
        LinkMode mode;
        std::uint8_t control;
        const char* text;
        const char* state;  // row 1 after
    };
    const Case cases[] = {
        {LinkMode::Balanced, 0x73, "1# 遥信回复帧   共2个遥信量", "合"},
        {LinkMode::Balanced, 0x44, "1# 遥信回复帧   共2个遥信量", "合"},
        {LinkMode::Balanced, 0xF3, "总召1#", ""},
        {LinkMode::Unbalanced, 0x73, "总召1#", ""},
        {LinkMode::Unbalanced, 0x53, "总召1#", ""},
    };
    for (const Case& c : cases) {
        ValueTables balancedTables;
        balancedTables.GrdYX.SetRowCount(3);
        for (int row = 1; row <= 2; ++row) {
            balancedTables.GrdYX.SetCell(kYxState0Col, row, "分");
            balancedTables.GrdYX.SetCell(kYxState1Col, row, "合");
        }
        LinkProfile profile;
        profile.mode = c.mode;
        const Bytes frame = Variable(c.control, {1, 0x82, 20, 1, 1, 0, 1, 0});
        const FrameAnalysis result = AnalyzeFrames(frame, balancedTables, decoding, profile, [] { return 7; });
        EXPECT_EQ(result.lines, Lines{Single(frame, c.text)}) << int(c.control);
        const DeviceColumnSlot& slot = balancedTables.Slot(ValuePage::Yx, 1);
        EXPECT_EQ(slot.present ? balancedTables.GrdYX.Cell(slot.column, 1) : "", c.state) << int(c.control);
    }
}

}  // namespace
}  // namespace tc101
