#include "traffic/log_lines.h"

#include <cstdio>
#include <ctime>

#include "protocol/frame_layout.h"
#include "protocol/hex_text.h"
#include "protocol/requests.h"

namespace tc101 {

LogRgb ColourRgb(LogColour colour) {
    switch (colour) {
        case LogColour::Black: return {0, 0, 0};
        case LogColour::Blue: return {0, 0, 255};
        case LogColour::Green: return {0, 128, 0};
        case LogColour::Red: return {255, 0, 0};
    }
    return {0, 0, 0};
}

std::string TimeStamp(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    localtime_r(&seconds, &local);
    const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch()).count() % 1000;
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d:%03d", local.tm_hour, local.tm_min, local.tm_sec,
                  static_cast<int>(millis < 0 ? millis + 1000 : millis));
    return text;
}

std::string StampSuffix(std::string_view stamp) {
    std::string suffix = "  (";
    suffix += stamp;
    suffix += ')';
    return suffix;
}

std::string RequestBanner(MasterRequest request, std::int64_t address, int linkOctets) {
    std::string_view name;
    switch (request) {
        case MasterRequest::LinkStatus: name = "召唤链路状态 "; break;
        case MasterRequest::Class1: name = "召唤一级数据"; break;
        case MasterRequest::Class2: name = "召唤二级数据 "; break;
        case MasterRequest::GeneralInterrogation: name = "总召"; break;
        case MasterRequest::ResetRemoteLink: name = "复位远方链路 "; break;
    }
    std::string banner = "========";
    banner += name;
    banner += std::to_string(FieldValue(address, linkOctets));
    banner += "#========";
    return banner;
}

std::string CommandBanner(std::string_view typeName, std::string_view stepName, std::int64_t address,
                          int linkOctets) {
    std::string banner = "========";
    banner += typeName;
    banner += stepName;
    banner += std::to_string(FieldValue(address, linkOctets));
    banner += "#========";
    return banner;
}

std::string RequestLine(std::span<const std::uint8_t> frame, std::string_view stamp) {
    return "TX:" + BytesToHexText(frame) + StampSuffix(stamp);
}

std::string SendListBanner(std::string_view name) {
    std::string banner = "========";
    banner += name;
    banner += "========";
    return banner;
}

std::string SendListLine(std::string_view content, std::string_view stamp) {
    std::string line = "Tx:";
    line += content;
    line += StampSuffix(stamp);
    return line;
}

std::string ReceiveLine(std::span<const std::uint8_t> block, std::string_view stamp) {
    return "Rx:" + BytesToHexText(block) + StampSuffix(stamp);
}

}  // namespace tc101
