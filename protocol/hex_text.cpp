#include "protocol/hex_text.h"

namespace tc101 {

namespace {

constexpr char kUpperDigits[] = "0123456789ABCDEF";

// Enough of a pasted message to recognise it in a box or on one line.
constexpr std::size_t kQuotedBytes = 64;

constexpr unsigned char kUtf8LeadMask = 0xC0;
constexpr unsigned char kUtf8Continuation = 0x80;
constexpr unsigned char kFirstNonAscii = 0x80;

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & kUtf8LeadMask) == kUtf8Continuation; }
// What may stand between octets: ASCII that is neither a letter nor a digit.
bool IsSeparator(char c) {
    return static_cast<unsigned char>(c) < kFirstNonAscii && !IsAsciiLetter(c) && HexDigitValue(c) < 0;
}

// The text cut at a character boundary when it is long.
std::string Quoted(std::string_view text) {
    if (text.size() <= kQuotedBytes) return std::string(text);
    std::size_t end = kQuotedBytes;
    while (end > 0 && IsUtf8Continuation(text[end])) --end;
    return std::string(text.substr(0, end)) + "…";
}

// The whole (UTF-8) character that starts at i.
std::string_view CharacterAt(std::string_view text, std::size_t i) {
    std::size_t end = i + 1;
    while (end < text.size() && IsUtf8Continuation(text[end])) ++end;
    return text.substr(i, end - i);
}

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

std::string TidyHexText(std::string_view text) {
    // A stray character first: it is the clearer fault ("4G" is a G, not a lone 4).
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (HexDigitValue(text[i]) < 0 && !IsSeparator(text[i]))
            throw HexTextError("报文“" + Quoted(text) + "”里有“" + std::string(CharacterAt(text, i)) +
                               "”：只能有十六进制数字和分隔符。");
    }
    for (std::size_t i = 0; i < text.size();) {
        std::size_t end = i;
        while (end < text.size() && HexDigitValue(text[end]) >= 0) ++end;
        if ((end - i) % 2 != 0) {
            const std::string where =
                end - i == text.size() ? "的十六进制数字" : "里的“" + Quoted(text.substr(i, end - i)) + "”";
            throw HexTextError("报文“" + Quoted(text) + "”" + where + "不成对：每个字节是两位十六进制数字。");
        }
        i = end == i ? i + 1 : end;
    }
    return ToUpperAscii(NormalizeHexText(text));
}

std::string ToUpperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

}  // namespace tc101
