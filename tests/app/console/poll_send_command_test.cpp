// tc101tool poll and send against a scripted outstation on a pty pair: the
// requests chosen by the replies and the printed log, line by line.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>

#include "support/test_folder.h"
#include "protocol/analyzer.h"
#include "protocol/hex_text.h"
#include "tool_run.h"

namespace tc101 {
namespace {

using namespace testing_support;

Bytes Hex(std::string_view text) { return HexTextToBytes(text); }
std::string Text(const Bytes& bytes) { return BytesToHexText(bytes); }

// Replies by the request's hex text; anything else gets no answer.
Peer Script(std::map<std::string, std::vector<std::string>> replies) {
    return [replies = std::move(replies), used = std::map<std::string, std::size_t>()](const Bytes& frame) mutable {
        const auto found = replies.find(Text(frame));
        if (found == replies.end()) return Bytes{};
        std::size_t& n = used[found->first];
        const auto& list = found->second;
        return Hex(list[std::min(n++, list.size() - 1)]);
    };
}

// The log lines the window shows for one received block.
std::vector<std::string> ReceivedLines(std::string_view hex) {
    const Bytes block = Hex(hex);
    ValueTables tables;
    std::vector<std::string> lines{"Rx:" + Text(block)};
    for (const std::string& line : AnalyzeFrames(block, tables, DecodingSettings{}).lines) lines.push_back(line);
    lines.emplace_back();
    return lines;
}

constexpr const char* kLinkStatus = "10 49 01 4A 16";
constexpr const char* kClass1 = "10 5A 01 5B 16";
constexpr const char* kClass2 = "10 5B 01 5C 16";
constexpr const char* kInterrogation = "68 09 09 68 53 01 64 01 06 01 00 00 14 D4 16";

class ConsoleMasterOnPty : public ::testing::Test {
protected:
    ToolResult Run(std::vector<std::string> args, const Peer& peer) {
        args.insert(args.begin() + 1, {"--port", pty.SlaveName(), "--frame-delay", "20", "--color", "never"});
        return RunTool(args, pty, peer, folder);
    }
    static std::vector<std::string> Requests(const ToolResult& r) {
        std::vector<std::string> texts;
        for (const Bytes& frame : r.requests) texts.push_back(Text(frame));
        return texts;
    }

