#pragma once

// Measured values: the raw number in 1 to 4 octets and the scaled text shown
// in a GrdYC device column.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tc101 {

// Least significant octet first, two's complement over the octets given (1 to 4).
std::int64_t MeasuredRaw(std::span<const std::uint8_t> octets);

// The ratio cell as a number: the text, trimmed of spaces and control
// characters, must read whole as a decimal floating-point number (sign,
// fraction, exponent). Independent of the process locale.
std::optional<double> ParseRatio(std::string_view text);

// raw x 1000 / ratio rounded half to even: the value in thousandths. A ratio
// that is missing, 0, or gives no finite quotient scales by 1 instead, so one
// bad definition row cannot stop the analysis.
double ScaledThousandths(std::int64_t raw, std::optional<double> ratio);

// The shortest text of thousandths / 1000: at most three fraction digits,
// '.' as separator, never "-0".
std::string ThousandthsText(double thousandths);

// Both steps for one cell.
std::string MeasuredValueText(std::int64_t raw, std::string_view ratioText);
// The same for a value that is not a whole number (a short float).
std::string FloatValueText(double value, std::string_view ratioText);

}  // namespace tc101
