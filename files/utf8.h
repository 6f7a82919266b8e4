#pragma once

#include <cstddef>
#include <string_view>

namespace tc101 {

// The length of the well-formed UTF-8 sequence at the front of text (1 to 4),
// or 0 when it starts with none: a stray or cut-off byte, an overlong form, a
// surrogate or a value above U+10FFFF. text must not be empty.
std::size_t Utf8SequenceLength(std::string_view text);

}  // namespace tc101
