#pragma once

// The text rules of Windows private-profile files, as pure functions over a
// file's bytes (GBK) so the store, the tests and the fuzzer share them.
// Section and key names match without regard to ASCII case; the first
// section of a name is the one that counts, and within it the first key.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tc101::ini {

// The value of key in section (UTF-8, blanks around it trimmed, one pair of
// enclosing quotes removed), or nothing when the section or key is missing.
std::optional<std::string> FindValue(std::string_view fileBytes, std::string_view section, std::string_view key);

// The file's bytes with key set to value, creating section and key as
// needed; every other line stays byte for byte as it was. New lines end in
// CR LF. Throws std::invalid_argument when a name or the value would break
// the line structure (a line break, a NUL, "]" in a section or "=" in a key).
std::string SetValue(std::string_view fileBytes, std::string_view section, std::string_view key,
                     std::string_view value);

// Decimal, or 0x followed by hexadecimal digits; blanks around it allowed.
std::optional<std::int64_t> ParseInteger(std::string_view text);

}  // namespace tc101::ini
