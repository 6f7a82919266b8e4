#pragma once

// The comma-text of one table row, over GBK bytes: the row lines inside the
// table files, compatible with the Windows tool in both directions.

#include <string>
#include <string_view>
#include <vector>

namespace tc101 {

// Cells joined by commas; a cell holding a byte 0x01..0x20, a double quote or
// a comma is quoted with inner quotes doubled, an empty cell is written as
// nothing. Double-byte characters are stepped over as one unit.
std::string EncodeCommaText(const std::vector<std::string>& cells);

// The fields of one line as written: quoted or bare, blanks and a comma
// between them, a comma at the very end adding one empty field. A quote that
// is never closed runs to the end of the line; a NUL ends the line.
std::vector<std::string> ParseCommaText(std::string_view line);

// Splits text into lines as the table files do: a line ends at CR LF, a lone
// CR or a lone LF, and the text ends at its first NUL. A final line break adds
// no empty line.
std::vector<std::string_view> SplitTextLines(std::string_view text);

}  // namespace tc101
