#include "serial/read_timing.h"

#include <gtest/gtest.h>

namespace tc101 {
namespace {

using namespace std::chrono_literals;
using std::chrono::nanoseconds;

struct TimingCase {
    const char* what;
    CommTimeouts timeouts;
    std::size_t count;
    nanoseconds sinceStart;
    std::optional<nanoseconds> sinceLastByte;
    ReadStep expected;
};

constexpr ReadStep kDone{.complete = true, .waitMs = ReadStep::kNoLimit};
constexpr ReadStep Wait(int ms) { return ReadStep{.complete = false, .waitMs = ms}; }
constexpr CommTimeouts Interval(std::uint32_t t) { return CommTimeouts{.ReadIntervalTimeout = t}; }
constexpr CommTimeouts kAllOnes{.ReadIntervalTimeout = kTimeoutAllOnes};

const TimingCase kCases[] = {
    {"nothing yet: wait without limit", Interval(100), 0, 5s, std::nullopt, Wait(ReadStep::kNoLimit)},
    {"silence shorter than t", Interval(100), 10, 1s, 40ms, Wait(60)},
    {"partial ms rounds up, never early", Interval(100), 10, 1s, 99'500us, Wait(1)},
    {"silence of exactly t ends it", Interval(100), 10, 1s, 100ms, kDone},
    {"silence longer than t", Interval(100), 10, 1s, 150ms, kDone},
    {"a full read ends at once", Interval(100), kReadBlockSize, 0ms, 0ms, kDone},
    {"t 0: a partial read waits on", Interval(0), 904, 10s, 10s, Wait(ReadStep::kNoLimit)},
    {"t 0: a full read ends", Interval(0), kReadBlockSize, 10s, 0ms, kDone},
    {"all ones: bytes end it at once", kAllOnes, 1, 0ms, 0ms, kDone},
    {"all ones: no bytes, no spin", kAllOnes, 0, 10s, std::nullopt, Wait(ReadStep::kNoLimit)},
    {"total: constant counts from the start",
     CommTimeouts{.ReadIntervalTimeout = 0, .ReadTotalTimeoutConstant = 500}, 0, 200ms, std::nullopt, Wait(300)},
    {"total: multiplier times 2048 plus constant",
     CommTimeouts{.ReadIntervalTimeout = 0, .ReadTotalTimeoutMultiplier = 1, .ReadTotalTimeoutConstant = 2},
     3, 2000ms, 1ms, Wait(50)},
    {"total passed with nothing read ends it empty",
     CommTimeouts{.ReadIntervalTimeout = 0, .ReadTotalTimeoutConstant = 500}, 0, 500ms, std::nullopt, kDone},
    {"the nearer of interval and total",
     CommTimeouts{.ReadIntervalTimeout = 100, .ReadTotalTimeoutConstant = 500}, 5, 450ms, 10ms, Wait(50)},
    {"all ones with multiplier all ones: first bytes end it",
     CommTimeouts{kTimeoutAllOnes, kTimeoutAllOnes, 300, 0, 0}, 2, 10ms, 0ms, kDone},
    {"all ones with multiplier all ones: constant without bytes",
     CommTimeouts{kTimeoutAllOnes, kTimeoutAllOnes, 300, 0, 0}, 0, 100ms, std::nullopt, Wait(200)},
    {"huge t does not overflow the wait", Interval(0xFFFFFFFEu), 1, 0ms, 0ms, Wait(INT_MAX)},
};

void PrintTo(const TimingCase& c, std::ostream* out) { *out << c.what; }

class ReadTiming : public testing::TestWithParam<TimingCase> {};

TEST_P(ReadTiming, CutsBlocksAsTheTimeoutsSay) {
    const TimingCase& c = GetParam();
    SCOPED_TRACE(c.what);
    EXPECT_EQ(NextReadStep(c.timeouts, c.count, c.sinceStart, c.sinceLastByte), c.expected) << c.what;
}

// Cases are named by their position, so ctest lists readable names.
INSTANTIATE_TEST_SUITE_P(Cases, ReadTiming, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<TimingCase>& param) { return "case" + std::to_string(param.index); });

}  // namespace
}  // namespace tc101
