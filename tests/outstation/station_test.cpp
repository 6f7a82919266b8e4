#include "outstation/outstation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "outstation/point_pattern.h"
#include "station_support.h"

namespace tc101 {
namespace {

using namespace testing_support;

StationConfig QuietConfig() {
    StationConfig config;
    config.yxCount = 3;
    config.ycCount = 2;
    config.changeEveryMs = 0;
    config.eventEveryMs = 0;
    config.seed = 7;
    return config;
}

class StationTest : public ::testing::Test {
protected:
    void Make(const StationConfig& config) { station = std::make_unique<Outstation>(config, clock.Reader()); }
    void SetUp() override { Make(QuietConfig()); }

    // The one reply to a frame, as hex text; "" for none.
    std::string Ask(const Bytes& frame) {
        const std::vector<Frame> replies = station->Receive(frame);
        EXPECT_LE(replies.size(), 1u);
        return replies.empty() ? std::string() : Text(replies.front());
    }
    std::string AskFixed(std::uint8_t control) { return Ask(Fixed(control)); }

    ManualClock clock;
    std::unique_ptr<Outstation> station;
};

struct LinkCase {
    const char* name;
    bool singleCharAck;
    std::string request;
    std::string reply;
};

void PrintTo(const LinkCase& c, std::ostream* out) { *out << c.name; }

class StationLinkTest : public StationTest, public ::testing::WithParamInterface<LinkCase> {};

TEST_P(StationLinkTest, AnswersOrIgnores) {
    StationConfig config = QuietConfig();
    config.singleCharAck = GetParam().singleCharAck;
    Make(config);
    EXPECT_EQ(Ask(Hex(GetParam().request)), GetParam().reply);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, StationLinkTest,
    ::testing::Values(LinkCase{"LinkStatus", false, "10 49 01 4A 16", "10 0B 01 0C 16"},
                      LinkCase{"Reset", false, "10 40 01 41 16", "10 00 01 01 16"},
                      LinkCase{"ResetSingleChar", true, "10 40 01 41 16", "E5"},
                      LinkCase{"Class1Empty", false, "10 5A 01 5B 16", "E5"},
                      LinkCase{"Class2Empty", false, "10 5B 01 5C 16", "E5"},
                      LinkCase{"UnknownFunction", false, "10 4D 01 4E 16", "10 0F 01 10 16"},
                      LinkCase{"OtherAddress", false, "10 49 02 4B 16", ""},
                      LinkCase{"BadChecksum", false, "10 49 01 4B 16", ""},
                      LinkCase{"SecondaryFrame", false, "10 0B 01 0C 16", ""},
                      LinkCase{"SingleCharacter", false, "E5", ""},
                      LinkCase{"BadVariableChecksum", false, "68 09 09 68 53 01 64 01 06 01 00 00 14 D5 16", ""},
                      LinkCase{"OtherCommonAddress", false, "68 09 09 68 53 01 64 01 06 02 00 00 14 D5 16",
                               "10 00 01 01 16"},
                      LinkCase{"OtherQualifier", false, "68 09 09 68 53 01 64 01 06 01 00 00 15 D5 16",
                               "68 09 09 68 00 01 64 01 47 01 00 00 15 C3 16"},
                      LinkCase{"Deactivation", false, "68 09 09 68 53 01 64 01 08 01 00 00 14 D6 16",
                               "68 09 09 68 00 01 64 01 6D 01 00 00 14 E8 16"}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST_F(StationTest, InterrogationIsConfirmedAtOnceThenDataFollowsAsClass1) {
    EXPECT_EQ(Ask(Interrogation()), "68 09 09 68 20 01 64 01 07 01 00 00 14 A2 16");
    ASSERT_EQ(station->Class1Waiting(), 3u);

    Bytes yx{kTypeSinglePoint, 0x83, 20, 1, 1, 0};
    for (int point = 1; point <= 3; ++point) yx.push_back(InitialTelesignal(7, point) ? 1 : 0);
    EXPECT_EQ(AskFixed(kClass1Request), Text(BuildVariableFrame(0x28, 1, yx)));

    Bytes yc{kTypeMeasuredNoQuality, 0x82, 20, 1, 1, 0};
    for (int point = 1; point <= 2; ++point) {
        const auto raw = static_cast<std::uint16_t>(InitialMeasuredValue(7, point));
        yc.push_back(static_cast<std::uint8_t>(raw & 0xFF));
        yc.push_back(static_cast<std::uint8_t>(raw >> 8));
    }
    EXPECT_EQ(AskFixed(kClass1Request), Text(BuildVariableFrame(0x28, 1, yc)));

    // The termination is the last class 1 data: ACD clear.
    EXPECT_EQ(AskFixed(kClass1Request), "68 09 09 68 08 01 64 01 0A 01 00 00 14 8D 16");
    EXPECT_EQ(AskFixed(kClass1Request), "E5");
}

TEST_F(StationTest, UnconfirmedInterrogationQueuesItsConfirmationFirst) {
    EXPECT_EQ(Ask(Interrogation(0x44)), "");
    EXPECT_EQ(AskFixed(kClass1Request), "68 09 09 68 28 01 64 01 07 01 00 00 14 AA 16");
    EXPECT_EQ(station->Class1Waiting(), 3u);
}

TEST_F(StationTest, Class2RequestLeavesClass1DataWaitingWithNoDataFrame) {
    Ask(Interrogation());
    EXPECT_EQ(AskFixed(kClass2Request), "10 29 01 2A 16");
    EXPECT_EQ(station->Class1Waiting(), 3u);
}

TEST_F(StationTest, SpontaneousDataComesDueOnTheClock) {
    StationConfig config = QuietConfig();
    config.changeEveryMs = 100;
    config.eventEveryMs = 250;
    Make(config);
    clock.now->localMsOfDay = ((10 * 60 + 12) * 60 + 34) * 1000 + 567;  // 10:12:34.567

    clock.Advance(99);
    EXPECT_EQ(AskFixed(kClass2Request), "E5");
    clock.Advance(1);
    const int point = ChangedMeasuredPoint(7, 1, 2);
    const auto raw = static_cast<std::uint16_t>(ChangedMeasuredValue(7, 1));
    const Bytes change{kTypeMeasuredNoQuality, 1, kCauseSpontaneous, 1, static_cast<std::uint8_t>(point), 0,
                       static_cast<std::uint8_t>(raw & 0xFF), static_cast<std::uint8_t>(raw >> 8)};
    EXPECT_EQ(AskFixed(kClass2Request), Text(BuildVariableFrame(0x08, 1, change)));
    EXPECT_EQ(station->Points().MeasuredValues()[static_cast<std::size_t>(point - 1)], ChangedMeasuredValue(7, 1));

    clock.Advance(150);  // 250 ms: the first event, and the second change
    ASSERT_EQ(station->Receive(Bytes{}).size(), 0u);
    EXPECT_EQ(station->Class1Waiting(), 2u);
    EXPECT_EQ(station->Class2Waiting(), 1u);
    const int toggled = EventPoint(7, 1, 3);
    const std::uint8_t state = InitialTelesignal(7, toggled) ? 0 : 1;
    const auto at = static_cast<std::uint8_t>(toggled);
    EXPECT_EQ(AskFixed(kClass1Request),
              Text(BuildVariableFrame(0x28, 1, Bytes{kTypeSinglePoint, 1, kCauseSpontaneous, 1, at, 0, state})));
    // 34.817 s past 10:12 (250 ms on): milliseconds 34817 = 0x8801, minutes 12.
    EXPECT_EQ(AskFixed(kClass1Request),
              Text(BuildVariableFrame(0x08, 1,
                                      Bytes{kTypeSinglePointTime, 1, kCauseSpontaneous, 1, at, 0, state, 0x01, 0x88, 12})));
}

TEST_F(StationTest, LongPauseMakesNoMoreThanAFullQueue) {
    StationConfig config = QuietConfig();
    config.changeEveryMs = 1;
    Make(config);
    clock.Advance(10'000'000);
    station->Advance();
    EXPECT_EQ(station->Class2Waiting(), kMaxQueuedAsdus);
    clock.Advance(50);
    station->Advance();
    EXPECT_EQ(station->Class2Waiting(), kMaxQueuedAsdus);
}

TEST_F(StationTest, NoPointsMeansNoReplyFramesForThem) {
    StationConfig config = QuietConfig();
    config.yxCount = 0;
    config.ycCount = 0;
    config.changeEveryMs = 10;
    config.eventEveryMs = 10;
    Make(config);
    clock.Advance(100);
    Ask(Interrogation());
    EXPECT_EQ(station->Class1Waiting(), 1u);  // the termination only
    EXPECT_EQ(station->Class2Waiting(), 0u);
}

TEST_F(StationTest, FrameSplitAcrossBlocksAndSeveralInOneBlock) {
    const Bytes status = Fixed(kLinkStatusRequest);
    EXPECT_TRUE(station->Receive(Bytes{0x33, status[0], status[1]}).empty());
    const std::vector<Frame> first = station->Receive(Bytes{status[2], status[3], status[4]});
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(Text(first[0]), "10 0B 01 0C 16");

    Bytes two = Interrogation();
    const Bytes class1 = Fixed(kClass1Request);
    two.insert(two.end(), class1.begin(), class1.end());
    const std::vector<Frame> replies = station->Receive(Bytes(two.begin(), two.begin() + 9));
    EXPECT_TRUE(replies.empty());
    const std::vector<Frame> rest = station->Receive(Bytes(two.begin() + 9, two.end()));
    ASSERT_EQ(rest.size(), 2u);
    EXPECT_EQ(rest[1][kVarTypeOffset], kTypeSinglePoint);
}

TEST_F(StationTest, CutFrameAfterAPauseIsNoise) {
    const Bytes status = Fixed(kLinkStatusRequest);
    EXPECT_TRUE(station->Receive(Bytes{status[0], status[1]}).empty());
    clock.Advance(kFramePauseMs + 1);
    EXPECT_TRUE(station->Receive(Bytes{status[2], status[3], status[4]}).empty());
    EXPECT_EQ(AskFixed(kLinkStatusRequest), "10 0B 01 0C 16");
}

TEST_F(StationTest, VariableFrameTooShortForItsAddressIsIgnored) {
    StationConfig config = QuietConfig();
    config.address = 0x43;
    Make(config);
    // L = 1: the octet after the control field is the checksum, not an address.
    EXPECT_EQ(Ask(Hex("68 01 01 68 43 43 16")), "");
    EXPECT_EQ(Ask(Hex("68 00 00 68 00 16")), "");
    EXPECT_EQ(station->Counters().framesIgnored, 2);
}

TEST_F(StationTest, ArbitraryWellFormedFramesAndCutsAreSurvived) {
    // Frames with right checksums but any content, cut anywhere: the
    // sanitizer builds watch for reads outside the data.
    std::mt19937 random(12345);
    auto octet = [&] { return static_cast<std::uint8_t>(random() & 0xFF); };
    Bytes stream;
    for (int i = 0; i < 2000; ++i) {
        const std::uint8_t control = octet() | kPrmMask;
        if (random() % 3 == 0) {
            const Bytes frame = Fixed(control, random() % 4 == 0 ? 2 : 1);
            stream.insert(stream.end(), frame.begin(), frame.end());
            continue;
        }
        Bytes asdu(random() % 12);
        for (auto& o : asdu) o = octet();
        if (asdu.size() > 3 && random() % 2 == 0) asdu[0] = kTypeInterrogation;
        const Bytes frame = BuildVariableFrame(control, 1, asdu);
        stream.insert(stream.end(), frame.begin(), frame.end());
    }
    std::size_t at = 0;
    while (at < stream.size()) {
        const std::size_t size = std::min<std::size_t>(stream.size() - at, 1 + random() % 40);
        for (const Frame& reply : station->Receive(std::span(stream).subspan(at, size)))
            ASSERT_FALSE(reply.empty());
        at += size;
        clock.Advance(random() % 2 == 0 ? 0 : kFramePauseMs + 1);
    }
    EXPECT_GT(station->Counters().framesHandled, 500);
}

TEST_F(StationTest, NoiseIsNotKeptForever) {
    // A false start whose frame can never complete does not swallow the next frame.
    EXPECT_TRUE(station->Receive(Hex("68 FF FF 68 00")).empty());
    EXPECT_EQ(AskFixed(kLinkStatusRequest), "10 0B 01 0C 16");
    EXPECT_EQ(AskFixed(kLinkStatusRequest), "10 0B 01 0C 16");
}

TEST_F(StationTest, DefaultIgnoresTheFrameCountBit) {
    Ask(Interrogation());
    EXPECT_EQ(AskFixed(kClass1Request)[13], '8');  // 68 0B 0B 68 28: each request served anew
    EXPECT_NE(AskFixed(kClass1Request), AskFixed(kClass1Request));
}

class StrictStationTest : public StationTest {
protected:
    void SetUp() override {
        StationConfig config = QuietConfig();
        config.strictFcb = true;
        Make(config);
    }
};

TEST_F(StrictStationTest, InterrogationConfirmedOnTheLinkThenQueued) {
    EXPECT_EQ(AskFixed(kResetLink), "10 00 01 01 16");
    EXPECT_EQ(Ask(Interrogation(kInterrogationControl | kFcb)), "10 20 01 21 16");
    EXPECT_EQ(AskFixed(kClass1Request), "68 09 09 68 28 01 64 01 07 01 00 00 14 AA 16");
    EXPECT_EQ(AskFixed(kClass1Request | kFcb)[24], '1');  // type 1: the telesignal reply
    EXPECT_EQ(station->Counters().repeats, 0);
}

TEST_F(StrictStationTest, UntoggledFrameCountBitGetsThePreviousReplyAgain) {
    AskFixed(kResetLink);
    // After a reset the next frame must carry FCB 1: 0 repeats the reset's acknowledgement.
    EXPECT_EQ(Ask(Interrogation(kInterrogationControl)), "10 00 01 01 16");
    EXPECT_EQ(station->Class1Waiting(), 0u);

    EXPECT_EQ(Ask(Interrogation(kInterrogationControl | kFcb)), "10 20 01 21 16");
    const std::string confirmation = AskFixed(kClass1Request);
    EXPECT_EQ(AskFixed(kClass1Request), confirmation);  // lost reply: sent again, nothing taken
    EXPECT_EQ(station->Class1Waiting(), 3u);
    EXPECT_NE(AskFixed(kClass1Request | kFcb), confirmation);
    EXPECT_EQ(station->Class1Waiting(), 2u);
    // Frames without FCV are outside the rule.
    EXPECT_EQ(AskFixed(kLinkStatusRequest), "10 2B 01 2C 16");
    EXPECT_EQ(station->Counters().repeats, 2);
}

TEST_F(StrictStationTest, DefaultMasterLoopsOnTheAcknowledgement) {
    // The master's default requests never toggle FCB: every interrogation
    // after the first gets the same acknowledgement, and no data is taken.
    EXPECT_EQ(AskFixed(kLinkStatusRequest), "10 0B 01 0C 16");
    for (int i = 0; i < 5; ++i) EXPECT_EQ(Ask(Interrogation()), "10 20 01 21 16");
    EXPECT_EQ(station->Class1Waiting(), 4u);
}

TEST(StationAsdu, TimeTagOfTheLocalTimeOfDay) {
    EXPECT_EQ(TimeTagOf(0).milliseconds, 0);
    const EventTimeTag tag = TimeTagOf(((23 * 60 + 59) * 60 + 59) * 1000LL + 999);
    EXPECT_EQ(tag.milliseconds, 59999);
    EXPECT_EQ(tag.minutes, 59);
}

TEST(BuildVariableFrame, ChecksumOverControlAddressAndAsdu) {
    const Bytes asdu{kTypeInterrogation, 1, 6, 1, 0, 0, 20};
    EXPECT_EQ(Text(BuildVariableFrame(0x53, 1, asdu)), "68 09 09 68 53 01 64 01 06 01 00 00 14 D4 16");
    EXPECT_EQ(BuildVariableFrame(0x08, 1, Bytes(253)).size(), 261u);
    EXPECT_THROW(BuildVariableFrame(0x08, 1, Bytes(254)), std::length_error);
}

TEST(PointPattern, SeedsGiveDifferentRepeatableValues) {
    int differing = 0;
    for (int point = 1; point <= 50; ++point) {
        EXPECT_EQ(InitialMeasuredValue(3, point), InitialMeasuredValue(3, point));
        EXPECT_LE(std::abs(InitialMeasuredValue(3, point)), kPatternValueLimit);
        differing += InitialMeasuredValue(3, point) != InitialMeasuredValue(4, point);
        const int chosen = EventPoint(3, point, 5);
        EXPECT_TRUE(chosen >= 1 && chosen <= 5);
    }
    EXPECT_GT(differing, 40);
}

}  // namespace
}  // namespace tc101
