#pragma once

// Appending numbers and octets to explanation texts without temporaries.

#include <charconv>
#include <cstdint>
#include <span>
#include <string>

namespace tc101::explain {

inline void AppendInt(std::string& out, std::int64_t value) {
    char buffer[24];
    out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

inline void AppendHexByte(std::string& out, std::uint8_t value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const char digits[2] = {kDigits[value >> 4], kDigits[value & 0x0F]};
    out.append(digits, 2);
}

// "68 0C 0C 68"
inline void AppendHexOctets(std::string& out, std::span<const std::uint8_t> octets) {
    for (std::size_t i = 0; i < octets.size(); ++i) {
        if (i) out += ' ';
        AppendHexByte(out, octets[i]);
    }
}

inline std::uint32_t LittleEndian(std::span<const std::uint8_t> octets, std::size_t from, std::size_t count) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < count; ++i) value |= static_cast<std::uint32_t>(octets[from + i]) << (8 * i);
    return value;
}

}  // namespace tc101::explain
