// The receive thread: reads the port into blocks cut by the read time-outs,
// watches the line error and modem counters, and posts what it finds.

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <optional>

#include "serial/line_events.h"
#include "serial/port_session.h"
#include "serial/read_timing.h"

namespace tc101 {
namespace {

using Clock = std::chrono::steady_clock;

// Drivers report line errors and modem changes by counters, not by an event
// poll() can wait for: look at them this often while the port is quiet.
constexpr int kLineWatchMs = 20;
constexpr int kReceivePriorityBoost = 2;

enum PollSlot : std::size_t { kStopSlot, kWakeSlot, kPortSlot, kSlotCount };

class Receiver {
public:
    explicit Receiver(PortSession& session) : s_(session) {}

    void Run() {
        counts_ = s_.port.Counts();
        if (!counts_) {
            modemLines_ = s_.port.ModemLineBits();
        }
        StartRead();
        for (;;) {
            const auto now = Clock::now();
            const std::optional<std::chrono::nanoseconds> sinceLast =
                count_ > 0 ? std::optional(now - lastByte_) : std::nullopt;
            const ReadStep step = NextReadStep(s_.timeouts.Load(), count_, now - readStart_, sinceLast);
            if (step.complete) {
                DeliverBlock();
                StartRead();
                continue;
            }
            if (!WaitAndRead(step.waitMs)) {
                return;
            }
            WatchLine();
        }
    }

private:
    void StartRead() {
        count_ = 0;
        readStart_ = Clock::now();
    }

    void DeliverBlock() {
        if (count_ == 0) {
            return;  // a total time-out with nothing read: read again
        }
        std::vector<std::uint8_t> block(count_ + 1, 0);  // the bytes and a terminating zero
        std::copy_n(buffer_.begin(), count_, block.begin());
        s_.sink.Post(NotifyData{std::move(block), firstOctet_});
    }

    // Whole frames need not wait for the frame delay when the owner says so.
    void DeliverIfComplete() {
        const BlockEndCheck check = s_.blockEnd.Load();
        if (check && check(std::span<const std::uint8_t>(buffer_.data(), count_))) {
            DeliverBlock();
            StartRead();
        }
    }

    // The device is gone or failed: what was read still reaches the owner.
    bool Hangup() {
        DeliverBlock();
        s_.sink.Post(NotifyHangup{});
        return false;
    }

    // False when the thread should end.
    bool WaitAndRead(int waitMs) {
        const bool watching = counts_ || modemLines_;
        if (watching && (waitMs == ReadStep::kNoLimit || waitMs > kLineWatchMs)) {
            waitMs = kLineWatchMs;
        }
        std::array<pollfd, kSlotCount> fds{};
        fds[kStopSlot] = {.fd = s_.stop.Fd(), .events = POLLIN, .revents = 0};
        fds[kWakeSlot] = {.fd = s_.timeoutsChanged.Fd(), .events = POLLIN, .revents = 0};
        fds[kPortSlot] = {.fd = s_.port.Fd(), .events = POLLIN, .revents = 0};
        if (PollRetry(fds, waitMs) < 0) {
            return Hangup();
        }
        if (fds[kStopSlot].revents != 0) {
            return false;
        }
        if (fds[kWakeSlot].revents != 0) {
            s_.timeoutsChanged.Clear();
        }
        const short portEvents = fds[kPortSlot].revents;
        if (portEvents & POLLIN) {
            const IoResult r = s_.port.Read(std::span(buffer_).subspan(count_));
            if (r.error == EAGAIN) {
                return true;
            }
            // After a readable poll, 0 bytes means the other side is gone.
            if (r.error != 0 || r.count == 0) {
                return Hangup();
            }
            const std::size_t kept = s_.ignoreNullChar ? DropNulls(r.count) : r.count;
            if (kept > 0) {
                lastByte_ = Clock::now();
                if (count_ == 0) firstOctet_ = lastByte_;
                count_ += kept;
                DeliverIfComplete();
            }
            return true;
        }
        if (portEvents & (POLLHUP | POLLERR | POLLNVAL)) {
            return Hangup();
        }
        return true;
    }

    // Drops the null bytes among the `n` just read; returns how many are left.
    std::size_t DropNulls(std::size_t n) {
        const auto first = buffer_.begin() + static_cast<std::ptrdiff_t>(count_);
        const auto end = std::remove(first, first + static_cast<std::ptrdiff_t>(n), std::uint8_t{0});
        return static_cast<std::size_t>(end - first);
    }

    void WatchLine() {
        if (counts_) {
            const auto now = s_.port.Counts();
            if (!now) {
                return;
            }
            if (const std::uint32_t errors = ErrorMaskBetween(*counts_, *now)) {
                s_.sink.Post(NotifyError{errors, ErrorCountsBetween(*counts_, *now)});
            }
            if (const std::uint32_t modem = ModemMaskBetween(*counts_, *now)) {
                s_.sink.Post(NotifyModem{modem});
            }
            counts_ = now;
        } else if (modemLines_) {
            const auto now = s_.port.ModemLineBits();
            if (!now) {
                return;
            }
            if (const std::uint32_t modem = ModemMaskBetween(*modemLines_, *now)) {
                s_.sink.Post(NotifyModem{modem});
            }
            modemLines_ = now;
        }
    }

    PortSession& s_;
    std::array<std::uint8_t, kReadBlockSize> buffer_{};
    std::size_t count_ = 0;
    Clock::time_point readStart_{};
    Clock::time_point lastByte_{};
    Clock::time_point firstOctet_{};
    std::optional<LineCounts> counts_;
    std::optional<int> modemLines_;
};

}  // namespace

void RunReceiveThread(PortSession& session) noexcept {
    RaiseThreadPriority(kReceivePriorityBoost);
    try {
        Receiver(session).Run();
    } catch (...) {
        // Out of memory for a block: the owner hears of it like any failure.
        session.sink.Post(NotifyHangup{});
    }
    session.port.DiscardInput();
}

}  // namespace tc101
