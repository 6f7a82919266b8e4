#pragma once

// The hex text form of octets: two uppercase digits per octet, one space
// between octets ("10 49 01 4A 16"). Used by the log, the analysis account,
// the analysis pane, the send list and the send message files.

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tc101 {

// A pair of characters that is not a hexadecimal number.
class ConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The value of one hexadecimal digit of either case; -1 for any other character.
int HexDigitValue(char c);

// Hex text of buffer[first] .. buffer[last] (inclusive); empty when last < first.
// A range outside the buffer throws std::out_of_range.
std::string BytesToHexText(std::span<const std::uint8_t> buffer, int first, int last);
// Hex text of the whole buffer.
std::string BytesToHexText(std::span<const std::uint8_t> buffer);
// Appends the hex text of the whole buffer to out (the analyser's hot path).
void AppendHexText(std::string& out, std::span<const std::uint8_t> buffer);

// (length + 1) / 3 octets; octet i is the pair at 3i, 3i+1, whatever stands at
// 3i+2. A pair that is not two hexadecimal digits throws ConvertError.
std::vector<std::uint8_t> HexTextToBytes(std::string_view text);

// The hexadecimal digit pairs found in any text, joined by single spaces;
// the case of the digits is kept.
std::string NormalizeHexText(std::string_view text);

// ASCII upper case, as the analysis pane applies after normalising.
std::string ToUpperAscii(std::string_view text);

// A message text that cannot be read as octets without guessing; the message
// is the user's and quotes the text.
class HexTextError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A message text in the canonical form, tidied as the send message editor
// tidies it (NormalizeHexText, upper case); canonical text comes back as it
// is. Separators are any ASCII characters but letters and digits. Throws
// HexTextError for any other character, and for a run of digits of odd
// length ("1049014A1"), where the pairs could only be guessed.
std::string TidyHexText(std::string_view text);

}  // namespace tc101
