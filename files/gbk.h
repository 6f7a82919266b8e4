#pragma once

// Text is UTF-8 inside the program and GBK in the files the Windows tool
// shares with us. We write GB18030, GBK's superset, so that no character a
// user types is ever lost; the Windows tool reads its GBK part unchanged.

#include <string>
#include <string_view>

namespace tc101 {

// Decodes GB18030 (and so GBK) bytes; a byte that starts no valid character
// becomes U+FFFD and decoding goes on with the next byte.
std::string GbkToUtf8(std::string_view gbk);

// Encodes UTF-8 text as GB18030; a malformed UTF-8 sequence becomes U+FFFD.
std::string Utf8ToGbk(std::string_view utf8);

}  // namespace tc101
