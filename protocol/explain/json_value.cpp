#include "protocol/explain/json_value.h"

#include <charconv>
#include <cmath>

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
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            out += "\\u00";
            out += kHex[u >> 4];
            out += kHex[u & 0x0F];
        } else {
            out += c;
        }
    }
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
