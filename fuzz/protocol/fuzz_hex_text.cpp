// The hex text functions on any text: normalising never fails and always
// converts; converting a text either fails cleanly or round-trips.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "protocol/hex_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string normal = tc101::ToUpperAscii(tc101::NormalizeHexText(text));
    const auto octets = tc101::HexTextToBytes(normal);  // must not throw
    if (tc101::BytesToHexText(octets) != normal) __builtin_trap();
    if (tc101::NormalizeHexText(normal) != normal) __builtin_trap();
    // Tidying refuses cleanly or gives the same canonical form; canonical text passes as it is.
    try {
        if (tc101::TidyHexText(text) != normal) __builtin_trap();
    } catch (const tc101::HexTextError&) {
        if (normal == text) __builtin_trap();
    }
    try {
        const auto raw = tc101::HexTextToBytes(text);
        if (raw.size() != (size + 1) / 3) __builtin_trap();
    } catch (const tc101::ConvertError&) {
    }
    if (size > 0) {
        const int last = static_cast<int>(data[0] % size);
        const std::string part = tc101::BytesToHexText(std::span(data, size), 0, last);
        if (part.size() != static_cast<size_t>(last + 1) * 3 - 1) __builtin_trap();
    }
    return 0;
}
