// AnalyzeFrames on any burst, with random decoding settings (including the
// widths no dialog offers) and random definition tables.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "protocol/analyzer.h"
#include "protocol/decoding_settings.h"

namespace {

constexpr const char* kRatios[] = {"", "1", "10", "0", "abc", "-3", "1e-310", "0.001", " 2.5 ", "1e400", "nan"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    const tc101::DecodingSettings decoding{
        static_cast<std::uint8_t>(data[0] % 6),  // 0 to 5: beyond the offered 1 to 4 too
        static_cast<std::uint8_t>(data[1] % 3)};
    const int ycRows = data[2] % 40;
    const int yxRows = data[3] % 40;
    std::span<const std::uint8_t> burst(data + 4, size - 4);

    tc101::ValueTables tables;
    tables.GrdYC.SetRowCount(ycRows + 1);
    for (int row = 1; row <= ycRows; ++row)
        tables.GrdYC.SetCell(tc101::kYcRatioCol, row, kRatios[static_cast<size_t>(row) % std::size(kRatios)]);
    tables.GrdYX.SetRowCount(yxRows + 1);
    for (int row = 1; row <= yxRows; ++row) {
        tables.GrdYX.SetCell(tc101::kYxNameCol, row, "点" + std::to_string(row));
        tables.GrdYX.SetCell(tc101::kYxState0Col, row, "分");
    }
    // Twice, so the second call meets existing device columns and events.
    for (int round = 0; round < 2; ++round) {
        const tc101::FrameAnalysis analysis = tc101::AnalyzeFrames(burst, tables, decoding, [] { return 23; });
        if (analysis.lines.empty() || static_cast<int>(analysis.verdict) > 3) __builtin_trap();
    }
    if (tables.GrdYC.ColCount() > 4 + 256 || tables.GrdYX.ColCount() > 4 + 256) __builtin_trap();
    return 0;
}
