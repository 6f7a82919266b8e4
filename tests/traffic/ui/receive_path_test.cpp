// A received block through the window's master station into its log view.

#include <QPlainTextEdit>
#include <QTextBlock>
#include <gtest/gtest.h>

#include "protocol/hex_text.h"
#include "traffic/log_lines.h"
#include "traffic/master_station.h"
#include "traffic/ui/manual_analysis.h"
#include "traffic/ui/traffic_log.h"

namespace tc101 {
namespace {

using Bytes = std::vector<std::uint8_t>;

const auto kMoment = std::chrono::system_clock::now();
const QString kStampSuffix = QString::fromStdString(StampSuffix(TimeStamp(kMoment)));
const HourClock kHour = [] { return 9; };

QString LogLine(const TrafficLog& log, int line) { return log.document()->findBlockByNumber(line).text(); }

// Nothing is sent here.
struct NoPort : FramePort {
    bool SendBytes(const std::uint8_t*, std::uint16_t) override { return false; }
    bool Drain() override { return false; }
};

class ReceivePathTest : public ::testing::Test {
protected:
    std::optional<PollVerdict> Receive(const Bytes& block) { return station.Received(block, kMoment); }

    NoPort port;
    TrafficLog log;
    ValueTables tables;
    MasterStation station{port, log, tables, {SendLogging::WhenQueued, kHour, DecodingSettings{}, LinkProfile{}}};
};

TEST_F(ReceivePathTest, SingleCharacterGivesTheGreenLineThenTheRedAccountAndAnEmptyLine) {
    EXPECT_EQ(Receive({0xE5}), PollVerdict::NoClass1Waiting);
    ASSERT_EQ(log.LineCount(), 3);
    EXPECT_EQ(LogLine(log, 0), QStringLiteral("Rx:E5") + kStampSuffix);
    EXPECT_FALSE(LogLine(log, 1).isEmpty());
    EXPECT_EQ(LogLine(log, 2), QString());
}

TEST_F(ReceivePathTest, VerdictsFollowTheAnalysis) {
    struct Case {
        const char* hex;
        PollVerdict verdict;
    };
    const Case cases[] = {
        {"10 0B 01 0C 16", PollVerdict::LinkReady},
        {"E5", PollVerdict::NoClass1Waiting},
        {"01 02 03", PollVerdict::None},
        {"68 0C 0C 68 28 01 15 82 14 01 01 40 E8 03 18 FC 15 16", PollVerdict::Class1Waiting},
    };
    for (const Case& c : cases) EXPECT_EQ(Receive(HexTextToBytes(c.hex)), c.verdict) << c.hex;
}

TEST_F(ReceivePathTest, BlockWithoutFramesStillGetsItsGreenLine) {
    Receive({0x01, 0x02});
    EXPECT_EQ(LogLine(log, 0), QStringLiteral("Rx:01 02") + kStampSuffix);
    EXPECT_EQ(LogLine(log, 1), QStringLiteral(u"没有有效的101报文帧"));
}

TEST_F(ReceivePathTest, TelemetryReplyFillsTheDeviceColumn) {
    Receive(HexTextToBytes("68 0C 0C 68 08 01 15 82 14 01 01 40 E8 03 18 FC F5 16"));
    EXPECT_EQ(tables.GrdYC.Cell(kFirstDeviceCol, 0), "1#设备");
    EXPECT_EQ(tables.GrdYC.Cell(kFirstDeviceCol, 1), "1000");
    EXPECT_EQ(tables.GrdYX.ColCount(), kFirstDeviceCol);
}

// A long session keeps its newest lines: the fewest oldest whole lines go,
// leaving at least the bound (line breaks counted as CR LF), never all.
TEST_F(ReceivePathTest, ALongLogDropsItsOldestLinesAndKeepsTheNewest) {
    for (const int width : {78, 0}) {
        log.ClearLog();
        int lines = 0;
        while (log.TextLength() < kLogCharacterLimit + kLogTrimSlack - 100)
            log.AppendLine(LogColour::Black, QStringLiteral("%1 ").arg(lines++).leftJustified(width, QLatin1Char('x')));
        const QString before = log.toPlainText();
        EXPECT_EQ(Receive({}), std::nullopt) << width;
        EXPECT_EQ(log.toPlainText(), before) << width;
        const QString first = LogLine(log, 0);
        for (int i = 0; i < 100 && LogLine(log, 0) == first; ++i) Receive({0xE5});
        const qsizetype length = log.TextLength();
        EXPECT_GE(length, kLogCharacterLimit) << width;
        EXPECT_LE(length, kLogCharacterLimit + kLogTrimSlack) << width;
        // No more went than needed: the reply appended after the trim is all that is over.
        EXPECT_LT(length - (LogLine(log, 0).size() + 2), kLogCharacterLimit + 100) << width;
        EXPECT_NE(LogLine(log, 0), QStringLiteral("0 ").leftJustified(width, QLatin1Char('x'))) << width;
        EXPECT_TRUE(before.endsWith(LogLine(log, 0)) || before.contains(LogLine(log, 0) + QLatin1Char('\n'))) << width;
        EXPECT_EQ(LogLine(log, log.LineCount() - 3), QStringLiteral("Rx:E5") + kStampSuffix) << width;
    }
}

TEST(ManualAnalysisTest, PaneIsNormalisedLoggedInBlackAndAnalysedWithoutTheVerdict) {
    TrafficLog log;
    ValueTables tables;
    QPlainTextEdit pane;
    pane.setPlainText(QStringLiteral("  10 0b 01 0c 16 zz"));
    AnalyzePane(pane, log, tables, DecodingSettings{}, LinkProfile{});
    EXPECT_EQ(pane.toPlainText(), QStringLiteral("10 0B 01 0C 16"));
    EXPECT_EQ(LogLine(log, 0), QString::fromUtf8(kAnalysisBanner.data(), static_cast<qsizetype>(kAnalysisBanner.size())));
    EXPECT_EQ(LogLine(log, 1), QStringLiteral("10 0B 01 0C 16"));
    EXPECT_TRUE(LogLine(log, 2).contains(QStringLiteral(u"链路完好")));
}

TEST(ManualAnalysisTest, BlankPaneDoesNothingAndALongLogKeepsItsLines) {
    TrafficLog log;
    ValueTables tables;
    QPlainTextEdit pane;
    pane.setPlainText(QStringLiteral(" \n"));
    AnalyzePane(pane, log, tables, DecodingSettings{}, LinkProfile{});
    EXPECT_EQ(log.LineCount(), 1);
    EXPECT_TRUE(log.toPlainText().isEmpty());

    for (int i = 0; i < 5000; ++i) log.AppendLine(LogColour::Black, QStringLiteral("x"));
    pane.setPlainText(QStringLiteral("E5"));
    AnalyzePane(pane, log, tables, DecodingSettings{}, LinkProfile{});
    EXPECT_EQ(log.LineCount(), 5000 + 4);  // banner, text, the account line and the empty line after it
    EXPECT_EQ(LogLine(log, 1), QStringLiteral("x"));
}

}  // namespace
}  // namespace tc101
