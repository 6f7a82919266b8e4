#include "serial/posix_port.h"

#include <fcntl.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "serial/comms_error.h"
#include "serial/line_termios.h"

namespace tc101 {

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
        Reset();
        fd_ = other.Release();
    }
    return *this;
}

int UniqueFd::Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

void UniqueFd::Reset() {
    if (fd_ >= 0) {
        ::close(fd_);  // the descriptor is gone whatever close reports
        fd_ = -1;
    }
}

EventFd::EventFd() : fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    if (!fd_) {
        throw ECommsError(kMsgEventFailed);
    }
}

void EventFd::Signal() noexcept {
    const std::uint64_t one = 1;
    // Only fails when the counter would overflow, and then it is raised already.
    [[maybe_unused]] const auto written = ::write(fd_.Get(), &one, sizeof one);
}

bool EventFd::IsSignalled() const noexcept {
    pollfd p{.fd = fd_.Get(), .events = POLLIN, .revents = 0};
    return PollRetry(std::span(&p, 1), 0) > 0;
}

void EventFd::Clear() noexcept {
    std::uint64_t value = 0;
    [[maybe_unused]] const auto read = ::read(fd_.Get(), &value, sizeof value);
}

int PollRetry(std::span<pollfd> fds, int timeoutMs) noexcept {
    for (;;) {
        const int r = ::poll(fds.data(), static_cast<nfds_t>(fds.size()), timeoutMs);
        if (r >= 0 || errno != EINTR) {
            return r;
        }
    }
}

std::string OpenFailedText(const std::string& devicePath, int error) {
    return std::string(kMsgOpenFailed) + ". " + devicePath + ": " + std::strerror(error);
}

