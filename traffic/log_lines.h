#pragma once

// The texts of the traffic log, one function per kind of line, shared by the
// main window's log and the console master so both read alike.

#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tc101 {

// What each line's colour tells: banners, transmissions, receptions, accounts.
enum class LogColour : std::uint8_t { Black, Blue, Green, Red };

struct LogRgb {
    std::uint8_t red, green, blue;
};
LogRgb ColourRgb(LogColour colour);

// The requests the master sends on its own (the four standard ones and the
// reset of remote link of the standard link procedure).
enum class MasterRequest : std::uint8_t { LinkStatus, Class1, Class2, GeneralInterrogation, ResetRemoteLink };

// "hh:mm:ss:zzz" of the local time of day.
std::string TimeStamp(std::chrono::system_clock::time_point when);
// Two spaces and the stamp in parentheses, as every logged frame ends.
std::string StampSuffix(std::string_view stamp);

// "========总召1#========" and its siblings; the address is taken modulo 256,
// or modulo 65536 for a two-octet link address.
std::string RequestBanner(MasterRequest request, std::int64_t address, int linkOctets = 1);
// "========单点遥控选择1#========" and its siblings for a command step.
std::string CommandBanner(std::string_view typeName, std::string_view stepName, std::int64_t address,
                          int linkOctets = 1);
// "TX:" + hex text of the frame as sent + stamp suffix.
std::string RequestLine(std::span<const std::uint8_t> frame, std::string_view stamp);
// "========" + name + "========".
std::string SendListBanner(std::string_view name);
// "Tx:" + the stored content text, exactly as stored + stamp suffix.
std::string SendListLine(std::string_view content, std::string_view stamp);
// "Rx:" + hex text of the block + stamp suffix.
std::string ReceiveLine(std::span<const std::uint8_t> block, std::string_view stamp);

inline constexpr std::string_view kAnalysisBanner = "==========分析的报文==========";

}  // namespace tc101
