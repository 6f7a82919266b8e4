#include "traffic/log_lines.h"

#include <gtest/gtest.h>

#include <array>
#include <ctime>

namespace tc101 {
namespace {

TEST(LogLines, BannersKeepTheirOwnSpacingAndTakeTheAddressModulo256) {
    struct Case {
        MasterRequest request;
        std::int64_t address;
        const char* banner;
    };
    const Case cases[] = {
        {MasterRequest::GeneralInterrogation, 1, "========总召1#========"},
        {MasterRequest::LinkStatus, 1, "========召唤链路状态 1#========"},
        {MasterRequest::Class1, 1, "========召唤一级数据1#========"},
        {MasterRequest::Class2, 1, "========召唤二级数据 1#========"},
        {MasterRequest::ResetRemoteLink, 7, "========复位远方链路 7#========"},
        {MasterRequest::Class1, 257, "========召唤一级数据1#========"},
    };
    for (const auto& c : cases) EXPECT_EQ(RequestBanner(c.request, c.address), c.banner);
}

TEST(LogLines, FrameLinesCarryHexTextOrStoredTextAndTheStampSuffix) {
    const std::array<std::uint8_t, 5> frame{0x10, 0x49, 0x01, 0x4A, 0x16};
    const std::array<std::uint8_t, 1> ack{0xE5};
    EXPECT_EQ(RequestLine(frame, "09:15:02:117"), "TX:10 49 01 4A 16  (09:15:02:117)");
    EXPECT_EQ(ReceiveLine(ack, "09:15:02:117"), "Rx:E5  (09:15:02:117)");
    EXPECT_EQ(SendListLine("68 0c 0C 68", "00:00:00:000"), "Tx:68 0c 0C 68  (00:00:00:000)");
    EXPECT_EQ(SendListLine("", "00:00:00:000"), "Tx:  (00:00:00:000)");
    EXPECT_EQ(SendListBanner("总召1#"), "========总召1#========");
}

TEST(LogLines, StampIsLocalTimeOfDayWithMilliseconds) {
    std::tm local{};
    local.tm_year = 2026 - 1900;
    local.tm_mon = 11;
    local.tm_mday = 8;
    local.tm_hour = 9;
    local.tm_min = 5;
    local.tm_sec = 2;
    local.tm_isdst = -1;
    const auto when = std::chrono::system_clock::from_time_t(std::mktime(&local)) + std::chrono::milliseconds(7);
    EXPECT_EQ(TimeStamp(when), "09:05:02:007");
}

}  // namespace
}  // namespace tc101
