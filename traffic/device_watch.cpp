#include "traffic/device_watch.h"

#include <ctime>
#include <string_view>

#include "protocol/frame_layout.h"

namespace tc101 {

DeviceWatch::Change DeviceWatch::Silent() {
    ++silentRequests_;
    if (lost_ || silentRequests_ < lostAfter_) return Change::None;
    lost_ = true;
    return Change::Lost;
}

DeviceWatch::Change DeviceWatch::Answered(Time when) {
    lastAnswer_ = when;
    silentRequests_ = 0;
    if (!lost_) return Change::None;
    lost_ = false;
    return Change::Recovered;
}

namespace {
std::string DeviceLine(std::int64_t address, int linkOctets, std::string_view what) {
    return std::to_string(FieldValue(address, linkOctets)) + "# " + std::string(what);
}
}  // namespace

std::string NoReplyText(std::int64_t address, int linkOctets) { return DeviceLine(address, linkOctets, "超时无应答"); }
std::string DeviceLostText(std::int64_t address, int linkOctets) { return DeviceLine(address, linkOctets, "失联"); }
std::string DeviceBackText(std::int64_t address, int linkOctets) { return DeviceLine(address, linkOctets, "恢复应答"); }

std::string DeviceNote(const DeviceWatch& watch) {
    std::string note = "最后更新: ";
    if (const auto last = watch.LastAnswer()) {
        const std::time_t seconds = std::chrono::system_clock::to_time_t(*last);
        std::tm local{};
        localtime_r(&seconds, &local);
        char text[32];
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
        note += text;
    } else {
        note += "无";
    }
    if (watch.Lost()) note += "\n已失联: 连续 " + std::to_string(watch.SilentRequests()) + " 次请求无应答";
    return note;
}

}  // namespace tc101
