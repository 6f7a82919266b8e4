#include "app/console/explain_output.h"

#include <ctime>

#include "protocol/explain/explanation_text.h"

namespace tc101::console {

ExplainMode TakeExplainMode(Args& args) {
    const bool text = args.Flag("--explain");
    const bool json = args.Flag("--json");
    if (text && json) throw UsageError("give --explain or --json, not both");
    return json ? ExplainMode::Json : (text ? ExplainMode::Text : ExplainMode::Off);
}

std::string IsoLocalTime(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    localtime_r(&seconds, &local);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch()).count() % 1000;
    char buffer[40];
    const std::size_t size = std::strftime(buffer, sizeof buffer, "%Y-%m-%dT%H:%M:%S", &local);
    std::string text(buffer, size);
    text += '.';
    const auto millis = static_cast<int>(ms < 0 ? ms + 1000 : ms);
    text += static_cast<char>('0' + millis / 100);
    text += static_cast<char>('0' + millis / 10 % 10);
    text += static_cast<char>('0' + millis % 10);
    return text;
}

std::string ExplainedAccount(std::span<const std::uint8_t> burst, const std::vector<std::string>& lines,
                             const ExplainOptions& options) {
    const std::vector<std::string> blocks = ExplanationUnderAccount(burst, lines.size(), options);
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        out += lines[i];
        out += '\n';
        out += blocks[i];
    }
    return out;
}

std::string JsonLines(std::span<const std::uint8_t> octets, const ExplainOptions& options, std::string_view dir,
                      std::string_view time) {
    std::string out;
    for (const FrameExplanation& frame : ExplainFrames(octets, options)) {
        out += ExplanationJsonLine(frame, dir, time);
        out += '\n';
    }
    return out;
}

}  // namespace tc101::console
