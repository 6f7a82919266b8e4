#pragma once

// The system calls of the serial component, and nothing else: the open tty
// with its saved state, eventfd signals, poll. Errors on open throw the
// user's ECommsError; everything after open reports by return value.

#include <linux/serial.h>
#include <poll.h>
#include <termios.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "serial/comm_settings.h"
#include "serial/line_events.h"
#include "serial/line_termios.h"

namespace tc101 {

// An owned file descriptor, closed once.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { Reset(); }

    int Get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    int Release();
    void Reset();

private:
    int fd_ = -1;
};

// A signal that stays raised once set (an eventfd), for poll().
class EventFd {
public:
    // Throws ECommsError("Unable to create event") when the kernel refuses.
    EventFd();
    int Fd() const { return fd_.Get(); }
    void Signal() noexcept;
    bool IsSignalled() const noexcept;
    // Lowers the signal again (for wake-ups that are consumed).
    void Clear() noexcept;

private:
    UniqueFd fd_;
};

// Outcome of one read or write: bytes moved, or the errno.
struct IoResult {
    std::size_t count = 0;
    int error = 0;  // 0, EAGAIN when nothing could move now, or the failure
};

// poll() that restarts after signals; the result as poll gives it.
int PollRetry(std::span<pollfd> fds, int timeoutMs) noexcept;

// An open tty, exclusively ours: the lock, TIOCEXCL and the termios it had
// are undone when it is destroyed.
class PosixPort {
public:
    // Opens the device non-blocking and exclusive. Throws ECommsError with
    // "Error opening serial port" (absent, in use, no rights), "File handle
    // is not a comm handle " (not a tty) or "Cannot setup comm buffer" (its
    // state can't be read). Opening raises DTR and RTS; `opening` sets them
    // with the first call after the lock, so only that short pulse remains.
    PosixPort(const std::string& devicePath, const ModemLines& opening);
    // A connected socket (a serial device server's TCP port) in place of a
    // tty: the line and modem calls then fail quietly, as on a device that
    // lacks them. Defined with the socket code.
    explicit PosixPort(UniqueFd connectedSocket);
    ~PosixPort();
    PosixPort(const PosixPort&) = delete;
    PosixPort& operator=(const PosixPort&) = delete;

    int Fd() const { return fd_.Get(); }

    // Framing, rate, flow control and the held modem lines. A setting the
    // device refuses is left as it was, without a report.
    void ApplyLine(const LineSettings& line) noexcept;
    // Discards the bytes waiting in the driver's input or output queue.
    void DiscardInput() noexcept;
    void DiscardOutput() noexcept;

    // Octets taken by write but not yet sent; nothing when the driver can't tell.
    std::optional<std::size_t> OutputQueued() const noexcept;

    IoResult Read(std::span<std::uint8_t> into) noexcept;
    IoResult Write(std::span<const std::uint8_t> from) noexcept;

    // Interrupt counters; nothing when the driver has none (ptys).
    std::optional<LineCounts> Counts() const noexcept;
    // TIOCM_ modem line bits; nothing when the driver has none.
    std::optional<int> ModemLineBits() const noexcept;

private:
    void SetModemLines(const ModemLines& lines) noexcept;
    // RTS raised only while sending, through the driver's RS-485 mode where
    // it has one; the mode it had is restored when the toggle is dropped.
    void ApplyRtsToggle(bool wanted) noexcept;

    UniqueFd fd_;
    bool socket_ = false;
    termios saved_{};
    std::optional<serial_rs485> savedRs485_;
};

// Raises the calling thread's scheduling priority by `steps` nice levels when
// the system allows it (it needs CAP_SYS_NICE); otherwise leaves it.
void RaiseThreadPriority(int steps) noexcept;

// Sets a rate that has no termios speed code (termios2 and BOTHER); false
// when the driver refuses it. Kept in its own file: the kernel's termios2
// header can't share a file with the C library's termios.
bool SetArbitraryBaudRate(int fd, std::uint32_t baudRate) noexcept;

}  // namespace tc101
