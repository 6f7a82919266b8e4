#include "files/comma_text.h"

#include <algorithm>

namespace tc101 {

namespace {

constexpr char kSeparator = ',';
constexpr char kQuote = '"';
constexpr char kCr = '\r';
constexpr char kLf = '\n';
constexpr unsigned char kLastBlank = 0x20;
constexpr unsigned char kFirstLeadByte = 0x81;
constexpr unsigned char kLastLeadByte = 0xFE;

unsigned char Byte(std::string_view text, std::size_t i) { return static_cast<unsigned char>(text[i]); }

bool IsBlank(unsigned char c) { return c >= 1 && c <= kLastBlank; }

bool IsLeadByte(unsigned char c) { return c >= kFirstLeadByte && c <= kLastLeadByte; }

// The index after the character at i: a GBK lead byte takes its trail byte along.
std::size_t Next(std::string_view text, std::size_t i) {
    return (IsLeadByte(Byte(text, i)) && i + 1 < text.size()) ? i + 2 : i + 1;
}

bool NeedsQuotes(std::string_view cell) {
    for (std::size_t i = 0; i < cell.size(); i = Next(cell, i)) {
        const unsigned char c = Byte(cell, i);
        if (c == 0 || c <= kLastBlank || c == kQuote || c == kSeparator) return true;
    }
    return false;
}

void AppendQuoted(std::string& out, std::string_view cell) {
    out += kQuote;
    for (std::size_t i = 0; i < cell.size();) {
        const std::size_t next = Next(cell, i);
        if (cell[i] == kQuote) out += kQuote;
        out.append(cell.substr(i, next - i));
        i = next;
    }
    out += kQuote;
}

// Reads a quoted field starting at the opening quote; pos ends after the closing one.
std::string ExtractQuoted(std::string_view line, std::size_t& pos) {
    std::string field;
    ++pos;
    while (pos < line.size()) {
        if (line[pos] == kQuote) {
            if (pos + 1 < line.size() && line[pos + 1] == kQuote) {
                field += kQuote;
                pos += 2;
                continue;
            }
            ++pos;
            return field;
        }
        const std::size_t next = Next(line, pos);
        field.append(line.substr(pos, next - pos));
        pos = next;
    }
    return field;  // never closed: the rest of the line
}

}  // namespace

std::string EncodeCommaText(const std::vector<std::string>& cells) {
    std::string out;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) out += kSeparator;
        if (NeedsQuotes(cells[i]))
            AppendQuoted(out, cells[i]);
        else
            out += cells[i];
    }
    return out;
}

std::vector<std::string> ParseCommaText(std::string_view line) {
    line = line.substr(0, line.find('\0'));
    std::vector<std::string> fields;
    std::size_t pos = 0;
    const auto skipBlanks = [&] {
        while (pos < line.size() && IsBlank(Byte(line, pos))) ++pos;
    };
    skipBlanks();
    while (pos < line.size()) {
        if (line[pos] == kQuote) {
            fields.push_back(ExtractQuoted(line, pos));
        } else {
            const std::size_t start = pos;
            while (pos < line.size() && Byte(line, pos) > kLastBlank && line[pos] != kSeparator)
                pos = Next(line, pos);
            pos = std::min(pos, line.size());
            fields.emplace_back(line.substr(start, pos - start));
        }
        skipBlanks();
        if (pos < line.size() && line[pos] == kSeparator) {
            if (pos + 1 == line.size()) fields.emplace_back();
            ++pos;
            skipBlanks();
        }
    }
    return fields;
}

std::vector<std::string_view> SplitTextLines(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    std::vector<std::string_view> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        while (pos < text.size() && text[pos] != kCr && text[pos] != kLf) ++pos;
        lines.push_back(text.substr(start, pos - start));
        if (pos < text.size() && text[pos] == kCr) ++pos;
        if (pos < text.size() && text[pos] == kLf) ++pos;
    }
    return lines;
}

}  // namespace tc101
