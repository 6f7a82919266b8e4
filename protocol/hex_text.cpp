#include "protocol/hex_text.h"

namespace tc101 {

namespace {

constexpr char kUpperDigits[] = "0123456789ABCDEF";

}  // namespace

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

void AppendHexText(std::string& out, std::span<const std::uint8_t> buffer) {
    if (buffer.empty()) return;
    const size_t start = out.size();
    out.resize(start + buffer.size() * 3 - 1);
    char* p = out.data() + start;
    for (size_t i = 0; i < buffer.size(); ++i) {
        if (i != 0) *p++ = ' ';
        *p++ = kUpperDigits[buffer[i] >> 4];
        *p++ = kUpperDigits[buffer[i] & 0x0F];
    }
}

std::string BytesToHexText(std::span<const std::uint8_t> buffer, int first, int last) {
    if (last < first) return {};
    if (first < 0 || static_cast<size_t>(last) >= buffer.size())
        throw std::out_of_range("BytesToHexText: range outside the buffer");
    std::string text;
    AppendHexText(text, buffer.subspan(static_cast<size_t>(first), static_cast<size_t>(last - first + 1)));
    return text;
}

std::string BytesToHexText(std::span<const std::uint8_t> buffer) {
    std::string text;
    AppendHexText(text, buffer);
    return text;
}

std::vector<std::uint8_t> HexTextToBytes(std::string_view text) {
    const size_t count = (text.size() + 1) / 3;
    std::vector<std::uint8_t> bytes;
    bytes.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const int high = HexDigitValue(text[3 * i]);
        const int low = HexDigitValue(text[3 * i + 1]);
        if (high < 0 || low < 0)
            throw ConvertError("'" + std::string(text.substr(3 * i, 2)) + "' is not a valid integer value");
        bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    return bytes;
}

std::string NormalizeHexText(std::string_view text) {
    // Trimming spaces and control characters first changes nothing: they are
    // no digits and would be skipped one by one anyway.
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i + 1 < text.size()) {
        if (HexDigitValue(text[i]) >= 0 && HexDigitValue(text[i + 1]) >= 0) {
            if (!out.empty()) out.push_back(' ');
            out.push_back(text[i]);
            out.push_back(text[i + 1]);
            i += 2;
        } else {
            ++i;
        }
    }
    return out;
}

std::string ToUpperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

}  // namespace tc101
