#pragma once

// The value cells of the master message settings as the dialog shows and
// stores them: hex (the form the request builders read) or decimal, and the
// comma-text list of bwset.ini (its names in files/bw_set_keys.h). Plain
// functions over cell texts.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tc101 {

enum class ValueDisplay { Hex, Decimal };

// Decimal digits only, at least one, at most 32 bits.
std::optional<std::uint32_t> ParseDecimalCell(std::string_view text);

// At least two upper-case hex digits (0x12C stays "12C").
std::string TwoDigitHex(std::uint32_t value);

// Switching to decimal: the decimal form of the hex value; not hex gives "0".
std::string HexCellToDecimal(std::string_view text);
// Switching back to hex: two hex digits of the decimal value mod 256; not decimal gives "00".
std::string DecimalCellToHex(std::string_view text);

// The cell's value in the display it is shown in; nothing when it cannot be read.
std::optional<std::uint32_t> ReadCell(std::string_view text, ValueDisplay display);
// The cell's value in the current display; a cell that cannot be read is 0.
std::uint32_t CellValue(std::string_view text, ValueDisplay display);
// The cell rewritten in its display's canonical form ("确定(&O)").
std::string NormalizedCell(std::string_view text, ValueDisplay display);

// bwset.ini: an empty first item for the title row, then each value as hex.
std::string StoredValueList(const std::vector<std::uint32_t>& values);
// The row values of a stored list: the item for the title row is dropped.
std::vector<std::string> StoredListRows(std::string_view list);

}  // namespace tc101
