// The console port options over stored settings.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "app/console/port_options.h"

namespace tc101::console {
namespace {

PortSettings Take(std::vector<const char*> words, const PortSettings& stored = {}) {
    std::vector<char*> argv;
    for (const char* w : words) argv.push_back(const_cast<char*>(w));
    Args args(argv);
    PortSettings s = TakePortOptions(args, stored);
    EXPECT_TRUE(args.Rest().empty());
    return s;
}

TEST(PortOptions, UnsetOptionsKeepTheStoredSettings) {
    PortSettings stored;
    stored.port = "COM3";
    stored.baudRate = 2400;
    stored.dataBits = 7;
    stored.parity = 1;
    stored.stopBits = 2;
    stored.recieveDelay = 40;
    EXPECT_EQ(Take({}, stored), stored);

    PortSettings changed = Take({"--port", "/dev/pts/9", "--baud=115200", "--parity", "space"}, stored);
    EXPECT_EQ(changed.port, "/dev/pts/9");
    EXPECT_EQ(changed.baudRate, 115200);
    EXPECT_EQ(changed.parity, 4);
    EXPECT_EQ(changed.dataBits, 7);
    EXPECT_EQ(changed.stopBits, 2);
    EXPECT_EQ(changed.recieveDelay, 40);
}

TEST(PortOptions, WordsMapToTheStoredIndexes) {
    struct Case {
        const char* option;
        const char* value;
        std::int64_t PortSettings::*member;
        std::int64_t expected;
    };
    const Case cases[] = {
        {"--parity", "none", &PortSettings::parity, 0},  {"--parity", "odd", &PortSettings::parity, 1},
        {"--parity", "even", &PortSettings::parity, 2},  {"--parity", "mark", &PortSettings::parity, 3},
        {"--stop-bits", "1", &PortSettings::stopBits, 0}, {"--stop-bits", "1.5", &PortSettings::stopBits, 1},
        {"--stop-bits", "2", &PortSettings::stopBits, 2}, {"--data-bits", "5", &PortSettings::dataBits, 5},
        {"--frame-delay", "-1", &PortSettings::recieveDelay, -1},
        {"--frame-delay", "1", &PortSettings::recieveDelay, 1},
    };
    for (const Case& c : cases) EXPECT_EQ(Take({c.option, c.value}).*c.member, c.expected) << c.option << c.value;
}

TEST(PortOptions, BadValuesAreUsageErrors) {
    const std::vector<std::vector<const char*>> bad = {
        {"--baud", "0"},          {"--baud", "fast"},       {"--data-bits", "9"}, {"--data-bits", "4"},
        {"--parity", "N"},        {"--stop-bits", "3"},     {"--frame-delay", "-2"},
        {"--frame-delay", "4294967296"}, {"--port", ""},   {"--port"}, {"--frame-delay", "0"},
    };
    for (const auto& words : bad) EXPECT_THROW(Take(words), UsageError) << words[0];
    // A delay that would make the port look dead says why.
    try {
        Take({"--frame-delay", "0"});
    } catch (const UsageError& error) {
        EXPECT_THAT(error.what(), ::testing::HasSubstr("full 2048-octet blocks"));
    }
}

// The run length poll, outstation and demo share.
TEST(ConsoleArgs, SecondsTakesPositiveFractionsUpToAYear) {
    using std::chrono::milliseconds;
    const struct {
        const char* text;
        std::optional<milliseconds> time;  // nothing: a usage error
    } cases[] = {
        {"10", milliseconds(10000)}, {"0.25", milliseconds(250)}, {"2.0004", milliseconds(2000)},
        {"31536000", milliseconds(31536000000)}, {"31536001", std::nullopt}, {"0", std::nullopt},
        {"-1", std::nullopt}, {"", std::nullopt}, {"3s", std::nullopt}, {"nan", std::nullopt},
        {"inf", std::nullopt}, {"1e999", std::nullopt},
    };
    for (const auto& c : cases) {
        std::string option = std::string("--seconds=") + c.text;
        char* argv[] = {option.data()};
        Args args(argv);
        if (c.time) {
            EXPECT_EQ(args.Seconds("--seconds"), c.time) << c.text;
        } else {
            EXPECT_THROW(args.Seconds("--seconds"), UsageError) << c.text;
        }
    }
    char* none[] = {nullptr};
    Args empty(std::span<char* const>(none, 0));
    EXPECT_EQ(empty.Seconds("--seconds"), std::nullopt);
}

}  // namespace
}  // namespace tc101::console
