#include "protocol/explain/json_value.h"

#include <charconv>
#include <cmath>
#include <stdexcept>

namespace tc101 {

JsonValue JsonValue::Bool(bool value) {
    JsonValue v;
    v.kind_ = Kind::Bool;
    v.integer_ = value ? 1 : 0;
    return v;
}

JsonValue JsonValue::Int(std::int64_t value) {
    JsonValue v;
    v.kind_ = Kind::Int;
    v.integer_ = value;
    return v;
}

JsonValue JsonValue::Float(double value) {
    JsonValue v;
    v.kind_ = Kind::Float;
    v.real_ = value;
    return v;
}

JsonValue JsonValue::Single(float value) {
    JsonValue v = Float(value);
    v.single_ = true;
    return v;
}

JsonValue JsonValue::Text(std::string value) {
    JsonValue v;
    v.kind_ = Kind::Text;
    v.text_ = std::move(value);
    return v;
}

JsonValue JsonValue::Object(std::size_t capacity) {
    JsonValue v;
    v.kind_ = Kind::Object;
    v.members_.reserve(capacity);
    return v;
}

JsonValue JsonValue::Array(std::size_t capacity) {
    JsonValue v;
    v.kind_ = Kind::Array;
    v.items_.reserve(capacity);
    return v;
}

JsonValue& JsonValue::Add(std::string_view key, JsonValue value) {
    members_.emplace_back(key, std::move(value));
    return members_.back().second;
}

const JsonValue* JsonValue::Find(std::string_view key) const {
    for (const Member& member : members_)
        if (member.first == key) return &member.second;
    return nullptr;
}

JsonValue* JsonValue::Find(std::string_view key) {
    for (Member& member : members_)
        if (member.first == key) return &member.second;
    return nullptr;
}

JsonValue& JsonValue::Push(JsonValue value) {
    items_.push_back(std::move(value));
    return items_.back();
}

void AppendJsonString(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    // Runs that need no escape go in whole.
    std::size_t from = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const auto u = static_cast<unsigned char>(c);
        if (c != '"' && c != '\\' && u >= 0x20) continue;
        out.append(text, from, i - from);
        from = i + 1;
        if (u >= 0x20) {
            out += '\\';
            out += c;
        } else {
            out += "\\u00";
            out += kHex[u >> 4];
            out += kHex[u & 0x0F];
        }
    }
    out.append(text, from, text.size() - from);
    out += '"';
}

void JsonValue::AppendTo(std::string& out) const {
    char buffer[32];
    switch (kind_) {
        case Kind::Null: out += "null"; return;
        case Kind::Bool: out += integer_ ? "true" : "false"; return;
        case Kind::Int: {
            const auto end = std::to_chars(buffer, buffer + sizeof buffer, integer_).ptr;
            out.append(buffer, end);
            return;
        }
        case Kind::Float: {
            // JSON has no NaN or infinity: a float octet pattern that is one reads as null.
            if (!std::isfinite(real_)) {
                out += "null";
                return;
            }
            const auto end = single_ ? std::to_chars(buffer, buffer + sizeof buffer, static_cast<float>(real_)).ptr
                                     : std::to_chars(buffer, buffer + sizeof buffer, real_).ptr;
            out.append(buffer, end);
            return;
        }
        case Kind::Text: AppendJsonString(out, text_); return;
        case Kind::Object: {
            out += '{';
            bool first = true;
            for (const Member& member : members_) {
                if (!first) out += ',';
                first = false;
                AppendJsonString(out, member.first);
                out += ':';
                member.second.AppendTo(out);
            }
            out += '}';
            return;
        }
        case Kind::Array: {
            out += '[';
            bool first = true;
            for (const JsonValue& item : items_) {
                if (!first) out += ',';
                first = false;
                item.AppendTo(out);
            }
            out += ']';
            return;
        }
    }
}

std::string JsonValue::Dump() const {
    std::string out;
    AppendTo(out);
    return out;
}

}  // namespace tc101

namespace tc101 {

namespace {

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    JsonValue Whole() {
        JsonValue value = Value(0);
        if (pos_ != text_.size()) Fail();
        return value;
    }

private:
    [[noreturn]] void Fail() const {
        throw std::invalid_argument("not JSON at offset " + std::to_string(pos_));
    }
    char Peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }
    void Expect(char c) {
        if (Peek() != c) Fail();
        ++pos_;
    }
    bool Word(std::string_view word) {
        if (text_.substr(pos_, word.size()) != word) return false;
        pos_ += word.size();
        return true;
    }

    JsonValue Value(int depth) {
        if (depth > 64) Fail();
        switch (Peek()) {
            case '{': return Object(depth);
            case '[': return Array(depth);
            case '"': return JsonValue::Text(String());
            case 't': if (Word("true")) return JsonValue::Bool(true); Fail();
            case 'f': if (Word("false")) return JsonValue::Bool(false); Fail();
            case 'n': if (Word("null")) return JsonValue(); Fail();
            default: return Number();
        }
    }
    JsonValue Object(int depth) {
        JsonValue object = JsonValue::Object();
        Expect('{');
        if (Peek() == '}') return ++pos_, object;
        for (;;) {
            std::string key = String();
            Expect(':');
            object.Add(key, Value(depth + 1));
            if (Peek() == '}') return ++pos_, object;
            Expect(',');
        }
    }
    JsonValue Array(int depth) {
        JsonValue array = JsonValue::Array();
        Expect('[');
        if (Peek() == ']') return ++pos_, array;
        for (;;) {
            array.Push(Value(depth + 1));
            if (Peek() == ']') return ++pos_, array;
            Expect(',');
        }
    }
    std::string String() {
        Expect('"');
        std::string out;
        for (;;) {
            if (pos_ >= text_.size()) Fail();
            const char c = text_[pos_++];
            if (c == '"') return out;
            if (c != '\\') {
                out += c;
                continue;
            }
            const char e = Peek();
            ++pos_;
            switch (e) {
                case '"': case '\\': case '/': out += e; break;
                case 'b': out += '\b'; break;
                case 'f': out += '\f'; break;
                case 'n': out += '\n'; break;
                case 'r': out += '\r'; break;
                case 't': out += '\t'; break;
                case 'u': {
                    // Only the control characters AppendJsonString escapes.
                    unsigned code = 0;
                    if (pos_ + 4 > text_.size() ||
                        std::from_chars(text_.data() + pos_, text_.data() + pos_ + 4, code, 16).ptr !=
                            text_.data() + pos_ + 4 ||
                        code >= 0x80)
                        Fail();
                    pos_ += 4;
                    out += static_cast<char>(code);
                    break;
                }
                default: Fail();
            }
        }
    }
    JsonValue Number() {
        const std::size_t start = pos_;
        bool real = false;
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == '.' || c == 'e' || c == 'E')
                real = true;
            else if (!(c == '-' || c == '+' || (c >= '0' && c <= '9')))
                break;
            ++pos_;
        }
        const char* first = text_.data() + start;
        const char* last = text_.data() + pos_;
        if (real) {
            double value = 0;
            if (first == last || std::from_chars(first, last, value).ptr != last) Fail();
            return JsonValue::Float(value);
        }
        std::int64_t value = 0;
        if (first == last || std::from_chars(first, last, value).ptr != last) Fail();
        // A float's negative zero is written "-0".
        if (value == 0 && *first == '-') return JsonValue::Float(-0.0);
        return JsonValue::Int(value);
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

}  // namespace

JsonValue JsonValue::Parse(std::string_view text) { return Parser(text).Whole(); }

}  // namespace tc101
