#include "traffic/pcapng.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace tc101 {
namespace {

using namespace std::string_literals;
using std::chrono::microseconds;
using Time = std::chrono::system_clock::time_point;

CaptureEntry Entry(CaptureDirection direction, std::int64_t micros, std::vector<std::uint8_t> octets) {
    return {direction, Time(microseconds(micros)), std::move(octets)};
}

const std::vector<CaptureEntry> kSession = {
    Entry(CaptureDirection::Sent, 1'765'184'102'117'000, {0x10, 0x49, 0x01, 0x4A, 0x16}),
    Entry(CaptureDirection::Received, 1'765'184'102'241'537, {0x10, 0x0B, 0x01, 0x0C, 0x16}),
    Entry(CaptureDirection::Sent, 1'765'184'103'000'001,
          {0x68, 0x09, 0x09, 0x68, 0x53, 0x01, 0x64, 0x01, 0x06, 0x01, 0x00, 0x00, 0x14, 0xD4, 0x16}),
    Entry(CaptureDirection::Received, 1'765'184'103'100'000, {0xE5}),
};

TEST(Pcapng, SessionSurvivesTheRoundTrip) {
    const std::string file = EncodePcapng(std::span<const CaptureEntry>(kSession), "/dev/ttyUSB0");
    EXPECT_EQ(file.size() % 4, 0u);
    EXPECT_EQ(DecodePcapng(file), kSession);
    EXPECT_TRUE(DecodePcapng(EncodePcapng(std::span<const CaptureEntry>(), "")).empty());
    // The RTAC record before each frame: big-endian seconds, microseconds, the event (1 sent, 2 received).
    const std::string firstRecord = "\x69\x36\x92\x66\x00\x01\xC9\x08\x01\x00\x00\x00\x10\x49"s;
    EXPECT_NE(file.find(firstRecord), std::string::npos);
}

TEST(Pcapng, FrameCaptureKeepsTheNewestWithinItsLimit) {
    FrameCapture capture(3);
    for (std::uint8_t i = 0; i < 5; ++i) capture.Add(CaptureDirection::Received, std::vector<std::uint8_t>{i});
    capture.Add(CaptureDirection::Sent, std::vector<std::uint8_t>{});  // nothing sent, nothing kept
    ASSERT_EQ(capture.Entries().size(), 3u);
    EXPECT_EQ(capture.Entries().front().octets, std::vector<std::uint8_t>{2});
    EXPECT_EQ(capture.Entries().back().octets, std::vector<std::uint8_t>{4});
}

TEST(Pcapng, DamagedFilesAreRefusedWithAReason) {
    const std::string good = EncodePcapng(std::span<const CaptureEntry>(kSession), "tcp:127.0.0.1:4001");
    std::string otherLinkType = good;
    otherLinkType[otherLinkType.find("\x01\x00\x00\x00"s, 28) + 8] = 1;  // the interface's link type
    std::string badTrailer = good;
    badTrailer[good.size() - 1] = 0x7F;
    const struct {
        const char* what;
        std::string bytes;
        const char* reason;
    } cases[] = {
        {"empty", "", "not a pcapng"},
        {"text", std::string(64, 'x'), "not a pcapng"},
        {"cut in a packet", good.substr(0, good.size() - 10), "damaged or cut short"},
        {"cut between blocks", good + "\x06\x00\x00", "cut short"},
        {"trailing length differs", badTrailer, "damaged or cut short"},
        {"another link type", otherLinkType, "link type is 1"},
    };
    for (const auto& c : cases) {
        try {
            DecodePcapng(c.bytes);
            ADD_FAILURE() << c.what << ": accepted";
        } catch (const CaptureFormatError& error) {
            EXPECT_NE(std::string(error.what()).find(c.reason), std::string::npos) << c.what << ": " << error.what();
        }
    }
}

// The README's tshark line decodes with the profile's field sizes.
TEST(Pcapng, ReadmeShowsTheProfilesTsharkLine) {
    std::ifstream readme(TC101_SOURCE_DIR "/README.md");
    std::stringstream text;
    text << readme.rdbuf();
    const std::string options = TsharkDecodeOptions(kProfileFieldSizes);
    EXPECT_EQ(options,
              "-d rtacser.data,iec60870_101 -o iec60870_101.linkaddr_len:1 -o iec60870_101.cot_len:1 "
              "-o iec60870_101.asdu_addr_len:1 -o iec60870_101.asdu_ioa_len:2");
    EXPECT_NE(text.str().find(options), std::string::npos);
}

}  // namespace
}  // namespace tc101
