#pragma once

// What the component shares with its two threads while the port is open:
// the port, the stop signal, the transmit queue, the read time-outs and the
// owner's notice sink. The component owns it and joins both threads before
// it is destroyed.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <string>

#include "serial/comm_notice.h"
#include "serial/comm_settings.h"
#include "serial/posix_port.h"
#include "serial/tx_progress.h"
#include "serial/tx_queue.h"

namespace tc101 {

// The time-outs the receive thread reads at every step; changed by the owner.
class SharedTimeouts {
public:
    explicit SharedTimeouts(const CommTimeouts& initial) : timeouts_(initial) {}
    CommTimeouts Load() const {
        std::lock_guard lock(mutex_);
        return timeouts_;
    }
    void Store(const CommTimeouts& timeouts) {
        std::lock_guard lock(mutex_);
        timeouts_ = timeouts;
    }

private:
    mutable std::mutex mutex_;
    CommTimeouts timeouts_;
};

// Whether a block read so far may go up before the frame delay; empty: never.
using BlockEndCheck = std::function<bool(std::span<const std::uint8_t>)>;

// The check the receive thread asks after each read; changed by the owner.
class SharedBlockEnd {
public:
    explicit SharedBlockEnd(BlockEndCheck initial) : check_(std::move(initial)) {}
    BlockEndCheck Load() const {
        std::lock_guard lock(mutex_);
        return check_;
    }
    void Store(BlockEndCheck check) {
        std::lock_guard lock(mutex_);
        check_ = std::move(check);
    }

private:
    mutable std::mutex mutex_;
    BlockEndCheck check_;
};

struct PortSession {
    PortSession(const std::string& devicePath, const ModemLines& opening, const CommTimeouts& initialTimeouts,
                CommNoticeSink& noticeSink)
        : port(devicePath, opening), timeouts(initialTimeouts), sink(noticeSink) {}
    PortSession(UniqueFd connectedSocket, const CommTimeouts& initialTimeouts, CommNoticeSink& noticeSink)
        : port(std::move(connectedSocket)), timeouts(initialTimeouts), sink(noticeSink) {}

    PosixPort port;
    // Raised once to end both threads; stays raised.
    EventFd stop;
    // Wakes the receive thread when the time-outs change under a read.
    EventFd timeoutsChanged;
    TxQueue txQueue;
    TxProgress progress;
    SharedTimeouts timeouts;
    SharedBlockEnd blockEnd{BlockEndCheck{}};
    // One octet's time on the line in ns, for when a frame's last octet left.
    std::atomic<std::int64_t> octetNs = 0;
    // Null bytes are dropped on reception (there is no termios flag for it).
    std::atomic<bool> ignoreNullChar = false;
    // Set when closing found the queue gone to the line: nothing is discarded
    // then, since on a pty discarding would take back what the peer has not read yet.
    std::atomic<bool> drained = false;
    CommNoticeSink& sink;
};

void RunReceiveThread(PortSession& session) noexcept;
void RunTransmitThread(PortSession& session) noexcept;

// Lets what is queued leave the line: waits until every request is done and
// the driver's queue is empty, or nothing has moved for `stall`. True when
// all of it reached the line.
bool DrainTransmit(PortSession& session, std::chrono::milliseconds stall);

}  // namespace tc101
