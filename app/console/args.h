#pragma once

// A small reader for subcommand arguments: "--name value", "--name=value",
// flags, and the plain words left over. Bad input throws UsageError, which
// the dispatcher prints as one line on standard error with exit code 2.

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tc101::console {

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Args {
public:
    explicit Args(std::span<char* const> words);

    // Takes a flag (no value) wherever it stands.
    bool Flag(std::string_view name);
    // Takes an option's value, or nothing when the option is absent.
    std::optional<std::string> Value(std::string_view name);
    // Takes a whole-number option within [min, max].
    std::optional<int64_t> Integer(std::string_view name, int64_t min, int64_t max);
    // Takes a run length in seconds, fractions allowed, more than 0 and at most a year.
    std::optional<std::chrono::milliseconds> Seconds(std::string_view name);
    // Takes an option whose value must be one of the given words.
    std::optional<std::string> Choice(std::string_view name, std::span<const std::string_view> choices);

    // What is left once the options are taken; an unknown "--word" is an error.
    std::vector<std::string> Rest();

private:
    std::vector<std::string> words_;
    std::vector<bool> taken_;
};

// Reads a whole decimal number within [min, max]; what is wrong goes into the message.
int64_t ParseInteger(std::string_view text, std::string_view what, int64_t min, int64_t max);

}  // namespace tc101::console
