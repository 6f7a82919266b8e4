// The serial component over a pty pair: how late a block is delivered after
// its last byte for a given frame delay, and a 1 MB stream in random bursts.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <thread>

#include "tests/support/pty_harness.h"

namespace tc101 {
namespace {

using namespace testing_support;
using Clock = std::chrono::steady_clock;

constexpr int kBursts = 200;
constexpr std::size_t kFrameBytes = 12;
constexpr std::size_t kStreamBytes = 1 << 20;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// Arg: the frame delay in ms. Counters: the delay from the last byte written
// to the block's delivery on the owner's thread, and the margin over t.
void BM_BlockDeliveryDelay(benchmark::State& state) {
    const auto frameDelay = static_cast<std::uint32_t>(state.range(0));
    std::vector<double> delays;
    for (auto _ : state) {
        PtyPair pty;
        CommHarness h;
        Clock::time_point delivered{};
        h.comm.OnReceiveData = [&](const std::uint8_t*, std::uint16_t) { delivered = Clock::now(); };
        h.comm.SetReadIntervalTimeout(frameDelay);
        h.comm.SetCommName(pty.SlaveName());
        h.comm.OpenPort();
        const Bytes frame = Pattern(kFrameBytes);
        for (int i = 0; i < kBursts; ++i) {
            delivered = {};
            pty.Write(frame);
            const auto lastByte = Clock::now();
            if (!h.PumpUntil([&] { return delivered != Clock::time_point{}; }, std::chrono::seconds(2))) {
                state.SkipWithError("a block did not arrive");
                return;
            }
            delays.push_back(Ms(delivered - lastByte));
        }
        h.comm.ClosePort();
    }
    std::sort(delays.begin(), delays.end());
    const auto at = [&](double q) { return delays[static_cast<std::size_t>(q * static_cast<double>(delays.size() - 1))]; };
    state.counters["min_ms"] = delays.front();
    state.counters["median_ms"] = at(0.5);
    state.counters["p99_ms"] = at(0.99);
    state.counters["max_ms"] = delays.back();
    state.counters["early"] = static_cast<double>(
        std::count_if(delays.begin(), delays.end(), [&](double d) { return d < frameDelay; }));
}
BENCHMARK(BM_BlockDeliveryDelay)->Arg(100)->Arg(20)->Arg(5)->Iterations(1)->Unit(benchmark::kMillisecond);

// Arg: the frame delay in ms; the writer pauses up to twice that between
// bursts, so blocks are cut by both size and silence. The stream must arrive
// complete and in order.
void BM_StreamInRandomBursts(benchmark::State& state) {
    const auto frameDelay = static_cast<std::uint32_t>(state.range(0));
    const Bytes stream = Pattern(kStreamBytes, 131);
    std::size_t blocks = 0;
    for (auto _ : state) {
        PtyPair pty;
        CommHarness h;
        h.comm.SetReadIntervalTimeout(frameDelay);
        h.comm.SetCommName(pty.SlaveName());
        h.comm.OpenPort();
        std::thread writer([&] {
            std::mt19937 random(42);
            std::uniform_int_distribution<std::size_t> size(1, 4096);
            std::uniform_int_distribution<int> pauseUs(0, static_cast<int>(frameDelay) * 2000);
            std::bernoulli_distribution pause(0.05);
            for (std::size_t done = 0; done < stream.size();) {
                const std::size_t n = std::min(size(random), stream.size() - done);
                pty.Write(Bytes(stream.begin() + static_cast<std::ptrdiff_t>(done),
                                stream.begin() + static_cast<std::ptrdiff_t>(done + n)));
                done += n;
                if (pause(random)) {
                    std::this_thread::sleep_for(std::chrono::microseconds(pauseUs(random)));
                }
            }
        });
        const bool complete = h.PumpUntil([&] { return h.Received() >= stream.size(); }, std::chrono::seconds(60));
        writer.join();
        if (!complete || h.Joined() != stream) {
            state.SkipWithError("the stream arrived incomplete or out of order");
            return;
        }
        blocks = h.blocks.size();
        h.comm.ClosePort();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(kStreamBytes) * state.iterations());
    state.counters["blocks"] = static_cast<double>(blocks);
}
BENCHMARK(BM_StreamInRandomBursts)->Arg(100)->Arg(5)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace tc101

BENCHMARK_MAIN();
