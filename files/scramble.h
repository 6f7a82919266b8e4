#pragma once

// The table files' scrambling: reverse the text and XOR every byte with a key.

#include <string>
#include <string_view>

namespace tc101 {

// The key of the table files. Below 0x20, and no text byte or line break
// scrambles to CR, LF or NUL with it, so the scrambled text stays one line.
inline constexpr unsigned char kTableFileKey = 0x1B;

// Byte i of the result is key XOR text[n-1-i] when reverse is set, key XOR
// text[i] otherwise. Applying it twice gives the text back.
std::string ScrambleText(std::string_view text, unsigned char key, bool reverse);

}  // namespace tc101
