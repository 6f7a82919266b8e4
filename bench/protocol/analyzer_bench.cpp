// AnalyzeFrames over full receive bursts (65535 octets): back-to-back fixed
// frames, variable frames that write the tables (in the default profile and
// the same points in 2/2/2/3 with standard decoding), and line noise.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "bench_bursts.h"
#include "protocol/analyzer.h"
#include "protocol/frame.h"

namespace tc101 {
namespace {

using namespace bench;

// One octet at a time: GCC 12 at -O2 misreads an insert of a short list
// into a vector as an overflow.
void Append(Bytes& bytes, std::initializer_list<std::uint8_t> octets) {
    for (const std::uint8_t octet : octets) bytes.push_back(octet);
}

void Run(benchmark::State& state, const Bytes& burst, ValueTables& tables, const LinkProfile& profile = {}) {
    size_t frames = 0;
    for (auto _ : state) {
        FrameAnalysis analysis = AnalyzeFrames(burst, tables, DecodingSettings{}, profile, [] { return 12; });
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

// Definitions as a typical station has them: 64 telemetry, 128 telesignals.
void DefinePoints(ValueTables& tables) {
    tables.GrdYC.SetRowCount(65);
    for (int row = 1; row <= 64; ++row) tables.GrdYC.SetCell(kYcRatioCol, row, row % 2 ? "10" : "0.5");
    tables.GrdYX.SetRowCount(129);
    for (int row = 1; row <= 128; ++row) {
        tables.GrdYX.SetCell(kYxNameCol, row, "开关" + std::to_string(row));
        tables.GrdYX.SetCell(kYxState0Col, row, "分");
        tables.GrdYX.SetCell(kYxState1Col, row, "合");
    }
}

void BM_TableWritingFrames(benchmark::State& state) {
    ValueTables tables;
    DefinePoints(tables);
    Run(state, TableFramesBurst(), tables);
    // Events only grow; start afresh so memory stays flat over the run.
    tables.ClearValueTable(static_cast<int>(ValuePage::Sj));
}
BENCHMARK(BM_TableWritingFrames);

// The same points and values in 2/2/2/3, read by the standard decoding:
// telemetry from object 0x4001, telesignals from 1, events with CP24.
void BM_TableWritingFramesStandard2223(benchmark::State& state) {
    LinkProfile profile;
    profile.sizes = {2, 2, 2, 3};
    profile.decoding = ObjectDecoding::Standard;
    ValueTables tables;
    DefinePoints(tables);
    const auto header = [](std::uint8_t type, std::uint8_t vsq, std::uint8_t cause) {
        return Bytes{type, vsq, cause, 0, 1, 0};  // cause, originator, common address 1
    };
    Bytes yc = header(kTypeMeasuredNoQuality, 0x90, kCauseInterrogatedFirst);
    Append(yc, {0x01, 0x40, 0x00});
    for (int i = 0; i < 16; ++i) {
        yc.push_back(static_cast<std::uint8_t>(i * 37));
        yc.push_back(static_cast<std::uint8_t>(i * 11));
    }
    Bytes yx = header(kTypeSinglePoint, 0xA0, kCauseInterrogatedFirst);
    Append(yx, {0x01, 0x00, 0x00});
    for (int i = 0; i < 32; ++i) yx.push_back(static_cast<std::uint8_t>(i % 2));
    Bytes events = header(kTypeSinglePointTime, 2, kCauseSpontaneous);
    for (std::uint8_t row : {5, 6}) Append(events, {row, 0, 0, 1, 0x39, 0x30, 0x0C});
    const auto frame = [](std::uint8_t control, const Bytes& asdu) { return BuildVariableFrame(control, 1u, 2, asdu); };
    const std::vector<Bytes> frames{frame(0x08, yc), frame(0x28, yx), frame(0x28, events)};
    Run(state, Burst(frames), tables, profile);
    tables.ClearValueTable(static_cast<int>(ValuePage::Sj));
}
BENCHMARK(BM_TableWritingFramesStandard2223);

void BM_Noise(benchmark::State& state) {
    ValueTables tables;
    Run(state, NoiseBurst(), tables);
}
BENCHMARK(BM_Noise);

}  // namespace
}  // namespace tc101

BENCHMARK_MAIN();
