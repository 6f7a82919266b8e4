#include "files/bw_set_cells.h"

#include <cstdio>
#include <limits>

#include "files/comma_text.h"
#include "protocol/requests.h"

namespace tc101 {

namespace {
constexpr std::uint32_t kByteMask = 0xFF;
constexpr std::uint32_t kDecimalRadix = 10;
}  // namespace

std::optional<std::uint32_t> ParseDecimalCell(std::string_view text) {
    if (text.empty()) return std::nullopt;
    std::uint32_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        const auto digit = static_cast<std::uint32_t>(c - '0');
        if (value > (std::numeric_limits<std::uint32_t>::max() - digit) / kDecimalRadix) return std::nullopt;
        value = value * kDecimalRadix + digit;
    }
    return value;
}

std::string TwoDigitHex(std::uint32_t value) {
    char text[12];
    std::snprintf(text, sizeof text, "%02X", value);
    return text;
}

std::string HexCellToDecimal(std::string_view text) { return std::to_string(ParseHexCell(text).value_or(0)); }

std::string DecimalCellToHex(std::string_view text) {
    return TwoDigitHex(ParseDecimalCell(text).value_or(0) & kByteMask);
}

std::optional<std::uint32_t> ReadCell(std::string_view text, ValueDisplay display) {
    return display == ValueDisplay::Hex ? ParseHexCell(text) : ParseDecimalCell(text);
}

std::uint32_t CellValue(std::string_view text, ValueDisplay display) { return ReadCell(text, display).value_or(0); }

std::string NormalizedCell(std::string_view text, ValueDisplay display) {
    const std::uint32_t value = CellValue(text, display);
    return display == ValueDisplay::Hex ? TwoDigitHex(value) : std::to_string(value);
}

std::string StoredValueList(const std::vector<std::uint32_t>& values) {
    std::vector<std::string> items{std::string()};
    for (const std::uint32_t value : values) items.push_back(TwoDigitHex(value));
    return EncodeCommaText(items);
}

std::vector<std::string> StoredListRows(std::string_view list) {
    std::vector<std::string> items = ParseCommaText(list);
    if (!items.empty()) items.erase(items.begin());
    return items;
}

}  // namespace tc101
