#include "traffic/ui/receive_path.h"

#include "traffic/log_lines.h"
#include "traffic/ui/traffic_log.h"

namespace tc101 {

std::optional<PollVerdict> ReceiveBlock(TrafficLog& log, ValueTables& tables, std::span<const std::uint8_t> block,
                                        std::chrono::system_clock::time_point received,
                                        const DecodingSettings& decoding, const HourClock& hour) {
    const std::string stamp = TimeStamp(received);
    log.ScrollLogToEnd();
    if (block.empty()) return std::nullopt;
    log.AppendLine(LogColour::Green, ReceiveLine(block, stamp));
    const FrameAnalysis analysis = AnalyzeFrames(block, tables, decoding, hour);
    log.AppendBlock(LogColour::Red, analysis.lines);
    return analysis.verdict;
}

}  // namespace tc101
