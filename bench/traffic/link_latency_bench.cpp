// How late the account of an answer comes on a pty: from the answer's last
// octet written to the master station's account of it, with the frame delay
// cutting the block (100 ms) and with frame-complete delivery. The station
// sends status of link, the peer answers at once; the station's own link
// statistics give the response time it measured for the same exchanges.

#include <benchmark/benchmark.h>

#include <algorithm>

#include "protocol/value_tables.h"
#include "tests/support/pty_harness.h"
#include "traffic/frame_complete_check.h"
#include "traffic/master_station.h"

namespace tc101 {
namespace {

using namespace testing_support;
using Clock = std::chrono::steady_clock;

constexpr int kExchanges = 100;
constexpr std::uint32_t kFrameDelayMs = 100;

class TimedSink : public MasterSink {
public:
    void Line(LogColour, std::string_view) override {}
    void Account(const std::vector<std::string>&) override { at = Clock::now(); }
    Clock::time_point at{};
};

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Arg 0: the frame delay cuts the block; arg 1: frame-complete delivery.
void BM_AnswerToAccount(benchmark::State& state) {
    const bool frameComplete = state.range(0) != 0;
    std::vector<double> delays;
    std::optional<ResponseSummary> measured;
    for (auto _ : state) {
        PtyPair pty;
        CommHarness h;
        TimedSink sink;
        ValueTables tables;
        MasterStation station(h.comm, sink, tables);
        h.comm.OnReceiveData = [&](const std::uint8_t* data, std::uint16_t count) {
            station.Received(std::span(data, count), std::chrono::system_clock::now(), h.comm.BlockFirstOctet());
        };
        h.comm.OnFrameLeft = [&](Clock::time_point at, std::uint32_t) { station.Link().Statistics().FrameLeft(at); };
        h.comm.SetReadIntervalTimeout(kFrameDelayMs);
        h.comm.SetBlockEndCheck(FrameCompleteCheck(frameComplete, 1));
        h.comm.SetCommName(pty.SlaveName());
        h.comm.OpenPort();
        const Bytes answer{0x10, 0x0B, 0x01, 0x0C, 0x16};
        for (int i = 0; i < kExchanges; ++i) {
            sink.at = {};
            station.SendRequest(MasterRequest::LinkStatus, 1);
            if (pty.Read(5).size() != 5) {
                state.SkipWithError("the request did not arrive");
                return;
            }
            pty.Write(answer);
            const auto lastOctet = Clock::now();
            if (!h.PumpUntil([&] { return sink.at != Clock::time_point{}; }, std::chrono::seconds(2))) {
                state.SkipWithError("no account");
                return;
            }
            delays.push_back(Ms(sink.at - lastOctet));
        }
        h.comm.ClosePort();
        measured = station.Link().Statistics().Summary();
    }
    std::sort(delays.begin(), delays.end());
    state.counters["min_ms"] = delays.front();
    state.counters["median_ms"] = delays[delays.size() / 2];
    state.counters["max_ms"] = delays.back();
    if (measured) {
        state.counters["response_median_ms"] = Ms(measured->median);
        state.counters["response_p95_ms"] = Ms(measured->p95);
    }
}
BENCHMARK(BM_AnswerToAccount)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tc101

BENCHMARK_MAIN();