    PtyPair pty;
    std::filesystem::path folder = testing::FreshFolder();
};

TEST_F(ConsoleMasterOnPty, NoAnswerSendsLinkStatusEveryFourthTick) {
    const ToolResult r = Run({"poll", "--interval", "30", "--ticks", "9"}, Script({}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Requests(r), (std::vector<std::string>{kLinkStatus, kLinkStatus, kLinkStatus}));
    const std::vector<std::string> banner{"========召唤链路状态 1#========", std::string("TX:") + kLinkStatus};
    std::vector<std::string> expected;
    for (int i = 0; i < 3; ++i) {
        // The request the waiting rule gave up on is said before the next goes.
        if (i > 0) expected.push_back("1# 超时无应答");
        expected.insert(expected.end(), banner.begin(), banner.end());
    }
    EXPECT_EQ(LinesWithoutStamps(r.out), expected);
}

// The replies steer each next request; the output holds the window's lines.
TEST_F(ConsoleMasterOnPty, RepliesSteerThePollAndThePrintedLog) {
    constexpr const char* kStatus = "10 0B 01 0C 16";
    constexpr const char* kConfirmAcd = "68 09 09 68 28 01 64 01 07 01 00 00 14 AA 16";
    constexpr const char* kBadVariable = "68 09 09 68 08 01 64 01 07 01 00 00 14 00 16";
    const Peer peer = Script({{kLinkStatus, {kStatus}},
                              {kInterrogation, {kConfirmAcd}},
                              {kClass1, {"E5"}},
                              {kClass2, {kBadVariable}}});
    const ToolResult r = Run({"poll", "--interval", "150", "--ticks", "5"}, peer);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Requests(r), (std::vector<std::string>{kLinkStatus, kInterrogation, kClass1, kClass2, kLinkStatus}));

    std::vector<std::string> expected;
    const auto add = [&](std::vector<std::string> lines) { expected.insert(expected.end(), lines.begin(), lines.end()); };
    add({"========召唤链路状态 1#========", std::string("TX:") + kLinkStatus});
    add(ReceivedLines(kStatus));
    add({"========总召1#========", std::string("TX:") + kInterrogation});
    add(ReceivedLines(kConfirmAcd));
    add({"========召唤一级数据1#========", std::string("TX:") + kClass1});
    add(ReceivedLines("E5"));
    add({"========召唤二级数据 1#========", std::string("TX:") + kClass2});
    add(ReceivedLines(kBadVariable));
    add({"========召唤链路状态 1#========", std::string("TX:") + kLinkStatus});
    add(ReceivedLines(kStatus));
    EXPECT_EQ(LinesWithoutStamps(r.out), expected);
}

// The link statistics end the run on standard error; standard output is the
// traffic log alone.
TEST_F(ConsoleMasterOnPty, LinkSummaryGoesToStandardError) {
    struct Case {
        std::vector<std::string> args;
        std::map<std::string, std::vector<std::string>> replies;
        std::string summary;  // the line up to the times
        bool timed;           // answered: the times are numbers
    };
    const std::map<std::string, std::vector<std::string>> answering{
        {kLinkStatus, {"10 0B 01 0C 16"}}, {kInterrogation, {"E5"}}, {kClass2, {"10 0B 01 0D 16"}}};
    const Case cases[] = {
        {{"poll", "--interval", "60", "--ticks", "3"}, answering,
         "link: sent=3 answered=3 timeouts=0 repeats=0 checksum_errors=1 unexpected=0 ", true},
        {{"poll", "--interval", "60", "--ticks", "3", "--frame-complete"}, answering,
         "link: sent=3 answered=3 timeouts=0 repeats=0 checksum_errors=1 unexpected=0 ", true},
        {{"poll", "--interval", "30", "--ticks", "5"}, {},
         "link: sent=2 answered=0 timeouts=2 repeats=1 checksum_errors=0 unexpected=0 "
         "min_ms=- median_ms=- p95_ms=- max_ms=-", false},
    };
    for (const auto& c : cases) {
        const ToolResult r = Run(c.args, Script(c.replies));
        ASSERT_EQ(r.exitCode, 0) << r.err;
        ASSERT_FALSE(r.err.empty());
        const std::string last = r.err.substr(r.err.rfind('\n', r.err.size() - 2) + 1);
        EXPECT_EQ(last.rfind(c.summary, 0), 0u) << last;
        if (c.timed) {
            const std::regex times(R"(min_ms=\d+\.\d median_ms=\d+\.\d p95_ms=\d+\.\d max_ms=\d+\.\d\n)");
            EXPECT_TRUE(std::regex_search(last, times)) << last;
        }
        EXPECT_EQ(r.out.find("link:"), std::string::npos);
        EXPECT_EQ(r.out.rfind("========", 0), 0u) << "stdout starts with the first banner";
    }
}

// A conforming outstation: reset after the status, FCB alternating, the
// acknowledgement of the interrogation followed by class 2.
TEST_F(ConsoleMasterOnPty, StandardLinkProcedureOnTheLine) {
    const Peer peer = Script({{"10 49 07 50 16", {"10 0B 07 12 16"}},
                              {"10 40 07 47 16", {"E5"}},
                              {"68 09 09 68 73 07 64 01 06 07 00 00 14 00 16", {"10 00 07 07 16"}},
                              {"10 5B 07 62 16", {"10 09 07 10 16"}},
                              {"10 7B 07 82 16", {"10 09 07 10 16"}}});
    const ToolResult r = Run({"poll", "--address", "263", "--interval", "150", "--ticks", "6", "--standard-link"}, peer);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Requests(r), (std::vector<std::string>{"10 49 07 50 16",
                                                     "10 40 07 47 16",
                                                     "68 09 09 68 73 07 64 01 06 07 00 00 14 00 16",
                                                     "10 5B 07 62 16", "10 7B 07 82 16", "10 5B 07 62 16"}));
    const auto lines = LinesWithoutStamps(r.out);
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(lines[5], "========复位远方链路 7#========");
    EXPECT_EQ(lines[6], "TX:10 40 07 47 16");
}

TEST_F(ConsoleMasterOnPty, SendPutsTheTidiedOctetsOnTheLineAndPrintsThem) {
    const std::vector<std::string> texts[] = {{"10", "49", "01", "4A", "16"}, {"1049014a16"}, {"10,49,01,4A,16"}};
    for (const auto& words : texts) {
        std::vector<std::string> args{"send", "--wait", "400"};
        args.insert(args.end(), words.begin(), words.end());
        const ToolResult r = Run(args, Script({{kLinkStatus, {"E5"}}}));
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(Requests(r), std::vector<std::string>{kLinkStatus}) << words[0];
        std::vector<std::string> expected{std::string("Tx:") + kLinkStatus};
        for (const std::string& line : ReceivedLines("E5")) expected.push_back(line);
        EXPECT_EQ(LinesWithoutStamps(r.out), expected) << words[0];
    }
}

// Closing lets the queue leave: without waiting the message still reaches the line.
TEST_F(ConsoleMasterOnPty, SendWithoutWaitingStillPutsTheMessageOnTheLine) {
    for (int run = 0; run < 3; ++run) {
        const ToolResult r = Run({"send", "--wait", "0", "10 49 01 4A 16"}, Script({}));
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(Requests(r), std::vector<std::string>{kLinkStatus}) << "run " << run;
        EXPECT_EQ(LinesWithoutStamps(r.out), std::vector<std::string>{"Tx:10 49 01 4A 16"});
    }
}

// A stored frame delay of 0 would deliver only full 2048-octet blocks: the
// port opens with 100 ms and says so once.
TEST_F(ConsoleMasterOnPty, AStoredDeadFrameDelayOpensAsTheDefault) {
    const char* const previous = std::getenv("TC101_CONFIG_DIR");
    const std::string restore = previous ? previous : "";
    ::setenv("TC101_CONFIG_DIR", folder.c_str(), 1);
    std::ofstream(folder / "comset.ini") << "[ComSet]\r\nRecieveDelay=0\r\n";
    const ToolResult r = RunTool({"send", "--port", pty.SlaveName(), "--wait", "400", "--color", "never", kLinkStatus},
                                 pty, Script({{kLinkStatus, {"E5"}}}), folder);
    if (previous) ::setenv("TC101_CONFIG_DIR", restore.c_str(), 1); else ::unsetenv("TC101_CONFIG_DIR");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::vector<std::string> expected{"帧中断延时 0 毫秒无效(只能收到满 2048 字节的块), 端口按 100 毫秒打开",
                                      "Tx:10 49 01 4A 16"};
    for (const std::string& line : ReceivedLines("E5")) expected.push_back(line);
    EXPECT_EQ(LinesWithoutStamps(r.out), expected);
}

TEST_F(ConsoleMasterOnPty, RefusalsTouchNothing) {
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        const char* error;
    };
    const std::string tooLong(2 * 1025, '0');  // 1025 pairs
    const Case cases[] = {
        {{"send", "10 4G"}, 2, "报文“10 4G”里有“G”"},
        {{"send", "1049014A1"}, 2, "报文“1049014A1”的十六进制数字不成对"},
        {{"send", tooLong}, 2, "报文太长：一条报文最多1024个字节，这条有1025个字节。"},
        {{"poll", "--ticks", "2", "--seconds", "1"}, 2, "not both"},
        {{"poll", "--interval", "0"}, 2, "--interval must be from 1"},
    };
    for (const Case& c : cases) {
        const ToolResult r = Run(c.args, Script({}));
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args[0];
        EXPECT_NE(r.err.find(c.error), std::string::npos) << r.err;
        EXPECT_TRUE(r.requests.empty());
        EXPECT_TRUE(r.out.empty());
    }
}

