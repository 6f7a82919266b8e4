#include "app/console/console_log.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "app/console/args.h"
#include "app/console/table_print.h"
#include "protocol/explain/explanation_text.h"

namespace tc101::console {

namespace {

constexpr std::string_view kReset = "\x1b[0m";

std::string_view Escape(LogColour colour) {
    switch (colour) {
        case LogColour::Black: return {};
        case LogColour::Blue: return "\x1b[34m";
        case LogColour::Green: return "\x1b[32m";
        case LogColour::Red: return "\x1b[31m";
    }
    return {};
}

}  // namespace

ColourMode ParseColourMode(std::string_view word) {
    if (word == "auto") return ColourMode::Auto;
    if (word == "always") return ColourMode::Always;
    if (word == "never") return ColourMode::Never;
    throw UsageError("--color takes auto|always|never, not '" + std::string(word) + "'");
}

bool UseColour(ColourMode mode, std::FILE* stream) {
    if (mode != ColourMode::Auto) return mode == ColourMode::Always;
    const char* term = std::getenv("TERM");
    return ::isatty(::fileno(stream)) == 1 && !(term && std::strcmp(term, "dumb") == 0);
}

void ConsoleLog::Line(LogColour colour, std::string_view text) {
    if (explain_ == ExplainMode::Json) {
        // Standard output carries JSON only; trouble still shows.
        if (colour == LogColour::Red) {
            WriteAll(stderr, std::string(text) + '\n');
            std::fflush(stderr);
        }
        return;
    }
    const std::string_view escape = colour_ ? Escape(colour) : std::string_view{};
    std::string out;
    out.reserve(text.size() + escape.size() + kReset.size() + 1);
    out += escape;
    out += text;
    if (!escape.empty()) out += kReset;
    out += '\n';
    WriteAll(out_, out);
    Flush();
}

void ConsoleLog::Account(const std::vector<std::string>& lines) { WriteAccount(lines, {}); }

void ConsoleLog::ReceivedAccount(std::span<const std::uint8_t> block, std::chrono::system_clock::time_point when,
                                 const std::vector<std::string>& lines) {
    switch (explain_) {
        case ExplainMode::Off: WriteAccount(lines, {}); return;
        case ExplainMode::Text: WriteAccount(lines, ExplanationUnderAccount(block, lines.size(), explainOptions_)); return;
        case ExplainMode::Json:
            WriteAll(out_, JsonLines(block, explainOptions_, "rx", IsoLocalTime(when)));
            Flush();
            return;
    }
}

void ConsoleLog::Sent(std::span<const std::uint8_t> frame, std::chrono::system_clock::time_point when) {
    if (explain_ == ExplainMode::Off) return;
    std::string out;
    if (explain_ == ExplainMode::Json) {
        out = JsonLines(frame, explainOptions_, "tx", IsoLocalTime(when));
    } else {
        for (const FrameExplanation& explained : ExplainFrames(frame, explainOptions_))
            AppendExplanationText(out, explained);
    }
    WriteAll(out_, out);
    Flush();
}

void ConsoleLog::WriteAccount(const std::vector<std::string>& lines, const std::vector<std::string>& explanations) {
    const std::string_view escape = colour_ ? Escape(LogColour::Red) : std::string_view{};
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        out += escape;
        out += lines[i];
        if (!escape.empty()) out += kReset;
        out += '\n';
        if (i < explanations.size()) out += explanations[i];
    }
    out += '\n';
    WriteAll(out_, out);
    Flush();
}

void ConsoleLog::Flush() {
    if (std::fflush(out_) != 0) throw std::runtime_error("cannot write the output");
}

}  // namespace tc101::console
