#include "protocol/balanced_link.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "protocol/hex_text.h"

namespace tc101 {
namespace {

// One event and what the link does about it, written as text: each output
// "up", "lost", "confirmed", "deliver", "duplicate", "repeat N" or the hex
// of a frame to send, joined by " | ".
struct Step {
    char event;  // S start, R received, T tick, U user data, L link status by hand
    std::int64_t at;
    const char* hex;
    const char* expected;
};

struct LinkCase {
    const char* name;
    int linkOctets;
    std::uint32_t address;
    std::optional<std::uint32_t> other;
    bool master;
    bool singleCharAck;
    std::vector<Step> steps;
    LinkCounters counters;
};

void PrintTo(const LinkCase& c, std::ostream* os) { *os << c.name; }

std::string Text(const BalancedLink::Outputs& outputs) {
    std::string text;
    for (const LinkOutput& output : outputs) {
        if (!text.empty()) text += " | ";
        switch (output.action) {
            case LinkAction::Send: text += BytesToHexText(output.frame); break;
            case LinkAction::Deliver: text += "deliver"; break;
            case LinkAction::Duplicate: text += "duplicate"; break;
            case LinkAction::Repeat: text += "repeat " + std::to_string(output.attempt); break;
            case LinkAction::Lost: text += "lost"; break;
            case LinkAction::Up: text += "up"; break;
            case LinkAction::Confirmed: text += "confirmed"; break;
        }
    }
    return text;
}

// Master start-up (1/1/1/2, address 1): the two frames of the initialisation.
const std::vector<Step> kMasterUp{
    {'S', 0, "", "10 C9 01 CA 16"},
    {'R', 10, "10 0B 01 0C 16", "10 C0 01 C1 16"},
    {'R', 20, "10 00 01 01 16", "up"},
};
// The outstation's spontaneous single point, FCB 1 then FCB 0.
constexpr const char* kData1 = "68 09 09 68 73 01 01 01 03 01 05 00 01 80 16";
constexpr const char* kData0 = "68 09 09 68 53 01 01 01 03 01 05 00 01 60 16";
constexpr const char* kInterrogation = "64 01 06 01 00 00 14";

std::vector<Step> After(std::vector<Step> first, const std::vector<Step>& then) {
    for (const Step& step : then) first.push_back(step);
    return first;
}

const LinkCase kCases[] = {
    {"MasterInitialisesThenSendsUserDataFcbAlternating", 1, 1, {}, true, false,
     After(kMasterUp, {
         {'U', 30, kInterrogation, "68 09 09 68 F3 01 64 01 06 01 00 00 14 74 16"},
         {'U', 31, kInterrogation, ""},  // waits for the first one's confirmation
         {'R', 40, "10 00 01 01 16", "confirmed | 68 09 09 68 D3 01 64 01 06 01 00 00 14 54 16"},
         {'R', 50, "E5", "confirmed"},
     }),
     {}},
    {"MasterAnswersTheOutstationAsSecondary", 1, 1, {}, true, false,
     After(kMasterUp, {
         {'R', 30, "10 49 01 4A 16", "10 8B 01 8C 16"},
         {'R', 40, "10 40 01 41 16", "10 80 01 81 16"},
         {'R', 50, kData1, "deliver | 10 80 01 81 16"},
         {'R', 60, kData1, "duplicate | 10 80 01 81 16"},  // its ack was lost: acked, not decoded
         {'R', 70, kData0, "deliver | 10 80 01 81 16"},
         {'R', 80, "10 46 01 47 16", "10 8F 01 90 16"},  // another function: not implemented
         {'R', 90, "68 09 09 68 44 01 01 01 03 01 05 00 01 51 16", "deliver"},  // no reply expected
     }),
     {0, 0, 1, 0}},
    {"SingleCharacterAcknowledgement", 1, 1, {}, true, true,
     {{'R', 0, "10 40 01 41 16", "E5"}, {'R', 10, kData1, "deliver | E5"}},
     {}},
    {"RepeatsThenLostThenReinitialised", 1, 1, {}, true, false,
     After(kMasterUp, {
         {'U', 30, kInterrogation, "68 09 09 68 F3 01 64 01 06 01 00 00 14 74 16"},
         {'T', 1029, "", ""},
         {'T', 1030, "", "repeat 1 | 68 09 09 68 F3 01 64 01 06 01 00 00 14 74 16"},
         {'T', 2030, "", "repeat 2 | 68 09 09 68 F3 01 64 01 06 01 00 00 14 74 16"},
         {'T', 3030, "", "lost | 10 C9 01 CA 16"},
         {'T', 4030, "", "repeat 1 | 10 C9 01 CA 16"},
         {'T', 5030, "", "repeat 2 | 10 C9 01 CA 16"},
         {'T', 6030, "", "10 C9 01 CA 16"},  // still lost: said once
         {'R', 6040, "10 0B 01 0C 16", "10 C0 01 C1 16"},
         // Back: the unconfirmed interrogation goes again, FCB from 1.
         {'R', 6050, "10 00 01 01 16", "up | 68 09 09 68 F3 01 64 01 06 01 00 00 14 74 16"},
     }),
     {4, 1, 0, 0}},
    {"IdleLineTestedFcbCounts", 1, 1, {}, true, false,
     After(kMasterUp, {
         {'T', 10019, "", ""},
         {'T', 10020, "", "10 F2 01 F3 16"},
         {'R', 10030, "10 00 01 01 16", ""},
         {'U', 10040, kInterrogation, "68 09 09 68 D3 01 64 01 06 01 00 00 14 54 16"},
     }),
     {}},
    {"FramesNotForUsCounted", 1, 1, {}, true, false,
     After(kMasterUp, {
         {'R', 30, "10 0B 02 0D 16", ""},  // another address
         {'R', 40, "10 0B 01 0D 16", ""},  // checksum
         {'R', 50, "10 C9 01 CA 16", ""},  // our own direction
         {'R', 60, "10 00 01 01 16", ""},  // nothing awaited
     }),
     {0, 0, 0, 4}},
    {"OtherAddressForTheOutstationsFrames", 1, 1, 2, true, false,
     {{'S', 0, "", "10 C9 01 CA 16"},
      {'R', 10, "10 49 02 4B 16", "10 8B 02 8D 16"},
      {'R', 20, "10 0B 01 0C 16", "10 C0 01 C1 16"}},
     {}},
    {"TwoOctetLinkAddress", 2, 257, {}, true, false,
     {{'S', 0, "", "10 C9 01 01 CB 16"},
      {'R', 10, "10 0B 01 01 0D 16", "10 C0 01 01 C2 16"},
      {'R', 20, "10 00 01 01 02 16", "up"},
      {'R', 30, "10 49 01 01 4B 16", "10 8B 01 01 8D 16"}},
     {}},
    {"NoLinkAddress", 0, 1, {}, true, false,
     {{'S', 0, "", "10 C9 C9 16"},
      {'R', 10, "10 0B 0B 16", "10 C0 C0 16"},
      {'R', 20, "10 00 00 16", "up"},
      {'R', 30, "68 08 08 68 73 01 01 03 01 05 00 01 7F 16", "deliver | 10 80 80 16"}},
     {}},
    {"OutstationSideDirZero", 1, 1, {}, false, false,
     {{'S', 0, "", "10 49 01 4A 16"},
      {'R', 10, "10 C9 01 CA 16", "10 0B 01 0C 16"},  // the master's own start-up meanwhile
      {'R', 20, "10 8B 01 8C 16", "10 40 01 41 16"},
      {'R', 30, "10 80 01 81 16", "up"},
      {'U', 40, "01 01 03 01 05 00 01", kData1}},
     {}},
};

class BalancedLinkTest : public testing::TestWithParam<LinkCase> {};

TEST_P(BalancedLinkTest, EventsGiveFrames) {
    const LinkCase& c = GetParam();
    LinkProfile profile;
    profile.mode = LinkMode::Balanced;
    profile.sizes.linkAddress = c.linkOctets;
    profile.balanced.otherAddress = c.other;
    profile.balanced.singleCharAck = c.singleCharAck;
    profile.balanced.retries = 2;
    BalancedLink link(c.master ? MasterLinkConfig(c.address, profile) : OutstationLinkConfig(c.address, profile));
    for (const Step& step : c.steps) {
        BalancedLink::Outputs out;
        const std::vector<std::uint8_t> octets = HexTextToBytes(step.hex);
        switch (step.event) {
            case 'S': link.Start(step.at, out); break;
            case 'R': link.Received(octets, step.at, out); break;
            case 'T': link.Tick(step.at, out); break;
            case 'U': link.SendUserData(octets, step.at, out); break;
            case 'L': link.RequestLinkStatus(step.at, out); break;
            default: FAIL() << step.event;
        }
        EXPECT_EQ(Text(out), step.expected) << step.event << "@" << step.at << " " << step.hex;
    }
    EXPECT_EQ(link.Counters(), c.counters);
}

std::string CaseName(const testing::TestParamInfo<LinkCase>& param) { return param.param.name; }

INSTANTIATE_TEST_SUITE_P(Sequences, BalancedLinkTest, testing::ValuesIn(kCases), CaseName);

}  // namespace
}  // namespace tc101
