// AnalyzeFrames over full receive bursts (65535 octets): back-to-back fixed
// frames, variable frames that write the tables, and line noise.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "protocol/analyzer.h"
#include "bench_bursts.h"

namespace tc101 {
namespace {

using namespace bench;

void Run(benchmark::State& state, const Bytes& burst, ValueTables& tables) {
    size_t frames = 0;
    for (auto _ : state) {
        FrameAnalysis analysis = AnalyzeFrames(burst, tables, DecodingSettings{}, [] { return 12; });
        frames += analysis.lines.size();
        benchmark::DoNotOptimize(analysis);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * burst.size()));
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
}

void BM_FixedFrames(benchmark::State& state) {
    ValueTables tables;
    Run(state, FixedFramesBurst(), tables);
}
BENCHMARK(BM_FixedFrames);

void BM_TableWritingFrames(benchmark::State& state) {
    ValueTables tables;
    // Definitions as a typical station has them: 64 telemetry, 128 telesignals.
    tables.GrdYC.SetRowCount(65);
    for (int row = 1; row <= 64; ++row) tables.GrdYC.SetCell(kYcRatioCol, row, row % 2 ? "10" : "0.5");
    tables.GrdYX.SetRowCount(129);
    for (int row = 1; row <= 128; ++row) {
        tables.GrdYX.SetCell(kYxNameCol, row, "开关" + std::to_string(row));
        tables.GrdYX.SetCell(kYxState0Col, row, "分");
        tables.GrdYX.SetCell(kYxState1Col, row, "合");
    }
    Run(state, TableFramesBurst(), tables);
    // Events only grow; start afresh so memory stays flat over the run.
    tables.ClearValueTable(static_cast<int>(ValuePage::Sj));
}
BENCHMARK(BM_TableWritingFrames);

void BM_Noise(benchmark::State& state) {
    ValueTables tables;
    Run(state, NoiseBurst(), tables);
}
BENCHMARK(BM_Noise);

}  // namespace
}  // namespace tc101

BENCHMARK_MAIN();
