// The master station's seam: what it puts on the port and what it tells its sink.

#include "traffic/master_station.h"

#include <regex>
#include <utility>

#include <gtest/gtest.h>

#include "protocol/hex_text.h"
#include "serial/port_settings.h"

namespace tc101 {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::pair<LogColour, std::string>>;

struct FakePort : FramePort {
    bool accepts = true;
    bool drains = true;
    std::vector<std::string> frames;
    int drainCalls = 0;

    bool SendBytes(const std::uint8_t* data, std::uint16_t count) override {
        if (accepts) frames.push_back(BytesToHexText(std::span(data, count)));
        return accepts;
    }
    bool Drain() override {
        ++drainCalls;
        return drains;
    }
};

// The stamp of every line as "T": the lines themselves are log_lines' business.
struct RecordingSink : MasterSink {
    Lines lines;
    void Line(LogColour colour, std::string_view text) override {
        static const std::regex stamp(R"(\(\d\d:\d\d:\d\d:\d\d\d\)$)");
        lines.emplace_back(colour, std::regex_replace(std::string(text), stamp, "(T)"));
    }
    void Account(const std::vector<std::string>& account) override {
        for (const std::string& line : account) lines.emplace_back(LogColour::Red, line);
        lines.emplace_back(LogColour::Red, "");
    }
};

struct Rig {
    explicit Rig(SendLogging logging) : station(port, sink, tables, {logging, [] { return 9; }, DecodingSettings{}, LinkProfile{}}) {
        MasterSettings settings;
        settings.shortValues = {0x49, 0x5A, 0x5B};
        station.SetSettings(settings);
    }
    FakePort port;
    RecordingSink sink;
    ValueTables tables;
    MasterStation station;
};

constexpr LogColour kBlack = LogColour::Black, kBlue = LogColour::Blue, kGreen = LogColour::Green,
                    kRed = LogColour::Red;
const std::string kNotWritten = NotWrittenText(5);

LineErrorCounts ParityErrors(std::uint32_t count) {
    LineErrorCounts counts;
    counts.parity = count;
    return counts;
}

TEST(MasterStation, EachSendLoggingLogsAFrameAsItsOwnerDid) {
    struct Case {
        const char* name;
        SendLogging logging;
        bool accepts, drains;
        bool left;  // what the senders answer
        int drainCalls;
        Lines lines;  // a request, then the message "E5 E5 E5 E5 E5" named "名"
    };
    const Case cases[] = {
        // The window: logged once queued, a refusal not reported.
        {"queued", SendLogging::WhenQueued, true, false, true, 0,
         {{kBlack, "========召唤链路状态 1#========"}, {kBlue, "TX:10 49 01 4A 16  (T)"},
          {kBlack, "========名========"}, {kBlue, "Tx:E5 E5 E5 E5 E5  (T)"}}},
        {"queued refused", SendLogging::WhenQueued, false, true, true, 0,
         {{kBlack, "========召唤链路状态 1#========"}, {kBlue, "TX:10 49 01 4A 16  (T)"},
          {kBlack, "========名========"}, {kBlue, "Tx:E5 E5 E5 E5 E5  (T)"}}},
        // The console: logged once left, a red line for what did not leave.
        {"left", SendLogging::WhenLeft, true, true, true, 2,
         {{kBlack, "========召唤链路状态 1#========"}, {kBlue, "TX:10 49 01 4A 16  (T)"},
          {kBlack, "========名========"}, {kBlue, "Tx:E5 E5 E5 E5 E5  (T)"}}},
        {"held", SendLogging::WhenLeft, true, false, false, 2,
         {{kBlack, "========召唤链路状态 1#========"}, {kRed, kNotWritten},
          {kBlack, "========名========"}, {kRed, kNotWritten}}},
        {"refused", SendLogging::WhenLeft, false, true, false, 0,
         {{kBlack, "========召唤链路状态 1#========"}, {kRed, kNotWritten},
          {kBlack, "========名========"}, {kRed, kNotWritten}}},
    };
    for (const Case& c : cases) {
        Rig rig(c.logging);
        rig.port.accepts = c.accepts;
        rig.port.drains = c.drains;
        EXPECT_EQ(rig.station.SendRequest(MasterRequest::LinkStatus, 257), c.left) << c.name;
        rig.station.Cycle().StartContinuous();
        EXPECT_EQ(rig.station.SendMessage(PrepareMessage("E5E5E5E5E5"), "名"), c.left) << c.name;
        // Only a message that went out waits for its reply.
        EXPECT_EQ(rig.station.Cycle().ReplyReceived(), !c.left) << c.name;
        EXPECT_EQ(rig.port.drainCalls, c.drainCalls) << c.name;
        EXPECT_EQ(rig.sink.lines, c.lines) << c.name;
    }
}

TEST(MasterStation, BlocksAreLoggedAnalysedAndSteerThePoll) {
    Rig rig(SendLogging::WhenQueued);
    EXPECT_EQ(rig.station.Received({}), std::nullopt);
    EXPECT_TRUE(rig.sink.lines.empty());
    EXPECT_EQ(rig.station.Received(Bytes{0x10, 0x0B, 0x01, 0x0C, 0x16}), PollVerdict::LinkReady);
    ASSERT_EQ(rig.sink.lines.size(), 3u);
    EXPECT_EQ(rig.sink.lines[0], (std::pair{kGreen, std::string("Rx:10 0B 01 0C 16  (T)")}));
    EXPECT_EQ(rig.sink.lines[2], (std::pair{kRed, std::string()}));
    EXPECT_EQ(rig.station.Cycle().NextRequest(), MasterRequest::GeneralInterrogation);

    // The settings' switch reaches the poll decision: a status of link now brings the reset.
    MasterSettings standard = rig.station.Settings();
    standard.standardLink = true;
    rig.station.SetSettings(standard);
    rig.station.Received(Bytes{0x10, 0x0B, 0x01, 0x0C, 0x16});
    EXPECT_EQ(rig.station.SimulationTick(1), MasterRequest::ResetRemoteLink);
    rig.station.SendRequest(MasterRequest::Class2, 1);
    rig.station.SendRequest(MasterRequest::Class2, 1);
    EXPECT_EQ(rig.port.frames, (std::vector<std::string>{"10 40 01 41 16", "10 7B 01 7C 16", "10 5B 01 5C 16"}));
}

TEST(MasterStation, PortTroubleIsRedLines) {
    Rig rig(SendLogging::WhenQueued);
    const auto t0 = MasterStation::Clock::now();
    rig.station.PortOpened(100);
    rig.station.PortOpened(0);
    rig.station.LineErrors(ParityErrors(1), t0);
    rig.station.LineErrors(ParityErrors(2), t0 + std::chrono::milliseconds(10));
    EXPECT_EQ(rig.station.NextLineErrorDue(), t0 + LineErrorReport::kSpacing);
    rig.station.ShowDueLineErrors(t0 + LineErrorReport::kSpacing);
    rig.station.WriteTimedOut(3, 5);
    EXPECT_EQ(rig.sink.lines, (Lines{{kRed, FrameDelayReplacedText(0, UsableFrameDelay(0))},
                                     {kRed, LineErrorText(ParityErrors(1))},
                                     {kRed, LineErrorText(ParityErrors(2))},
                                     {kRed, WriteTimeoutText(3, 5)}}));
}

// Balanced mode: the tick initialises the link and sends the interrogation
// once it is up; the outstation's data is acknowledged and decoded, its
// repeat acknowledged again and not decoded twice.
TEST(MasterStation, BalancedStartUpAnswersAndDuplicates) {
    Rig rig(SendLogging::WhenQueued);
    LinkProfile profile;
    profile.mode = LinkMode::Balanced;
    rig.station.SetProfile(profile);
    const auto receive = [&rig](const char* hex) { rig.station.Received(HexTextToBytes(hex)); };
    rig.station.SimulationTick(1);
    receive("10 0B 01 0C 16");
    receive("10 00 01 01 16");
    receive("10 00 01 01 16");  // the interrogation confirmed
    const char* event = "68 0C 0C 68 73 01 02 01 03 01 05 00 01 11 22 33 E7 16";
    receive(event);
    const int rows = rig.tables.GrdSJ.RowCount();
    receive(event);
    EXPECT_EQ(rig.port.frames, (std::vector<std::string>{"10 C9 01 CA 16", "10 C0 01 C1 16",
                                                         "68 09 09 68 F3 01 64 01 06 01 00 00 14 74 16",
                                                         "10 80 01 81 16", "10 80 01 81 16"}));
    EXPECT_EQ(rig.tables.GrdSJ.RowCount(), rows) << "the repeated event decoded twice";
    const Lines tail(rig.sink.lines.end() - 7, rig.sink.lines.end());
    EXPECT_EQ(tail, (Lines{{kGreen, "Rx:" + std::string(event) + "  (T)"},
                           {kRed, "有效帧:" + std::string(event) + "  【【1#事件纪录帧】】"},
                           {kRed, ""},
                           {kBlue, "TX:10 80 01 81 16  (T)"},
                           {kGreen, "Rx:" + std::string(event) + "  (T)"},
                           {kBlack, "1# 重复帧(FCB 未翻转), 已确认, 不再解析: " + std::string(event)},
                           {kBlue, "TX:10 80 01 81 16  (T)"}}));
    const auto* counters = rig.station.BalancedCounters();
    ASSERT_NE(counters, nullptr);
    EXPECT_EQ(counters->duplicates, 1);
    // Our three primary frames were answered; our acknowledgements wait for nothing.
    const LinkCounts& link = rig.station.Link().Statistics().Counts();
    EXPECT_EQ(link.sent, 3u);
    EXPECT_EQ(link.answered, 3u);
    EXPECT_EQ(link.timeouts + link.unexpected, 0u);
}

}  // namespace
}  // namespace tc101
