// The send list's octets, limit and walk, and the timers' intervals.

#include <gtest/gtest.h>

#include <string>

#include "protocol/hex_text.h"
#include "traffic/send_message.h"
#include "traffic/timer_interval.h"

namespace tc101 {
namespace {

TEST(PrepareMessage, TidiesThenHoldsTheTidiedTextToTheLimit) {
    std::string atLimit;
    for (std::size_t i = 0; i < kMaxMessageOctets; ++i) atLimit += i ? " 5A" : "5A";
    const OutgoingMessage longest = PrepareMessage(atLimit);
    EXPECT_EQ(longest.text, atLimit);
    EXPECT_EQ(longest.octets.size(), kMaxMessageOctets);
    // Counted after tidying: 1025 pairs without separators are 1025 octets.
    for (const std::string& over : {atLimit + " 5A", std::string(2 * (kMaxMessageOctets + 1), 'E')}) {
        try {
            PrepareMessage(over);
            ADD_FAILURE() << "no error";
        } catch (const EMessageTooLong& error) {
            EXPECT_STREQ(error.what(), "报文太长：一条报文最多1024个字节，这条有1025个字节。");
        }
    }
    EXPECT_THROW(PrepareMessage("10 4G 01"), HexTextError);
    EXPECT_TRUE(PrepareMessage("").octets.empty());
    const OutgoingMessage tidied = PrepareMessage("1049014a16");
    EXPECT_EQ(tidied.text, "10 49 01 4A 16");
    EXPECT_EQ(tidied.octets, (std::vector<std::uint8_t>{0x10, 0x49, 0x01, 0x4A, 0x16}));
}

TEST(NextSendRow, WalksAndWrapsToRowOne) {
    // Five messages: rows 1..5 under the title row.
    EXPECT_EQ(NextSendRow(1, 6), 2);
    EXPECT_EQ(NextSendRow(4, 6), 5);
    EXPECT_EQ(NextSendRow(5, 6), 1);
    EXPECT_EQ(NextSendRow(1, 2), 1);
}

TEST(SpinnerInterval, WholeNumbersOnly) {
    struct Case {
        const char* text;
        std::int64_t value;
        bool fires;
    };
    const Case cases[] = {
        {"1000", 1000, true}, {"+50", 50, true},  {"0", 0, false},     {"-100", -100, false}, {"", 0, false},
        {"1e3", 0, false},    {"10.5", 0, false}, {" 100", 0, false},  {"abc", 0, false},
        {"99999999999", 0, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SpinnerInterval(c.text), c.value) << c.text;
        EXPECT_EQ(TimerFires(SpinnerInterval(c.text)), c.fires) << c.text;
    }
}

}  // namespace
}  // namespace tc101
