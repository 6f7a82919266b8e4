// The transmit thread: writes the queued requests in order and says when the
// queue has run empty.

#include <array>
#include <cerrno>

#include "serial/port_session.h"

namespace tc101 {
namespace {

constexpr int kTransmitPriorityBoost = 1;

enum class WriteOutcome { Written, Stopped, Failed };

// Writes all of one request, waiting for room on the line or the stop signal.
WriteOutcome WriteRequest(PortSession& s, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const IoResult r = s.port.Write(bytes);
        if (r.error == 0 && r.count > 0) {
            bytes = bytes.subspan(r.count);
            continue;
        }
        if (r.error != EAGAIN) {
            return WriteOutcome::Failed;  // includes a write that moved nothing
        }
        std::array<pollfd, 2> fds{{{.fd = s.stop.Fd(), .events = POLLIN, .revents = 0},
                                   {.fd = s.port.Fd(), .events = POLLOUT, .revents = 0}}};
        if (PollRetry(fds, -1) < 0) {
            return WriteOutcome::Failed;
        }
        if (fds[0].revents != 0) {
            return WriteOutcome::Stopped;
        }
        if (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)) {
            return WriteOutcome::Failed;
        }
    }
    return WriteOutcome::Written;
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
        switch (WriteRequest(s, *request)) {
        case WriteOutcome::Written:
            requestCompleted = true;
            break;
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
    session.port.DiscardOutput();
}

}  // namespace tc101