// Without --ticks or --seconds the poll runs until Ctrl-C, and still ends
// cleanly: exit 0, the tables printed and the workbook written.
TEST_F(ConsoleMasterOnPty, CtrlCEndsAnEndlessPollCleanly) {
    const std::string workbook = (folder / "run.xlsx").string();
    const ToolResult r = RunTool(
        {"poll", "--port", pty.SlaveName(), "--interval", "20", "--tables", "--xlsx", workbook, "--color", "never"},
        pty, Script({{kLinkStatus, {"10 0B 01 0C 16"}}}), folder,
        [](const ToolResult& sofar) { return sofar.requests.size() >= 2; });
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("[GrdYC]"), std::string::npos);
    EXPECT_NE(r.out.find("[GrdSJ]"), std::string::npos);
    char magic[2] = {};
    std::ifstream(workbook, std::ios::binary).read(magic, sizeof magic);
    EXPECT_EQ(std::string(magic, sizeof magic), "PK") << "no workbook at " << workbook;
}

TEST(ConsoleMasterPort, AMissingPortIsExitOneWithThePortsError) {
    PtyPair pty;
    const ToolResult r = RunTool({"poll", "--port", "/dev/tc101-no-such-port", "--ticks", "1"}, pty,
                                 Script({}), testing::FreshFolder());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("Error opening serial port. /dev/tc101-no-such-port: No such file or directory\n"), std::string::npos)
        << r.err;
    EXPECT_TRUE(r.out.empty());
}

}  // namespace
}  // namespace tc101
