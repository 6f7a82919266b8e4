#include "app/console/console_log.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "app/console/args.h"
#include "app/console/table_print.h"

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

void ConsoleLog::Account(const std::vector<std::string>& lines) {
    const std::string_view escape = colour_ ? Escape(LogColour::Red) : std::string_view{};
    std::string out;
    for (const std::string& line : lines) {
        out += escape;
        out += line;
        if (!escape.empty()) out += kReset;
        out += '\n';
    }
    out += '\n';
    WriteAll(out_, out);
    Flush();
}

void ConsoleLog::Flush() {
    if (std::fflush(out_) != 0) throw std::runtime_error("cannot write the output");
}

}  // namespace tc101::console
