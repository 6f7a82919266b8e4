#include "app/console/args.h"

#include <charconv>
#include <cmath>
#include <exception>

namespace tc101::console {

Args::Args(std::span<char* const> words) : words_(words.begin(), words.end()), taken_(words_.size(), false) {}

bool Args::Flag(std::string_view name) {
    bool found = false;
    for (size_t i = 0; i < words_.size(); ++i) {
        if (!taken_[i] && words_[i] == name) {
            taken_[i] = true;
            found = true;
        }
    }
    return found;
}

std::optional<std::string> Args::Value(std::string_view name) {
    std::optional<std::string> value;
    for (size_t i = 0; i < words_.size(); ++i) {
        if (taken_[i]) continue;
        const std::string& word = words_[i];
        if (word == name) {
            if (i + 1 >= words_.size()) throw UsageError(std::string(name) + " needs a value");
            taken_[i] = taken_[i + 1] = true;
            value = words_[i + 1];
            ++i;
        } else if (word.size() > name.size() && word.starts_with(name) && word[name.size()] == '=') {
            taken_[i] = true;
            value = word.substr(name.size() + 1);
        }
    }
    return value;
}

std::optional<int64_t> Args::Integer(std::string_view name, int64_t min, int64_t max) {
    auto text = Value(name);
    if (!text) return std::nullopt;
    return ParseInteger(*text, name, min, max);
}

std::optional<std::chrono::milliseconds> Args::Seconds(std::string_view name) {
    constexpr double kMaxSeconds = 365.0 * 24 * 60 * 60;
    const auto text = Value(name);
    if (!text) return std::nullopt;
    std::size_t used = 0;
    double seconds = 0;
    try {
        seconds = std::stod(*text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != text->size() || text->empty() || !std::isfinite(seconds) || seconds <= 0 || seconds > kMaxSeconds)
        throw UsageError(std::string(name) + " takes a positive number of seconds, not '" + *text + "'");
    return std::chrono::milliseconds(std::llround(seconds * 1000));
}

std::optional<std::string> Args::Choice(std::string_view name, std::span<const std::string_view> choices) {
    auto text = Value(name);
    if (!text) return std::nullopt;
    for (auto choice : choices) {
        if (*text == choice) return text;
    }
    std::string allowed;
    for (auto choice : choices) {
        if (!allowed.empty()) allowed += '|';
        allowed += choice;
    }
    throw UsageError(std::string(name) + " takes " + allowed + ", not '" + *text + "'");
}

std::vector<std::string> Args::Rest() {
    std::vector<std::string> rest;
    for (size_t i = 0; i < words_.size(); ++i) {
        if (taken_[i]) continue;
        if (words_[i].starts_with("--") && words_[i] != "--") throw UsageError("unknown option " + words_[i]);
        rest.push_back(words_[i]);
    }
    return rest;
}

int64_t ParseInteger(std::string_view text, std::string_view what, int64_t min, int64_t max) {
    int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        throw UsageError(std::string(what) + " takes a whole number, not '" + std::string(text) + "'");
    if (value < min || value > max)
        throw UsageError(std::string(what) + " must be from " + std::to_string(min) + " to " + std::to_string(max));
    return value;
}

}  // namespace tc101::console
