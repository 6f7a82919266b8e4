#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "protocol/hex_text.h"
#include "traffic/link_stats_text.h"
#include "traffic/link_watch.h"

namespace tc101 {
namespace {

using std::chrono::milliseconds;
using std::chrono::microseconds;

TEST(LinkStatistics, SummaryByNearestRank) {
    struct Case {
        std::vector<int> us;
        std::optional<ResponseSummary> expected;
    };
    const auto summary = [](std::size_t n, int min, int median, int p95, int max, int mean) {
        return ResponseSummary{n, microseconds(min), microseconds(median), microseconds(p95), microseconds(max),
                               microseconds(mean)};
    };
    std::vector<int> oneToTwenty;
    for (int i = 1; i <= 20; ++i) oneToTwenty.push_back(i * 1000);
    const Case cases[] = {
        {{}, std::nullopt},
        {{5000}, summary(1, 5000, 5000, 5000, 5000, 5000)},
        {{3000, 1000, 2000}, summary(3, 1000, 2000, 3000, 3000, 2000)},
        {{4000, 1000, 3000, 2000}, summary(4, 1000, 2000, 4000, 4000, 2500)},
        {oneToTwenty, summary(20, 1000, 10000, 19000, 20000, 10500)},
    };
    for (const auto& c : cases) {
        std::vector<ResponseTime> times;
        for (const int us : c.us) times.push_back(microseconds(us));
        EXPECT_EQ(SummariseResponseTimes(times), c.expected) << c.us.size() << " times";
    }
}

// One run of the master's link, step by step, at times in ms from an origin.
struct Step {
    enum Kind { Sent, Left, Received, End } kind;
    int ms;
    const char* hex = "";
};

struct Scenario {
    const char* name;
    std::vector<Step> steps;
    LinkCounts counts;
    const char* summary;
};

TEST(LinkStatistics, MasterLinkEventsGiveCountsAndTimes) {
    const char* request = "10 5B 01 5C 16";
    const char* requestOtherFcb = "10 7B 01 7C 16";
    const char* ack = "10 0B 01 0C 16";
    const Scenario scenarios[] = {
        {"answered after the port's word on the frame's end",
         {{Step::Sent, 0, request}, {Step::Left, 2}, {Step::Received, 12, ack}, {Step::Sent, 20, request},
          {Step::Received, 24, ack}},
         {.sent = 2, .answered = 2},
         "min_ms=4.0 median_ms=4.0 p95_ms=10.0 max_ms=10.0"},
        {"an older frame's word is not taken",
         {{Step::Sent, 10, request}, {Step::Left, 5}, {Step::Received, 13, ack}},
         {.sent = 1, .answered = 1},
         "min_ms=3.0 median_ms=3.0 p95_ms=3.0 max_ms=3.0"},
        {"silence, then the same request with the other FCB, then silence to the end",
         {{Step::Sent, 0, request}, {Step::Sent, 400, requestOtherFcb}, {Step::End, 800}},
         {.sent = 2, .timeouts = 2, .repeats = 1},
         "min_ms=- median_ms=- p95_ms=- max_ms=-"},
        {"a bad checksum answers but counts; a block nobody asked for and a primary frame are unexpected",
         {{Step::Sent, 0, request}, {Step::Received, 5, "10 0B 01 0D 16"}, {Step::Received, 9, "E5 10 0B 01 0C 16"},
          {Step::Sent, 20, request}, {Step::Received, 21, "10 49 01 4A 16 E5"}},
         {.sent = 2, .answered = 2, .checksumErrors = 1, .unexpected = 3},
         "min_ms=1.0 median_ms=1.0 p95_ms=5.0 max_ms=5.0"},
    };
    for (const auto& s : scenarios) {
        LinkWatch watch;
        const auto origin = LinkWatch::Clock::time_point{} + std::chrono::hours(1);
        for (const auto& step : s.steps) {
            const auto at = origin + milliseconds(step.ms);
            const std::vector<std::uint8_t> octets = HexTextToBytes(step.hex);
            switch (step.kind) {
            case Step::Sent: watch.Sent(octets, at, at); break;
            case Step::Left: watch.Statistics().FrameLeft(at); break;
            case Step::Received: watch.Received(octets, at); break;
            case Step::End: watch.RunEnded(); break;
            }
        }
        EXPECT_EQ(watch.Statistics().Counts(), s.counts) << s.name;
        const std::string line = LinkSummaryLine(watch.Statistics());
        EXPECT_NE(line.find(s.summary), std::string::npos) << s.name << ": " << line;
    }
}

TEST(LinkStatistics, PanelTextAndReset) {
    LinkWatch watch;
    EXPECT_EQ(LinkPanelText(watch.Statistics()), "-/-ms 超时:0");
    const auto t0 = LinkWatch::Clock::time_point{} + std::chrono::hours(1);
    const std::vector<std::uint8_t> request = HexTextToBytes("10 5B 01 5C 16");
    watch.Sent(request, t0, t0);
    watch.Received(HexTextToBytes("E5"), t0 + microseconds(12345));
    watch.Sent(request, t0 + milliseconds(50), t0 + milliseconds(50));
    watch.Sent(request, t0 + milliseconds(90), t0 + milliseconds(90));
    watch.Received(HexTextToBytes("E5"), t0 + microseconds(97655));
    EXPECT_EQ(LinkPanelText(watch.Statistics()), "7.7/10ms 超时:1");
    EXPECT_EQ(LinkSummaryLine(watch.Statistics()),
              "link: sent=3 answered=2 timeouts=1 repeats=1 checksum_errors=0 unexpected=0 "
              "min_ms=7.7 median_ms=7.7 p95_ms=12.3 max_ms=12.3");
    watch.Reset();
    EXPECT_EQ(LinkPanelText(watch.Statistics()), "-/-ms 超时:0");
}

}  // namespace
}  // namespace tc101
