#include "serial/port_trouble.h"

namespace tc101 {

namespace {

void AddTo(LineErrorCounts& total, const LineErrorCounts& more) {
    total.parity += more.parity;
    total.framing += more.framing;
    total.overrun += more.overrun;
    total.breaks += more.breaks;
}

}  // namespace

std::string LineErrorText(const LineErrorCounts& c) {
    // An 8N1 line read as 8E1 shows only as garbage without this hint.
    return "线路错误: 校验错 " + std::to_string(c.parity) + ", 帧错 " + std::to_string(c.framing) + ", 溢出 " +
           std::to_string(c.overrun) + ", 中断信号 " + std::to_string(c.breaks) +
           " (请核对波特率、数据位、校验位和停止位)";
}

std::string WriteTimeoutText(std::uint32_t written, std::uint32_t requested) {
    return "写超时: " + std::to_string(requested) + " 个字节只写出 " + std::to_string(written) + " 个, 其余已丢弃";
}

std::string NotWrittenText(std::size_t requested) {
    return "未能写出: " + std::to_string(requested) + " 个字节没有全部发出 (写超时, 或线路被流控挡住)";
}

std::string FrameDelayReplacedText(std::int64_t stored, std::int64_t used) {
    return "帧中断延时 " + std::to_string(stored) + " 毫秒无效(只能收到满 2048 字节的块), 端口按 " +
           std::to_string(used) + " 毫秒打开";
}

std::optional<std::string> LineErrorReport::Add(const LineErrorCounts& counts, Clock::time_point now) {
    AddTo(held_, counts);
    holding_ = true;
    return Due(now);
}

std::optional<std::string> LineErrorReport::Due(Clock::time_point now) {
    if (!holding_ || (lastShown_ && now - *lastShown_ < kSpacing)) return std::nullopt;
    std::string line = LineErrorText(held_);
    held_ = {};
    holding_ = false;
    lastShown_ = now;
    return line;
}

std::optional<LineErrorReport::Clock::time_point> LineErrorReport::NextDue() const {
    if (!holding_) return std::nullopt;
    return lastShown_ ? *lastShown_ + kSpacing : Clock::time_point::min();
}

}  // namespace tc101
