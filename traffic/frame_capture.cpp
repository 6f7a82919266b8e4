#include "traffic/frame_capture.h"

namespace tc101 {

void FrameCapture::Add(CaptureDirection direction, std::span<const std::uint8_t> octets,
                         std::chrono::system_clock::time_point time) {
    if (octets.empty() || limit_ == 0) return;
    if (entries_.size() == limit_) entries_.pop_front();
    entries_.push_back({direction, time, {octets.begin(), octets.end()}});
}

}  // namespace tc101