PosixPort::PosixPort(const std::string& devicePath, const ModemLines& opening)
    : fd_(::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {
    if (!fd_) {
        throw ECommsError(OpenFailedText(devicePath, errno));
    }
    // The lock keeps out every other opener, root included, in this process
    // or another; TIOCEXCL also stops plain open() by other users' programs.
    // Taken first, so a refused opener never touches the holder's lines.
    if (::flock(fd_.Get(), LOCK_EX | LOCK_NB) != 0) {
        // flock says "would block"; the user's reason is that someone holds the port.
        throw ECommsError(OpenFailedText(devicePath, errno == EWOULDBLOCK ? EBUSY : errno));
    }
    // The driver raised DTR and RTS as it opened: a keyed RS-485 driver or
    // radio modem must not stay keyed while the rest of the set-up runs.
    SetModemLines(opening);
    if (!::isatty(fd_.Get())) {
        throw ECommsError(kMsgNotCommHandle);
    }
    if (::tcgetattr(fd_.Get(), &saved_) != 0) {
        throw ECommsError(kMsgSetupFailed);
    }
    ::ioctl(fd_.Get(), TIOCEXCL);
}

PosixPort::~PosixPort() {
    ApplyRtsToggle(false);
    ::tcsetattr(fd_.Get(), TCSANOW, &saved_);
    ::ioctl(fd_.Get(), TIOCNXCL);
}

void PosixPort::ApplyLine(const LineSettings& line) noexcept {
    termios current{};
    if (::tcgetattr(fd_.Get(), &current) != 0) {
        return;
    }
    termios wanted = MakeLineTermios(current, line);
    const auto speed = StandardSpeed(line.BaudRate);
    if (speed) {
        ::cfsetispeed(&wanted, *speed);
        ::cfsetospeed(&wanted, *speed);
    }
    if (::tcsetattr(fd_.Get(), TCSANOW, &wanted) != 0) {
        return;
    }
    if (!speed && line.BaudRate != 0) {
        SetArbitraryBaudRate(fd_.Get(), line.BaudRate);
    }
    // ptys have no modem lines: these fail there and that is fine.
    const ModemLines held = HeldModemLines(line);
    int dtr = TIOCM_DTR;
    int rts = TIOCM_RTS;
    ::ioctl(fd_.Get(), held.dtr ? TIOCMBIS : TIOCMBIC, &dtr);
    // Under RTS/CTS handshake and RTS toggle the driver drives RTS itself.
    ApplyRtsToggle(line.RtsControl == TRtsControl::RtsTransmissionAvailable);
    if (line.RtsControl != TRtsControl::RtsHandshake && !savedRs485_) {
        ::ioctl(fd_.Get(), held.rts ? TIOCMBIS : TIOCMBIC, &rts);
    }
}

void PosixPort::SetModemLines(const ModemLines& lines) noexcept {
    int dtr = TIOCM_DTR;
    int rts = TIOCM_RTS;
    ::ioctl(fd_.Get(), lines.dtr ? TIOCMBIS : TIOCMBIC, &dtr);
    ::ioctl(fd_.Get(), lines.rts ? TIOCMBIS : TIOCMBIC, &rts);
}

std::optional<std::size_t> PosixPort::OutputQueued() const noexcept {
    int queued = 0;
    if (::ioctl(fd_.Get(), TIOCOUTQ, &queued) != 0 || queued < 0) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(queued);
}

void PosixPort::ApplyRtsToggle(bool wanted) noexcept {
    if (wanted == savedRs485_.has_value()) {
        return;
    }
    if (!wanted) {
        ::ioctl(fd_.Get(), TIOCSRS485, &*savedRs485_);
        savedRs485_.reset();
        return;
    }
    serial_rs485 mode{};
    if (::ioctl(fd_.Get(), TIOCGRS485, &mode) != 0) {
        return;  // no RS-485 mode in this driver: RTS is held raised instead
    }
    const serial_rs485 before = mode;
    mode.flags |= SER_RS485_ENABLED | SER_RS485_RTS_ON_SEND;
    mode.flags &= ~static_cast<std::uint32_t>(SER_RS485_RTS_AFTER_SEND);
    if (::ioctl(fd_.Get(), TIOCSRS485, &mode) == 0) {
        savedRs485_ = before;
    }
}

void PosixPort::DiscardInput() noexcept {
    ::tcflush(fd_.Get(), TCIFLUSH);
}

void PosixPort::DiscardOutput() noexcept {
    ::tcflush(fd_.Get(), TCOFLUSH);
}

namespace {

// Runs a read or write until it is not interrupted by a signal.
template <typename Call>
IoResult RetryIo(Call call) noexcept {
    for (;;) {
        const ssize_t n = call();
        if (n >= 0) {
            return IoResult{.count = static_cast<std::size_t>(n), .error = 0};
        }
        if (errno != EINTR) {
            return IoResult{.count = 0, .error = errno == EWOULDBLOCK ? EAGAIN : errno};
        }
    }
}

}  // namespace

IoResult PosixPort::Read(std::span<std::uint8_t> into) noexcept {
    return RetryIo([&] { return ::read(fd_.Get(), into.data(), into.size()); });
}

IoResult PosixPort::Write(std::span<const std::uint8_t> from) noexcept {
    // A socket whose peer has gone must fail the write, not raise SIGPIPE.
    if (socket_) return RetryIo([&] { return ::send(fd_.Get(), from.data(), from.size(), MSG_NOSIGNAL); });
    return RetryIo([&] { return ::write(fd_.Get(), from.data(), from.size()); });
}

std::optional<LineCounts> PosixPort::Counts() const noexcept {
    serial_icounter_struct c{};
    if (::ioctl(fd_.Get(), TIOCGICOUNT, &c) != 0) {
        return std::nullopt;
    }
    auto u = [](int v) { return static_cast<std::uint32_t>(v); };
    return LineCounts{.frame = u(c.frame),
                      .parity = u(c.parity),
                      .overrun = u(c.overrun),
                      .brk = u(c.brk),
                      .bufOverrun = u(c.buf_overrun),
                      .dcd = u(c.dcd),
                      .rng = u(c.rng)};
}

std::optional<int> PosixPort::ModemLineBits() const noexcept {
    int bits = 0;
    if (::ioctl(fd_.Get(), TIOCMGET, &bits) != 0) {
        return std::nullopt;
    }
    return bits;
}

void RaiseThreadPriority(int steps) noexcept {
    const id_t self = static_cast<id_t>(::gettid());
    errno = 0;
    const int nice = ::getpriority(PRIO_PROCESS, self);
    if (errno == 0) {
        ::setpriority(PRIO_PROCESS, self, nice - steps);
    }
}

}  // namespace tc101
