// 报文详解 over the analyser's benchmark bursts: every frame explained (tree
// and JSON object), and the same written as JSON Lines.

#include <benchmark/benchmark.h>

#include "bench_bursts.h"
#include "protocol/explain/explanation_text.h"
#include "protocol/explain/frame_explanation.h"

namespace tc101 {
namespace {

using namespace bench;

void Explain(benchmark::State& state, const Bytes& burst, bool json) {
    size_t frames = 0;
    for (auto _ : state) {
        const std::vector<FrameExplanation> explained = ExplainFrames(burst, ExplainOptions{});
        frames += explained.size();
        if (json) {
            std::string out;
            for (const FrameExplanation& frame : explained) out += ExplanationJsonLine(frame);
            benchmark::DoNotOptimize(out);
        }
        benchmark::DoNotOptimize(explained);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * burst.size()));
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
}

void BM_ExplainFixedFrames(benchmark::State& state) { Explain(state, FixedFramesBurst(), false); }
BENCHMARK(BM_ExplainFixedFrames);

void BM_ExplainTableWritingFrames(benchmark::State& state) { Explain(state, TableFramesBurst(), false); }
BENCHMARK(BM_ExplainTableWritingFrames);

void BM_ExplainNoise(benchmark::State& state) { Explain(state, NoiseBurst(), false); }
BENCHMARK(BM_ExplainNoise);

void BM_ExplainJsonLines(benchmark::State& state) { Explain(state, TableFramesBurst(), true); }
BENCHMARK(BM_ExplainJsonLines);

}  // namespace
}  // namespace tc101
