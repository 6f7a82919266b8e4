// 报文详解 over the analyser's benchmark bursts: every frame explained, then
// written as the indented text, as JSON Lines, or as the window's tree.

#include <benchmark/benchmark.h>

#include "bench_bursts.h"
#include "protocol/explain/explanation_text.h"
#include "protocol/explain/frame_explanation.h"

namespace tc101 {
namespace {

using namespace bench;

enum class Output { None, Text, Json, Tree };

void Explain(benchmark::State& state, const Bytes& burst, Output output) {
    size_t frames = 0;
    // Written into one buffer that is kept, as a writer that flushes it would.
    std::string out;
    for (auto _ : state) {
        const std::vector<FrameExplanation> explained = ExplainFrames(burst, ExplainOptions{});
        frames += explained.size();
        out.clear();
        for (const FrameExplanation& frame : explained) {
            switch (output) {
                case Output::None: break;
                case Output::Text: AppendExplanationText(out, frame); break;
                case Output::Json: out += ExplanationJsonLine(frame); break;
                case Output::Tree: benchmark::DoNotOptimize(frame.Tree()); break;
            }
        }
        benchmark::DoNotOptimize(out);
        benchmark::DoNotOptimize(explained);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * burst.size()));
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
}

void BM_ExplainFixedFrames(benchmark::State& state) { Explain(state, FixedFramesBurst(), Output::None); }
BENCHMARK(BM_ExplainFixedFrames);

void BM_ExplainTableWritingFrames(benchmark::State& state) { Explain(state, TableFramesBurst(), Output::None); }
BENCHMARK(BM_ExplainTableWritingFrames);

void BM_ExplainNoise(benchmark::State& state) { Explain(state, NoiseBurst(), Output::None); }
BENCHMARK(BM_ExplainNoise);

void BM_ExplainText(benchmark::State& state) { Explain(state, TableFramesBurst(), Output::Text); }
BENCHMARK(BM_ExplainText);

void BM_ExplainJsonLines(benchmark::State& state) { Explain(state, TableFramesBurst(), Output::Json); }
BENCHMARK(BM_ExplainJsonLines);

void BM_ExplainTree(benchmark::State& state) { Explain(state, TableFramesBurst(), Output::Tree); }
BENCHMARK(BM_ExplainTree);

}  // namespace
}  // namespace tc101
