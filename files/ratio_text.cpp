#include "files/ratio_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "files/table_rows.h"

namespace tc101 {

namespace {
// As many significant digits as a double carries in decimal without noise.
constexpr int kSignificantDigits = 15;
}  // namespace

std::optional<std::string> RatioCellText(std::string_view typed) {
    const std::string_view text = TrimSpaces(typed);
    if (text.empty()) return std::string(typed);
    // from_chars takes no leading plus sign; a typed one is still a number.
    const std::string_view digits = text.front() == '+' && text.size() > 1 && text[1] != '-' ? text.substr(1) : text;
    double value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size() || !std::isfinite(value)) return std::nullopt;
    char buffer[32];
    const int length = std::snprintf(buffer, sizeof buffer, "%.*g", kSignificantDigits, value == 0 ? 0.0 : value);
    return std::string(buffer, static_cast<size_t>(length));
}

}  // namespace tc101
