#include "about/system_text.h"

#include <charconv>
#include <cstdio>

namespace tc101 {

namespace {

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// Reads a decimal number at the front of text and moves past it.
std::optional<int> TakeNumber(std::string_view& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || value < 0) return std::nullopt;
    text.remove_prefix(static_cast<size_t>(end - text.data()));
    return value;
}

// A shell-style os-release value: quotes removed, backslash escapes undone
// inside double quotes.
std::string Unquote(std::string_view value) {
    if (value.size() >= 2 && value.front() == '\'' && value.back() == '\'')
        return std::string(value.substr(1, value.size() - 2));
    if (value.size() < 2 || value.front() != '"' || value.back() != '"') return std::string(value);
    std::string out;
    value = value.substr(1, value.size() - 2);
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) ++i;
        out += value[i];
    }
    return out;
}

}  // namespace

std::string FormatOsText(const OsVersion& version) {
    std::string text = version.name + " " + std::to_string(version.major) + "." + std::to_string(version.minor);
    if (!version.build) return text;
    text += " (Build " + std::to_string(*version.build);
    if (!version.extra.empty()) text += ": " + version.extra;
    return text + ")";
}

std::optional<KernelRelease> ParseKernelRelease(std::string_view release) {
    KernelRelease kernel;
    const auto major = TakeNumber(release);
    if (!major || !release.starts_with('.')) return std::nullopt;
    release.remove_prefix(1);
    const auto minor = TakeNumber(release);
    if (!minor) return std::nullopt;
    kernel.major = *major;
    kernel.minor = *minor;
    if (release.starts_with('.')) {
        release.remove_prefix(1);
        kernel.patch = TakeNumber(release).value_or(0);
    }
    return kernel;
}

std::string OsReleasePrettyName(std::string_view content) {
    constexpr std::string_view kKey = "PRETTY_NAME=";
    while (!content.empty()) {
        const size_t end = content.find('\n');
        const std::string_view line = Trim(content.substr(0, end));
        content = end == std::string_view::npos ? std::string_view() : content.substr(end + 1);
        if (line.starts_with(kKey)) return Unquote(Trim(line.substr(kKey.size())));
    }
    return {};
}

std::string GroupThousands(std::uint64_t value) {
    std::string digits = std::to_string(value);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<size_t>(at), 1, ',');
    return digits;
}

std::string FormatMemoryText(std::uint64_t bytes) {
    constexpr std::uint64_t kBytesPerKb = 1024;
    return GroupThousands(bytes / kBytesPerKb) + " KB";
}

double MhzFromCounts(std::uint64_t counts, std::chrono::nanoseconds elapsed) {
    if (elapsed.count() <= 0) return 0;
    const double microseconds = std::chrono::duration<double, std::micro>(elapsed).count();
    return static_cast<double>(counts) / microseconds;
}

std::string FormatClockText(double mhz) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f MHz", mhz);
    return text;
}

std::optional<double> CpuinfoMhz(std::string_view content) {
    constexpr std::string_view kKey = "cpu MHz";
    while (!content.empty()) {
        const size_t end = content.find('\n');
        const std::string_view line = content.substr(0, end);
        content = end == std::string_view::npos ? std::string_view() : content.substr(end + 1);
        if (!line.starts_with(kKey)) continue;
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        const std::string_view number = Trim(line.substr(colon + 1));
        double mhz = 0;
        const auto [ptr, error] = std::from_chars(number.data(), number.data() + number.size(), mhz);
        if (error == std::errc() && mhz > 0) return mhz;
    }
    return std::nullopt;
}

}  // namespace tc101
