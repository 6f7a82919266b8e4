#pragma once

// What the worker threads hand to the owner's thread. The owner supplies a
// sink; the threads only post to it, and the owner passes each notice back to
// TComm::Deliver on its own thread, in the order posted.

#include <chrono>
#include <cstdint>
#include <variant>
#include <vector>

namespace tc101 {

// Line error bits, as the owner's error handler receives them.
inline constexpr std::uint32_t kCeRxOver = 0x01;
inline constexpr std::uint32_t kCeOverrun = 0x02;
inline constexpr std::uint32_t kCeRxParity = 0x04;
inline constexpr std::uint32_t kCeFrame = 0x08;
inline constexpr std::uint32_t kCeBreak = 0x10;

// Modem state bits: carrier detect changed, ring detected.
inline constexpr std::uint32_t kModemCarrierChanged = 8;
inline constexpr std::uint32_t kModemRing = 4;

// A received block: the bytes followed by one zero byte, so the handler may
// treat the buffer as terminated. It belongs to whoever holds the notice.
struct NotifyData {
    std::vector<std::uint8_t> block;
    // When the block's first octet was read (steady clock), for response times.
    std::chrono::steady_clock::time_point firstOctet{};
    std::uint16_t Count() const { return static_cast<std::uint16_t>(block.empty() ? 0 : block.size() - 1); }
};
// How many line errors of each kind the driver counted since the last notice.
struct LineErrorCounts {
    std::uint32_t parity = 0;
    std::uint32_t framing = 0;
    std::uint32_t overrun = 0;  // the UART's and the driver's buffer together
    std::uint32_t breaks = 0;
    bool operator==(const LineErrorCounts&) const = default;
};
struct NotifyError {
    std::uint32_t errorMask = 0;
    LineErrorCounts counts;
};
struct NotifyHangup {};
struct NotifyModem {
    std::uint32_t modemBits = 0;
};
struct NotifyTxEmpty {};
// A request the write time-outs ended before all of it reached the line;
// the rest of it is dropped and the queue goes on.
struct NotifyWriteTimeout {
    std::uint32_t written = 0;
    std::uint32_t requested = 0;
};

// A request that went out whole: when its last octet left the line (steady
// clock), from the driver's queue at the end of the write and the line's octet time.
struct NotifyFrameLeft {
    std::chrono::steady_clock::time_point at{};
    std::uint32_t octets = 0;
};

using CommNotice = std::variant<NotifyData, NotifyError, NotifyHangup, NotifyModem, NotifyTxEmpty, NotifyWriteTimeout,
                                NotifyFrameLeft>;

// Implemented by the owner. Post is called on the worker threads, possibly
// both at once; it must not block for long and must not throw.
class CommNoticeSink {
public:
    virtual ~CommNoticeSink() = default;
    virtual void Post(CommNotice notice) noexcept = 0;
};

}  // namespace tc101
