// AnalyzeFrames on any burst, with random decoding settings (including the
// widths no dialog offers), a random profile (field sizes, object decoding,
// row bases) and random definition tables.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "protocol/analyzer.h"
#include "protocol/decoding_settings.h"
#include "protocol/link_profile.h"

namespace {

constexpr const char* kRatios[] = {"", "1", "10", "0", "abc", "-3", "1e-310", "0.001", " 2.5 ", "1e400", "nan"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kHeader = 6;
    if (size < kHeader) return 0;
    const tc101::DecodingSettings decoding{
        static_cast<std::uint8_t>(data[0] % 6),  // 0 to 5: beyond the offered 1 to 4 too
        static_cast<std::uint8_t>(data[1] % 3)};
    const int ycRows = data[2] % 40;
    const int yxRows = data[3] % 40;
    const std::uint8_t shape = data[4];
    tc101::LinkProfile profile;
    profile.sizes = {1 + (shape & 1), 1 + ((shape >> 1) & 1), 1 + ((shape >> 2) & 1), 1 + (shape >> 3) % 3};
    profile.decoding = (shape & 0x80) ? tc101::ObjectDecoding::Standard : tc101::ObjectDecoding::Legacy;
    profile.originator = data[5];
    profile.yxBase = data[5] % 4;
    profile.ycBase = (data[5] & 0x10) ? 0x4001 : data[5] % 3;
    // Balanced mode reads the outstation's own user data, and may leave the link address out.
    if (data[5] & 0x20) profile.mode = tc101::LinkMode::Balanced;
    if ((data[5] & 0x60) == 0x60) profile.sizes.linkAddress = 0;
    std::span<const std::uint8_t> burst(data + kHeader, size - kHeader);

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
        const tc101::FrameAnalysis analysis =
            tc101::AnalyzeFrames(burst, tables, decoding, profile, [] { return 23; });
        if (analysis.lines.empty() || static_cast<int>(analysis.verdict) > 3) __builtin_trap();
    }
    const int addresses = profile.sizes.linkAddress == 2 ? 65536 : 256;
    if (tables.GrdYC.ColCount() > 4 + addresses || tables.GrdYX.ColCount() > 4 + addresses) __builtin_trap();
    return 0;
}
