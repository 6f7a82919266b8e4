#pragma once

// A small JSON document: what a frame's explanation holds for scripts.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tc101 {

class JsonValue {
public:
    enum class Kind : std::uint8_t { Null, Bool, Int, Float, Text, Object, Array };
    using Member = std::pair<std::string, JsonValue>;

    JsonValue() = default;
    static JsonValue Bool(bool value);
    static JsonValue Int(std::int64_t value);
    static JsonValue Float(double value);
    // A short float, written with the digits a float needs (1.1, not 1.100000023841858).
    static JsonValue Single(float value);
    static JsonValue Text(std::string value);
    // Room for this many members or items before the first reallocation.
    static JsonValue Object(std::size_t capacity = 0);
    static JsonValue Array(std::size_t capacity = 0);
    // The value the compact text holds (as written by AppendTo); throws
    // std::invalid_argument on text that is not JSON.
    static JsonValue Parse(std::string_view text);

    Kind GetKind() const { return kind_; }
    bool IsNull() const { return kind_ == Kind::Null; }
    bool AsBool() const { return integer_ != 0; }
    std::int64_t AsInt() const { return integer_; }
    double AsFloat() const { return real_; }
    const std::string& AsText() const { return text_; }
    const std::vector<Member>& Members() const { return members_; }
    const std::vector<JsonValue>& Items() const { return items_; }

    // Object: adds a member (keys are not checked for repeats) and returns it.
    JsonValue& Add(std::string_view key, JsonValue value);
    // Object: the member's value, or nullptr.
    const JsonValue* Find(std::string_view key) const;
    JsonValue* Find(std::string_view key);
    // Array: appends an item.
    JsonValue& Push(JsonValue value);
    void Reserve(std::size_t items) { items_.reserve(items); }

    // Compact JSON text (no spaces), UTF-8 kept as it is.
    void AppendTo(std::string& out) const;
    std::string Dump() const;

private:
    Kind kind_ = Kind::Null;
    std::int64_t integer_ = 0;
    double real_ = 0;
    bool single_ = false;
    std::string text_;
    std::vector<Member> members_;
    std::vector<JsonValue> items_;
};

// A JSON string literal of the text (quotes and escapes added).
void AppendJsonString(std::string& out, std::string_view text);

}  // namespace tc101
