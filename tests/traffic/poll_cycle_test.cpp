// The poll decision alone: the waiting rule, the request chosen by each
// reply, and the standard link procedure's frame count bit and reset.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "protocol/hex_text.h"
#include "traffic/poll_cycle.h"

namespace tc101 {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Request = std::optional<MasterRequest>;

constexpr auto kLinkStatus = MasterRequest::LinkStatus;
constexpr auto kClass1 = MasterRequest::Class1;
constexpr auto kClass2 = MasterRequest::Class2;
constexpr auto kInterrogation = MasterRequest::GeneralInterrogation;
constexpr auto kReset = MasterRequest::ResetRemoteLink;

Bytes Hex(std::string_view text) { return HexTextToBytes(text); }

// Replies with the verdict the analyser gives them.
struct Reply {
    const char* hex;
    PollVerdict verdict;
};
const Reply kStatusOfLink{"10 0B 01 0C 16", PollVerdict::LinkReady};
const Reply kAck{"10 00 01 01 16", PollVerdict::LinkReady};
const Reply kAckWithAcd{"10 20 01 21 16", PollVerdict::LinkReady};
const Reply kE5{"E5", PollVerdict::NoClass1Waiting};
const Reply kNoDataAcd{"10 29 01 2A 16", PollVerdict::Class1Waiting};
const Reply kConfirmAcd{"68 09 09 68 28 01 64 01 07 01 00 00 14 AA 16", PollVerdict::Class1Waiting};
const Reply kConfirm{"68 09 09 68 08 01 64 01 07 01 00 00 14 8A 16", PollVerdict::NoClass1Waiting};
const Reply kBadVariable{"68 09 09 68 08 01 64 01 07 01 00 00 14 00 16", PollVerdict::None};

TEST(PollCycle, NoAnswerSendsEveryFourthTick) {
    PollCycle cycle;
    cycle.StartSimulation();
    std::vector<Request> sent;
    for (int tick = 0; tick < 9; ++tick) sent.push_back(cycle.SimulationTick());
    const std::vector<Request> expected{kLinkStatus, {}, {}, {}, kLinkStatus, {}, {}, {}, kLinkStatus};
    EXPECT_EQ(sent, expected);
}

TEST(PollCycle, AReplyBetweenTicksMakesTheNextTickSend) {
    PollCycle cycle;
    cycle.StartSimulation();
    ASSERT_EQ(cycle.SimulationTick(), kLinkStatus);
    EXPECT_EQ(cycle.SimulationTick(), std::nullopt);
    EXPECT_EQ(cycle.SilentTicks(), 1);
    cycle.ReplyArrived(Hex(kStatusOfLink.hex), kStatusOfLink.verdict);
    EXPECT_EQ(cycle.SimulationTick(), kInterrogation);
    EXPECT_EQ(cycle.SilentTicks(), 0);
    EXPECT_FALSE(cycle.ReplyReceived());
}

TEST(PollCycle, StartingAgainBeginsWithLinkStatusAndSendsAtOnce) {
    PollCycle cycle;
    cycle.StartSimulation();
    cycle.SimulationTick();
    cycle.ReplyArrived(Hex(kE5.hex), kE5.verdict);
    cycle.SimulationTick();
    cycle.StartSimulation();
    EXPECT_EQ(cycle.SimulationTick(), kLinkStatus);
}

// The continuous sending timer shares the waiting rule; a failed send keeps the state.
TEST(PollCycle, ContinuousSendingWaitsTheSameWay) {
    PollCycle cycle;
    cycle.StartContinuous();
    std::string pattern;
    for (int tick = 0; tick < 8; ++tick) {
        const bool send = cycle.TickMaySend();
        pattern += send ? 'S' : '.';
        if (send) {
            cycle.MessageSent();
            cycle.Sent();
        }
    }
    EXPECT_EQ(pattern, "S...S...");
    EXPECT_EQ(cycle.SilentTicks(), 3);
    EXPECT_TRUE(cycle.TickMaySend());  // no Sent(): the send failed
    EXPECT_TRUE(cycle.TickMaySend());
}

struct StepCase {
    const char* name;
    bool standardLink;
    std::vector<Reply> replies;  // one reply after each send
    std::vector<MasterRequest> expected;  // the first request and one after each reply
};

class PollSequence : public ::testing::TestWithParam<StepCase> {};

TEST_P(PollSequence, RequestsFollowTheReplies) {
    const StepCase& c = GetParam();
    PollCycle cycle;
    cycle.SetStandardLink(c.standardLink);
    cycle.StartSimulation();
    std::vector<MasterRequest> sent;
    sent.push_back(*cycle.SimulationTick());
    for (const Reply& reply : c.replies) {
        cycle.ReplyArrived(Hex(reply.hex), reply.verdict);
        const Request next = cycle.SimulationTick();
        ASSERT_TRUE(next.has_value());
        sent.push_back(*next);
    }
    EXPECT_EQ(sent, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PollSequence,
    ::testing::Values(
        StepCase{"PlainStatusThenInterrogation", false, {kStatusOfLink, kConfirm, kE5},
                 {kLinkStatus, kInterrogation, kClass2, kClass2}},
        StepCase{"PlainAckRepeatsTheInterrogation", false, {kStatusOfLink, kAck, kAck},
                 {kLinkStatus, kInterrogation, kInterrogation, kInterrogation}},
        StepCase{"PlainAcdBringsClass1", false, {kConfirmAcd, kNoDataAcd},
                 {kLinkStatus, kClass1, kClass1}},
        StepCase{"PlainBadVariableBringsLinkStatus", false, {kConfirm, kBadVariable},
                 {kLinkStatus, kClass2, kLinkStatus}},
        StepCase{"StandardResetThenInterrogationThenByAcd", true, {kStatusOfLink, kAck, kAckWithAcd, kNoDataAcd, kE5},
                 {kLinkStatus, kReset, kInterrogation, kClass1, kClass1, kClass2}},
        StepCase{"StandardE5AcknowledgesTheReset", true, {kStatusOfLink, kE5, kE5},
                 {kLinkStatus, kReset, kInterrogation, kClass2}},
        StepCase{"StandardAckOfTheInterrogationWithoutAcd", true, {kStatusOfLink, kAck, kAck},
                 {kLinkStatus, kReset, kInterrogation, kClass2}},
        StepCase{"StandardOtherRepliesFollowTheVerdict", true, {kStatusOfLink, kBadVariable, kConfirmAcd},
                 {kLinkStatus, kReset, kLinkStatus, kClass1}}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(ReadLinkReply, TheLastFrameThatSetsAVerdictDecides) {
    struct Case {
        const char* hex;
        LinkReply kind;
        bool acd;
    };
    const Case cases[] = {
        {"10 0B 01 0C 16", LinkReply::LinkStatus, false},
        {"10 00 01 01 16", LinkReply::PositiveAck, false},
        {"10 20 07 27 16", LinkReply::PositiveAck, true},
        {"E5", LinkReply::PositiveAck, false},
        {"10 09 01 0A 16", LinkReply::Other, false},
        {"10 0B 01 0C 16 E5", LinkReply::PositiveAck, false},
        {"E5 10 0B 01 0C 16", LinkReply::LinkStatus, false},
        {"10 0B 01 0C 16 10 00 01 77 16", LinkReply::LinkStatus, false},  // bad checksum: no verdict
        {"10 0B 01 0C 16 10 49 01 4A 16", LinkReply::LinkStatus, false},  // primary frame: no verdict
        {"10 00 01 01 16 68 09 09 68 08 01 64 01 07 01 00 00 14 8A 16", LinkReply::Other, false},
        {"12 34", LinkReply::Other, false},
        {"", LinkReply::Other, false},
    };
    for (const Case& c : cases) {
        const LinkReplyReading reading = ReadLinkReply(Hex(c.hex));
        EXPECT_EQ(reading.kind, c.kind) << c.hex;
        EXPECT_EQ(reading.acd, c.acd) << c.hex;
    }
}

TEST(WithFcb, SetsOrClearsTheBitAndTheChecksum) {
    struct Case {
        const char* frame;
        bool fcb;
        const char* expected;
    };
    const Case cases[] = {
        {"10 5A 01 5B 16", true, "10 7A 01 7B 16"},
        {"10 7A 01 7B 16", false, "10 5A 01 5B 16"},
        {"68 09 09 68 53 01 64 01 06 01 00 00 14 D4 16", true, "68 09 09 68 73 01 64 01 06 01 00 00 14 F4 16"},
        {"10 5A 01 5B", true, "10 5A 01 5B"},          // not a whole frame
        {"68 09 08 68 53 01 16", true, "68 09 08 68 53 01 16"},
        {"E5", true, "E5"},
    };
    for (const Case& c : cases) EXPECT_EQ(BytesToHexText(WithFcb(Hex(c.frame), c.fcb)), c.expected) << c.frame;
}

TEST(PollCycleFcb, PlainFramesGoOutAsBuilt) {
    PollCycle cycle;
    const Bytes class1 = Hex("10 5A 01 5B 16");
    EXPECT_EQ(cycle.FrameToSend(class1), class1);
    EXPECT_EQ(cycle.FrameToSend(class1), class1);
}

TEST(PollCycleFcb, AlternatesPerAddressAndResetMakesItOne) {
    PollCycle cycle;
    cycle.SetStandardLink(true);
    const auto sent = [&](const char* hex) { return BytesToHexText(cycle.FrameToSend(Hex(hex))); };
    EXPECT_EQ(sent("10 49 01 4A 16"), "10 49 01 4A 16");  // no FCV: as built, no flip
    EXPECT_EQ(sent("10 5A 01 5B 16"), "10 5A 01 5B 16");  // FCB 0 first
    EXPECT_EQ(sent("10 5B 01 5C 16"), "10 7B 01 7C 16");
    EXPECT_EQ(sent("10 5A 02 5C 16"), "10 5A 02 5C 16");  // address 2 has its own bit
    EXPECT_EQ(sent("10 40 01 41 16"), "10 40 01 41 16");  // reset: as built
    EXPECT_TRUE(cycle.NextFcb(1));
    EXPECT_TRUE(cycle.NextFcb(2));
    EXPECT_EQ(sent("68 09 09 68 53 01 64 01 06 01 00 00 14 D4 16"), "68 09 09 68 73 01 64 01 06 01 00 00 14 F4 16");
    EXPECT_EQ(sent("10 7B 01 7C 16"), "10 5B 01 5C 16");  // a set bit is cleared when the turn says 0
    EXPECT_EQ(sent("10 5B 02 5D 16"), "10 7B 02 7D 16");
}

TEST(RequestForVerdict, EveryVerdictAndNothingBeyond) {
    EXPECT_EQ(RequestForVerdict(PollVerdict::None), kLinkStatus);
    EXPECT_EQ(RequestForVerdict(PollVerdict::Class1Waiting), kClass1);
    EXPECT_EQ(RequestForVerdict(PollVerdict::NoClass1Waiting), kClass2);
    EXPECT_EQ(RequestForVerdict(PollVerdict::LinkReady), kInterrogation);
    EXPECT_EQ(RequestForVerdict(static_cast<PollVerdict>(4)), std::nullopt);
}

}  // namespace
}  // namespace tc101
