#pragma once

// The traffic log on a console: the window's lines, one per line of output,
// in the window's colours when the output is a terminal. Black lines keep the
// terminal's own colour, so banners stay readable on a dark background.

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "app/console/explain_output.h"
#include "traffic/log_lines.h"
#include "traffic/master_station.h"

namespace tc101::console {

enum class ColourMode { Auto, Always, Never };

// "auto", "always" or "never"; anything else is a UsageError.
ColourMode ParseColourMode(std::string_view word);
// Auto: colours when the stream is a terminal that is not "dumb".
bool UseColour(ColourMode mode, std::FILE* stream);

// The console is the master station's sink without a bound: nothing is dropped.
class ConsoleLog : public MasterSink {
public:
    ConsoleLog(std::FILE* out, bool colour) : out_(out), colour_(colour) {}

    // One line in its colour. Output is flushed per entry, so a pipe or a tee
    // shows the traffic as it happens.
    void Line(LogColour colour, std::string_view text) override;
    // The analyser's account in red, followed by one empty line.
    void Account(const std::vector<std::string>& lines) override;

    // --explain: each account line and each frame sent followed by the
    // explanation; --json: only a JSON line per frame received ("dir": "rx")
    // and sent ("tx"), trouble lines on standard error.
    void SetExplain(ExplainMode mode, const ExplainOptions& options) {
        explain_ = mode;
        explainOptions_ = options;
    }
    void ReceivedAccount(std::span<const std::uint8_t> block, std::chrono::system_clock::time_point when,
                         const std::vector<std::string>& lines) override;
    void Sent(std::span<const std::uint8_t> frame, std::chrono::system_clock::time_point when) override;

private:
    void WriteAccount(const std::vector<std::string>& lines, const std::vector<std::string>& explanations);
    void Flush();

    std::FILE* out_;
    bool colour_;
    ExplainMode explain_ = ExplainMode::Off;
    ExplainOptions explainOptions_;
};

}  // namespace tc101::console
