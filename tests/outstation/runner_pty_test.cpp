#include "outstation/station_runner.h"

#include <gtest/gtest.h>

#include <mutex>
#include <regex>
#include <string>
#include <vector>

#include "serial/comms_error.h"
#include "support/pty_harness.h"
#include "station_support.h"

namespace tc101 {
namespace {

using namespace testing_support;

class RunnerPtyTest : public ::testing::Test {
protected:
    StationRunner::PortSetup Setup(std::string name) {
        return [name = std::move(name)](TComm& comm) {
            comm.SetCommName(name);
            UseComm1Line(comm);
            comm.SetReadIntervalTimeout(20);
        };
    }
    StationRunner::LogSink Sink() {
        return [this](const std::string& line) {
            const std::lock_guard lock(mutex);
            log.push_back(line);
        };
    }
    std::vector<std::string> Log() {
        const std::lock_guard lock(mutex);
        return log;
    }

    PtyPair pty;
    std::mutex mutex;
    std::vector<std::string> log;
};

TEST_F(RunnerPtyTest, AnswersOnTheLineAndLogsBothWays) {
    StationConfig config;
    config.yxCount = 2;
    config.ycCount = 1;
    config.eventEveryMs = 0;
    config.changeEveryMs = 0;
    StationRunner runner(config, Setup(pty.SlaveName()), Sink());
    runner.Start();

    pty.Write(Fixed(kLinkStatusRequest));
    EXPECT_EQ(Text(pty.Read(5)), "10 0B 01 0C 16");
    pty.Write(Interrogation());
    EXPECT_EQ(Text(pty.Read(15)), "68 09 09 68 20 01 64 01 07 01 00 00 14 A2 16");
    pty.Write(Fixed(kClass1Request));
    EXPECT_EQ(pty.Read(14).size(), 14u);  // two telesignals
    runner.Stop();

    const std::vector<std::string> lines = Log();
    ASSERT_EQ(lines.size(), 6u);
    const std::regex stamp("  \\(\\d\\d:\\d\\d:\\d\\d:\\d\\d\\d\\)$");
    EXPECT_EQ(lines[0].substr(0, lines[0].size() - 16), "Rx:10 49 01 4A 16");
    EXPECT_EQ(lines[1].substr(0, lines[1].size() - 16), "TX:10 0B 01 0C 16");
    for (const std::string& line : lines) EXPECT_TRUE(std::regex_search(line, stamp)) << line;
    EXPECT_EQ(runner.BlocksReceived(), 3);
    EXPECT_EQ(runner.FramesSent(), 3);
    EXPECT_EQ(runner.Counters().framesHandled, 3);
}

TEST_F(RunnerPtyTest, OpenErrorReachesTheCaller) {
    StationRunner runner(StationConfig{}, Setup("/dev/tc101-no-such-port"), Sink());
    EXPECT_THROW(runner.Start(), ECommsError);
    runner.Stop();  // nothing to stop
}

TEST_F(RunnerPtyTest, EndsWhenThePeerHangsUp) {
    StationRunner runner(StationConfig{}, Setup(pty.SlaveName()), Sink());
    runner.Start();
    EXPECT_FALSE(runner.WaitEnded(std::chrono::milliseconds(50)));
    pty.CloseMaster();
    EXPECT_TRUE(runner.WaitEnded(std::chrono::seconds(3)));
    EXPECT_TRUE(runner.HungUp());
    runner.Stop();
}

TEST_F(RunnerPtyTest, FailingLogEndsTheRunInsteadOfLeavingTheThread) {
    StationRunner runner(StationConfig{}, Setup(pty.SlaveName()),
                         [](const std::string&) { throw std::runtime_error("cannot write the log"); });
    runner.Start();
    pty.Write(Fixed(kLinkStatusRequest));
    EXPECT_TRUE(runner.WaitEnded(std::chrono::seconds(3)));
    EXPECT_EQ(runner.Failure(), "cannot write the log");
}

}  // namespace
}  // namespace tc101
