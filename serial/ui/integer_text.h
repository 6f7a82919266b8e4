#pragma once

// Integer fields read as the tool has always read them: a 32-bit decimal
// (or 0x hexadecimal) number with blanks around it allowed; anything else is
// refused with the message the user sees in the error box.

#include <cstdint>

class QString;

namespace tc101 {

// Throws ConvertError "'<text>' is not a valid integer value".
std::int32_t StrToInt(const QString& text);

}  // namespace tc101
