#pragma once

// The frames of a session as they went over the line, for a capture file:
// each frame sent and each block received with its direction and moment.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>
#include <vector>

namespace tc101 {

enum class CaptureDirection : std::uint8_t { Sent, Received };

struct CaptureEntry {
    CaptureDirection direction = CaptureDirection::Sent;
    std::chrono::system_clock::time_point time;
    std::vector<std::uint8_t> octets;

    bool operator==(const CaptureEntry&) const = default;
};

class FrameCapture {
public:
    // About an hour of polling at a 20 ms tick; the oldest entries go first.
    static constexpr std::size_t kDefaultLimit = 400'000;

    explicit FrameCapture(std::size_t limit = kDefaultLimit) : limit_(limit) {}

    void Add(CaptureDirection direction, std::span<const std::uint8_t> octets,
             std::chrono::system_clock::time_point time = std::chrono::system_clock::now());
    const std::deque<CaptureEntry>& Entries() const { return entries_; }
    bool Empty() const { return entries_.empty(); }

private:
    std::size_t limit_;
    std::deque<CaptureEntry> entries_;
};

}  // namespace tc101
