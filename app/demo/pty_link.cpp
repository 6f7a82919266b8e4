#include "app/demo/pty_link.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/eventfd.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace tc101::demo {

namespace {

constexpr std::size_t kChunk = 4096;
constexpr std::size_t kNameLength = 64;

[[noreturn]] void ThrowErrno(const char* what) { throw std::system_error(errno, std::generic_category(), what); }

}  // namespace

PtyLink::PtyLink() {
    try {
        for (End& end : ends_) {
            // Raw from the start: a fresh slave echoes and waits for newlines
            // until its port opens.
            termios raw{};
            ::cfmakeraw(&raw);
            if (::openpty(&end.master, &end.slave, nullptr, &raw, nullptr) != 0) ThrowErrno("openpty");
            ::fcntl(end.master, F_SETFD, FD_CLOEXEC);
            ::fcntl(end.slave, F_SETFD, FD_CLOEXEC);
            ::fcntl(end.master, F_SETFL, ::fcntl(end.master, F_GETFL) | O_NONBLOCK);
            char name[kNameLength] = {};
            if (::ptsname_r(end.master, name, sizeof name) != 0) ThrowErrno("ptsname_r");
            end.name = name;
        }
        stopEvent_ = ::eventfd(0, EFD_CLOEXEC);
        if (stopEvent_ < 0) ThrowErrno("eventfd");
        thread_ = std::thread([this] { Run(); });
    } catch (...) {
        Close();
        throw;
    }
}

PtyLink::~PtyLink() {
    const std::uint64_t one = 1;
    if (::write(stopEvent_, &one, sizeof one) < 0) {
        // Only a full counter fails, and that already wakes the thread.
    }
    thread_.join();
    Close();
}

void PtyLink::Close() {
    for (End& end : ends_) {
        if (end.master >= 0) ::close(end.master);
        if (end.slave >= 0) ::close(end.slave);
        end.master = end.slave = -1;
    }
    if (stopEvent_ >= 0) ::close(stopEvent_);
    stopEvent_ = -1;
}

void PtyLink::Run() {
    for (;;) {
        pollfd fds[] = {{ends_[0].master, POLLIN, 0}, {ends_[1].master, POLLIN, 0}, {stopEvent_, POLLIN, 0}};
        if (::poll(fds, 3, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[2].revents != 0) return;
        if ((fds[0].revents & POLLIN) != 0) Copy(ends_[0], ends_[1]);
        if ((fds[1].revents & POLLIN) != 0) Copy(ends_[1], ends_[0]);
    }
}

// What one side wrote goes to the other side's input. A side that reads
// nothing (its port closed) fills its queue; the rest is dropped as a line
// with nobody listening drops it.
void PtyLink::Copy(const End& from, const End& to) {
    std::uint8_t buffer[kChunk];
    const ssize_t got = ::read(from.master, buffer, sizeof buffer);
    if (got <= 0) return;
    ssize_t done = 0;
    while (done < got) {
        const ssize_t put = ::write(to.master, buffer + done, static_cast<std::size_t>(got - done));
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) break;
        done += put;
    }
    carried_ += done;
    dropped_ += got - done;
}

}  // namespace tc101::demo
