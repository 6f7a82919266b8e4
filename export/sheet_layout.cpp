#include "export/sheet_layout.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace tc101 {

namespace {

constexpr int kPixelsPerCharacter = 8;
constexpr int kMaxColumnWidth = 255;
constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";
// Beyond this a double no longer holds every digit.
constexpr std::size_t kMaxExactDigits = 15;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The run of digits at the start of text.
std::size_t Digits(std::string_view text) {
    std::size_t count = 0;
    while (count < text.size() && IsDigit(text[count])) ++count;
    return count;
}

// Length of the well-formed UTF-8 sequence at the start of text, 0 when malformed.
size_t Utf8SequenceLength(std::string_view text) {
    const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
    const auto continuation = [&](size_t i) { return i < text.size() && (byte(i) & 0xC0) == 0x80; };
    const uint8_t lead = byte(0);
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return continuation(1) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (!continuation(1) || !continuation(2)) return 0;
        if (lead == 0xE0 && byte(1) < 0xA0) return 0;  // overlong
        if (lead == 0xED && byte(1) >= 0xA0) return 0;  // surrogate
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        if (!continuation(1) || !continuation(2) || !continuation(3)) return 0;
        if (lead == 0xF0 && byte(1) < 0x90) return 0;  // overlong
        if (lead == 0xF4 && byte(1) >= 0x90) return 0;  // above U+10FFFF
        return 4;
    }
    return 0;
}

}  // namespace

std::array<SheetSource, 3> ValueTableSheets(const Table& yc, const Table& yx, const Table& sj) {
    return {SheetSource{kYcSheetName, yc}, SheetSource{kYxSheetName, yx}, SheetSource{kSjSheetName, sj}};
}

int SheetColumnWidth(int pixels) {
    return std::clamp(pixels / kPixelsPerCharacter, 0, kMaxColumnWidth);
}

std::string SheetCellText(const Table& table, int col, int row) {
    const std::string text = ValidUtf8(table.Cell(col, row));
    if (row == 0) return text;
    return " " + text + " ";
}

std::optional<double> DecimalNumber(std::string_view text) {
    std::string_view rest = text;
    if (!rest.empty() && (rest.front() == '-' || rest.front() == '+')) rest.remove_prefix(1);
    const std::size_t whole = Digits(rest);
    if (whole == 0 || (whole > 1 && rest.front() == '0')) return std::nullopt;
    std::size_t digits = whole;
    rest.remove_prefix(whole);
    if (!rest.empty() && rest.front() == '.') {
        const std::size_t fraction = Digits(rest.substr(1));
        if (fraction == 0) return std::nullopt;
        digits += fraction;
        rest.remove_prefix(1 + fraction);
    }
    if (!rest.empty() && (rest.front() == 'e' || rest.front() == 'E')) {
        rest.remove_prefix(1);
        if (!rest.empty() && (rest.front() == '-' || rest.front() == '+')) rest.remove_prefix(1);
        const std::size_t exponent = Digits(rest);
        if (exponent == 0) return std::nullopt;
        rest.remove_prefix(exponent);
    }
    if (!rest.empty() || digits > kMaxExactDigits) return std::nullopt;
    // from_chars takes no plus sign.
    const std::string_view plain = text.front() == '+' ? text.substr(1) : text;
    double value = 0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<double> SheetCellNumber(const Table& table, int col, int row) {
    if (row == 0) return std::nullopt;
    return DecimalNumber(table.Cell(col, row));
}

std::string ValidUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const size_t length = Utf8SequenceLength(text);
        if (length == 0) {
            out += kReplacementCharacter;
            text.remove_prefix(1);
        } else {
            out += text.substr(0, length);
            text.remove_prefix(length);
        }
    }
    return out;
}

}  // namespace tc101
