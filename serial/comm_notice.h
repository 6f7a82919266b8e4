#pragma once

// What the worker threads hand to the owner's thread. The owner supplies a
// sink; the threads only post to it, and the owner passes each notice back to
// TComm::Deliver on its own thread, in the order posted.

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
    std::uint16_t Count() const { return static_cast<std::uint16_t>(block.empty() ? 0 : block.size() - 1); }
};
struct NotifyError {
    std::uint32_t errorMask = 0;
};
struct NotifyHangup {};
struct NotifyModem {
    std::uint32_t modemBits = 0;
};
struct NotifyTxEmpty {};

using CommNotice = std::variant<NotifyData, NotifyError, NotifyHangup, NotifyModem, NotifyTxEmpty>;

// Implemented by the owner. Post is called on the worker threads, possibly
// both at once; it must not block for long and must not throw.
class CommNoticeSink {
public:
    virtual ~CommNoticeSink() = default;
    virtual void Post(CommNotice notice) noexcept = 0;
};

}  // namespace tc101
