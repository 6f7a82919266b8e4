// The transmit thread: writes the queued requests in order, each with as few
// writes as the driver allows (one for a frame that fits its queue), ends a
// request that the write time-outs run out on, and says when the queue has
// run empty.

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <climits>
#include <optional>

#include "serial/port_session.h"
#include "serial/write_timing.h"

namespace tc101 {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kTransmitPriorityBoost = 1;
// The driver says nothing when its queue has run empty: look this often
// while a time-out waits for the octets to leave.
constexpr int kSentPollMs = 2;

enum class WriteOutcome { Written, TimedOut, Stopped, Failed };

// Milliseconds for poll() until the deadline; -1 without one.
int PollTimeout(const std::optional<Clock::time_point>& deadline) {
    if (!deadline) return -1;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now()).count();
    return static_cast<int>(std::clamp<std::int64_t>(left, 0, INT_MAX));
}

class RequestWriter {
public:
    RequestWriter(PortSession& s, std::span<const std::uint8_t> bytes) : s_(s), bytes_(bytes) {
        if (const auto limit = WriteTimeLimit(s.timeouts.Load(), bytes.size())) deadline_ = Clock::now() + *limit;
    }

    WriteOutcome Write() {
        std::span<const std::uint8_t> left = bytes_;
        while (!left.empty()) {
            const IoResult r = s_.port.Write(left);
            if (r.error == 0 && r.count > 0) {
                left = left.subspan(r.count);
                taken_ += r.count;
                s_.progress.Moved(r.count);
                continue;
            }
            if (r.error != EAGAIN) {
                return WriteOutcome::Failed;  // includes a write that moved nothing
            }
            std::array<pollfd, 2> fds{{{.fd = s_.stop.Fd(), .events = POLLIN, .revents = 0},
                                       {.fd = s_.port.Fd(), .events = POLLOUT, .revents = 0}}};
            const int ready = PollRetry(fds, PollTimeout(deadline_));
            if (ready < 0) {
                return WriteOutcome::Failed;
            }
            if (ready == 0) {
                return WriteOutcome::TimedOut;
            }
            if (fds[0].revents != 0) {
                return WriteOutcome::Stopped;
            }
            if (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)) {
                return WriteOutcome::Failed;
            }
        }
        // With a time-out the request counts as written once it has left the
        // driver's queue, so a line held by CTS or XOFF times out here too.
        return deadline_ ? WaitSent() : WriteOutcome::Written;
    }

    std::size_t Taken() const { return taken_; }
    // Octets that reached the line (taken by the driver and no longer in its queue).
    std::size_t Sent() const {
        const std::size_t queued = s_.port.OutputQueued().value_or(0);
        return taken_ - std::min(queued, taken_);
    }

private:
    WriteOutcome WaitSent() {
        for (;;) {
            if (s_.port.OutputQueued().value_or(0) == 0) {
                return WriteOutcome::Written;
            }
            const int left = PollTimeout(deadline_);
            if (left == 0) {
                return WriteOutcome::TimedOut;
            }
            pollfd stop{.fd = s_.stop.Fd(), .events = POLLIN, .revents = 0};
            if (PollRetry(std::span(&stop, 1), std::min(left, kSentPollMs)) != 0) {
                return WriteOutcome::Stopped;
            }
        }
    }

    PortSession& s_;
    std::span<const std::uint8_t> bytes_;
    std::optional<Clock::time_point> deadline_;
    std::size_t taken_ = 0;
};

// Now, plus the octets still in the driver's queue at the line's pace: the
// driver says nothing when its last octet has gone.
Clock::time_point LastOctetLeft(PortSession& s) {
    const auto now = Clock::now();
    const std::size_t queued = s.port.OutputQueued().value_or(0);
    return now + std::chrono::nanoseconds(static_cast<std::int64_t>(queued) * s.octetNs.load());
}

// Ends when stopped (quietly) or after a failure (with a hang-up notice).
void TransmitLoop(PortSession& s) {
    // Set at start, so the first idle moment after opening is reported too.
    bool requestCompleted = true;
    for (;;) {
        auto request = s.txQueue.TryPop();
        if (!request) {
            if (requestCompleted) {
                s.sink.Post(NotifyTxEmpty{});
                requestCompleted = false;
            }
            std::array<pollfd, 2> fds{{{.fd = s.stop.Fd(), .events = POLLIN, .revents = 0},
                                       {.fd = s.txQueue.WakeFd(), .events = POLLIN, .revents = 0}}};
            if (PollRetry(fds, -1) < 0) {
                s.sink.Post(NotifyHangup{});
                return;
            }
            if (fds[0].revents != 0) {
                return;
            }
            continue;
        }
        if (s.stop.IsSignalled()) {
            return;
        }
        RequestWriter writer(s, *request);
        switch (writer.Write()) {
        case WriteOutcome::Written:
            s.sink.Post(NotifyFrameLeft{.at = LastOctetLeft(s), .octets = static_cast<std::uint32_t>(request->size())});
            requestCompleted = true;
            s.progress.Finished(request->size());
            break;
        case WriteOutcome::TimedOut: {
            // As a timed-out write does: what did not leave is not sent later.
            const std::size_t sent = writer.Sent();
            // Only while some of it waits in the driver: on a pty a discard
            // would also take back earlier frames the peer has not read.
            if (sent < writer.Taken()) {
                s.port.DiscardOutput();
            }
            requestCompleted = true;
            s.sink.Post(NotifyWriteTimeout{.written = static_cast<std::uint32_t>(sent),
                                           .requested = static_cast<std::uint32_t>(request->size())});
            s.progress.Finished(request->size(), request->size() - sent);
            break;
        }
        case WriteOutcome::Stopped:
            return;
        case WriteOutcome::Failed:
            s.sink.Post(NotifyHangup{});
            return;
        }
    }
}

}  // namespace

void RunTransmitThread(PortSession& session) noexcept {
    RaiseThreadPriority(kTransmitPriorityBoost);
    try {
        TransmitLoop(session);
    } catch (...) {
        session.sink.Post(NotifyHangup{});
    }
    session.txQueue.Close();
    if (!session.drained) {
        session.port.DiscardOutput();
    }
    session.progress.Ended();
}

}  // namespace tc101
