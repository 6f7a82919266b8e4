// Realistic replies through TfrmZh::Comm1ReceiveData with the window shown
// offscreen: analysis, the log near its 50,000-character limit, and the
// grids following their tables. Each run times every block and reports the
// median and the 99th percentile, and the medians of the first and last
// thousand blocks to show whether the cost grows with the count.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/window/main_window.h"
#include "protocol/frame.h"
#include "traffic/ui/traffic_log.h"
#include "widgets/application.h"

namespace tc101 {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr int kBlocks = 10000;
constexpr int kPoints = 32;
constexpr std::uint8_t kAddress = 1;

Bytes Variable(std::uint8_t control, const Bytes& asdu) {
    const auto length = static_cast<std::uint8_t>(asdu.size() + 2);
    Bytes frame{kVariableStart, length, length, kVariableStart, control, kAddress};
    for (std::uint8_t octet : asdu) frame.push_back(octet);
    frame.push_back(FrameChecksum(frame, kVarControlOffset, static_cast<int>(frame.size()) - 1));
    frame.push_back(kFrameEnd);
    return frame;
}

Bytes Fixed(std::uint8_t control) {
    const auto frame = BuildFixedFrame(control, kAddress);
    return Bytes(frame.begin(), frame.end());
}

// A polling cycle's replies: acknowledgements, telemetry and telesignal
// interrogation replies, a spontaneous telesignal event, no-data answers.
std::vector<Bytes> Replies() {
    Bytes telemetry{0x15, static_cast<std::uint8_t>(0x80 | kPoints), 0x14, kAddress, 0x01, 0x40};
    for (int i = 0; i < kPoints; ++i) {
        telemetry.push_back(static_cast<std::uint8_t>(i * 7));
        telemetry.push_back(static_cast<std::uint8_t>(i));
    }
    Bytes telesignals{0x01, static_cast<std::uint8_t>(0x80 | kPoints), 0x14, kAddress, 0x01, 0x00};
    for (int i = 0; i < kPoints; ++i) telesignals.push_back(static_cast<std::uint8_t>(i % 2));
    const Bytes event{0x02, 0x01, 0x03, kAddress, 0x05, 0x00, 0x01, 0x10, 0x27, 0x15};
    return {Fixed(0x0B), {0xE5}, Variable(0x28, telemetry), Variable(0x28, telesignals), Variable(0x28, event),
            Fixed(0x09)};
}

double Percentile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(share * static_cast<double>(values.size() - 1))];
}

void BM_ReceivePath(benchmark::State& state) {
    TfrmZh window;
    for (Table* table : {&window.Tables().GrdYC, &window.Tables().GrdYX}) table->SetRowCount(kPoints + 1);
    for (int row = 1; row <= kPoints; ++row) {
        window.Tables().GrdYC.SetCell(3, row, "10");
        window.Tables().GrdYX.SetCell(1, row, "开关" + std::to_string(row));
        window.Tables().GrdYX.SetCell(2, row, "分");
        window.Tables().GrdYX.SetCell(3, row, "合");
    }
    window.show();
    QCoreApplication::processEvents();
    // Start just under the limit, as a long session does.
    auto& log = *window.findChild<TrafficLog*>(QStringLiteral("Memo1"));
    while (log.TextLength() < kLogCharacterLimit - 2000)
        log.AppendLine(LogColour::Green, QString(78, QLatin1Char('x')));

    const std::vector<Bytes> replies = Replies();
    std::vector<double> micros;
    micros.reserve(kBlocks);
    for (auto _ : state) {
        for (int i = 0; i < kBlocks; ++i) {
            const Bytes& block = replies[static_cast<std::size_t>(i) % replies.size()];
            const auto start = std::chrono::steady_clock::now();
            window.Comm1ReceiveData(block.data(), static_cast<std::uint16_t>(block.size()));
            const auto end = std::chrono::steady_clock::now();
            micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
            // What the event loop does between two blocks: repaint and relayout.
            QCoreApplication::processEvents();
        }
    }
    const std::vector<double> first(micros.begin(), micros.begin() + 1000);
    const std::vector<double> last(micros.end() - 1000, micros.end());
    state.counters["median_us"] = Percentile(micros, 0.5);
    state.counters["p99_us"] = Percentile(micros, 0.99);
    state.counters["first1000_median_us"] = Percentile(first, 0.5);
    state.counters["last1000_median_us"] = Percentile(last, 0.5);
    state.counters["event_rows"] = window.Tables().GrdSJ.RowCount();
}
BENCHMARK(BM_ReceivePath)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tc101

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!qEnvironmentVariableIsSet("TC101_CONFIG_DIR")) qputenv("TC101_CONFIG_DIR", "/tmp/tc101-window-bench");
    tc101::Application app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
