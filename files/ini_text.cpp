#include "files/ini_text.h"

#include <charconv>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "files/gbk.h"

namespace tc101::ini {

namespace {

constexpr char kSectionOpen = '[';
constexpr char kSectionClose = ']';
constexpr char kComment = ';';
constexpr char kAssign = '=';
constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kNewLine = "\r\n";
constexpr int kHexBase = 16;

enum class LineKind { Blank, Section, Key, Other };

struct Line {
    std::string_view body;    // raw bytes without the line break
    std::string_view ending;  // "\r\n", "\r", "\n" or "" for a last line without one
    LineKind kind = LineKind::Other;
    std::string name;   // section or key name, UTF-8
    std::string value;  // key value, UTF-8
};

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    return true;
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

Line Classify(std::string_view body, std::string_view ending) {
    Line line{body, ending, LineKind::Other, {}, {}};
    const std::string text = GbkToUtf8(Trim(body));
    const std::string_view trimmed = text;
    if (trimmed.empty()) {
        line.kind = LineKind::Blank;
    } else if (trimmed.front() == kSectionOpen) {
        line.kind = LineKind::Section;
        line.name = std::string(Trim(trimmed.substr(1, trimmed.find(kSectionClose) - 1)));
    } else if (trimmed.front() != kComment && trimmed.find(kAssign) != std::string_view::npos) {
        const auto assign = trimmed.find(kAssign);
        line.kind = LineKind::Key;
        line.name = std::string(Trim(trimmed.substr(0, assign)));
        line.value = std::string(Unquote(Trim(trimmed.substr(assign + 1))));
    }
    return line;
}

std::vector<Line> SplitLines(std::string_view bytes) {
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const auto end = bytes.find_first_of(kNewLine, start);
        if (end == std::string_view::npos) {
            lines.push_back(Classify(bytes.substr(start), {}));
            break;
        }
        const std::size_t endingLength = (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ? 2 : 1;
        lines.push_back(Classify(bytes.substr(start, end - start), bytes.substr(end, endingLength)));
        start = end + endingLength;
    }
    return lines;
}

// Where section's lines are: [header, end) with end the next section or the end of the file.
struct SectionSpan {
    std::size_t header;
    std::size_t end;
};

std::optional<SectionSpan> FindSection(const std::vector<Line>& lines, std::string_view section) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind != LineKind::Section || !SameName(lines[i].name, section)) continue;
        std::size_t end = i + 1;
        while (end < lines.size() && lines[end].kind != LineKind::Section) ++end;
        return SectionSpan{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> FindKey(const std::vector<Line>& lines, SectionSpan span, std::string_view key) {
    for (std::size_t i = span.header + 1; i < span.end; ++i)
        if (lines[i].kind == LineKind::Key && SameName(lines[i].name, key)) return i;
    return std::nullopt;
}

void CheckWritable(std::string_view section, std::string_view key, std::string_view value) {
    constexpr std::string_view kBreaks("\r\n\0", 3);
    if (section.find_first_of(kBreaks) != std::string_view::npos || section.find(kSectionClose) != std::string_view::npos)
        throw std::invalid_argument("the section name \"" + std::string(section) + "\" cannot be stored");
    if (key.empty() || key.find_first_of(kBreaks) != std::string_view::npos ||
        key.find(kAssign) != std::string_view::npos)
        throw std::invalid_argument("the key name \"" + std::string(key) + "\" cannot be stored");
    if (value.find_first_of(kBreaks) != std::string_view::npos)
        throw std::invalid_argument("the value of " + std::string(key) + " holds a line break");
}

}  // namespace

std::optional<std::string> FindValue(std::string_view fileBytes, std::string_view section, std::string_view key) {
    const auto lines = SplitLines(fileBytes);
    const auto span = FindSection(lines, section);
    if (!span) return std::nullopt;
    const auto index = FindKey(lines, *span, key);
    if (!index) return std::nullopt;
    return lines[*index].value;
}

std::string SetValue(std::string_view fileBytes, std::string_view section, std::string_view key,
                     std::string_view value) {
    CheckWritable(section, key, value);
    auto lines = SplitLines(fileBytes);
    const auto span = FindSection(lines, section);

    std::optional<std::size_t> replace;
    std::size_t insertAfter = lines.size();  // index of the line the new key follows; size(): a new section
    std::string keyName(key);
    if (span) {
        replace = FindKey(lines, *span, key);
        if (replace) {
            keyName = GbkToUtf8(Trim(lines[*replace].body.substr(0, lines[*replace].body.find(kAssign))));
        } else {
            insertAfter = span->header;
            for (std::size_t i = span->header + 1; i < span->end; ++i)
                if (lines[i].kind != LineKind::Blank) insertAfter = i;
        }
    }
    const std::string keyLine = Utf8ToGbk(keyName) + kAssign + Utf8ToGbk(value);

    std::string out;
    out.reserve(fileBytes.size() + keyLine.size() + section.size() + 8);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (replace && i == *replace) {
            out += keyLine;
            out += lines[i].ending;
            continue;
        }
        out += lines[i].body;
        if (!replace && span && i == insertAfter) {
            out += lines[i].ending.empty() ? kNewLine : lines[i].ending;
            out += keyLine;
            out += lines[i].ending.empty() ? std::string_view{} : kNewLine;
            continue;
        }
        out += lines[i].ending;
    }
    if (!span) {
        if (!lines.empty() && lines.back().ending.empty()) out += kNewLine;
        out += kSectionOpen;
        out += Utf8ToGbk(section);
        out += kSectionClose;
        out += kNewLine;
        out += keyLine;
        out += kNewLine;
    }
    return out;
}

std::optional<std::int64_t> ParseInteger(std::string_view text) {
    text = Trim(text);
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = kHexBase;
        text.remove_prefix(2);
        if (text.front() == '-' || text.front() == '+') return std::nullopt;
    } else if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') return std::nullopt;
    }
    if (text.empty()) return std::nullopt;
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace tc101::ini
