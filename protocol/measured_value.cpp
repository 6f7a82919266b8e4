#include "protocol/measured_value.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <stdlib.h>

namespace tc101 {

namespace {

constexpr double kThousand = 1000.0;
// Below this every integer is exact in a double, so thousandths can be
// printed with integer arithmetic.
constexpr double kExactIntegerLimit = 9007199254740992.0;  // 2^53

bool IsTrimmed(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsTrimmed(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsTrimmed(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

std::int64_t MeasuredRaw(std::span<const std::uint8_t> octets) {
    std::uint64_t value = 0;
    for (size_t i = octets.size(); i-- > 0;) value = (value << 8) | octets[i];
    const unsigned bits = static_cast<unsigned>(octets.size()) * 8;
    if (bits == 0 || bits >= 64) return static_cast<std::int64_t>(value);
    const std::uint64_t signBit = std::uint64_t{1} << (bits - 1);
    if (value & signBit) return static_cast<std::int64_t>(value) - static_cast<std::int64_t>(signBit << 1);
    return static_cast<std::int64_t>(value);
}

std::optional<double> ParseRatio(std::string_view text) {
    text = Trim(text);
    // from_chars reads what strtod reads, except a leading '+' and hex forms.
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && (text.front() == '-' || text.front() == '+')) return std::nullopt;
    }
    if (text.empty()) return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Still a number (strtod gives ±HUGE_VAL or nearly 0); read it as
        // strtod would in the C locale, whatever locale the process runs in.
        static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
        const std::string copy(text);
        return strtod_l(copy.c_str(), nullptr, cLocale);
    }
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

namespace {

double ThousandthsOf(double value, std::optional<double> ratio) {
    const double scaled = value * kThousand;
    if (ratio && *ratio != 0.0) {
        const double quotient = scaled / *ratio;
        if (std::isfinite(quotient)) return std::nearbyint(quotient);
    }
    return std::nearbyint(scaled);
}

}  // namespace

double ScaledThousandths(std::int64_t raw, std::optional<double> ratio) {
    return ThousandthsOf(static_cast<double>(raw), ratio);
}

std::string ThousandthsText(double thousandths) {
    std::string text;
    if (std::fabs(thousandths) < kExactIntegerLimit) {
        const auto whole = static_cast<std::int64_t>(thousandths);
        const std::uint64_t magnitude = whole < 0 ? static_cast<std::uint64_t>(-whole) : static_cast<std::uint64_t>(whole);
        if (whole < 0) text.push_back('-');
        char digits[24];
        auto result = std::to_chars(digits, digits + sizeof digits, magnitude / 1000);
        text.append(digits, result.ptr);
        unsigned fraction = static_cast<unsigned>(magnitude % 1000);
        if (fraction != 0) {
            text.push_back('.');
            char fractionDigits[3] = {static_cast<char>('0' + fraction / 100), static_cast<char>('0' + fraction / 10 % 10),
                                      static_cast<char>('0' + fraction % 10)};
            size_t used = 3;
            while (fractionDigits[used - 1] == '0') --used;
            text.append(fractionDigits, used);
        }
        return text;
    }
    // Absurd ratios only: print the double itself to three places.
    char digits[400];
    const auto result = std::to_chars(digits, digits + sizeof digits, thousandths / kThousand, std::chars_format::fixed, 3);
    text.assign(digits, result.ptr);
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text;
}

std::string MeasuredValueText(std::int64_t raw, std::string_view ratioText) {
    return ThousandthsText(ScaledThousandths(raw, ParseRatio(ratioText)));
}

std::string FloatValueText(double value, std::string_view ratioText) {
    return ThousandthsText(ThousandthsOf(value, ParseRatio(ratioText)));
}

}  // namespace tc101
