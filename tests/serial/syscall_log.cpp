// The interposed C library functions. No system header declares them here,
// so the definitions need not match their attribute lists.

#include "syscall_log.h"

#include <dlfcn.h>

#include <cstdarg>
#include <mutex>

namespace tc101::testing_support {
namespace {

struct Log {
    std::mutex mutex;
    std::string path;
    int fd = -1;
    std::vector<SysCall> calls;
};

Log& TheLog() {
    static Log log;
    return log;
}

template <typename F>
F Next(const char* name) {
    return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

void Record(int fd, SysCall call) {
    Log& log = TheLog();
    std::lock_guard lock(log.mutex);
    if (fd >= 0 && fd == log.fd) log.calls.push_back(std::move(call));
}

}  // namespace

void WatchDevice(const std::string& path) {
    Log& log = TheLog();
    std::lock_guard lock(log.mutex);
    log.path = path;
    log.fd = -1;
    log.calls.clear();
}

std::vector<SysCall> WatchedCalls() {
    Log& log = TheLog();
    std::lock_guard lock(log.mutex);
    return log.calls;
}

}  // namespace tc101::testing_support

using tc101::testing_support::Next;
using tc101::testing_support::Record;
using tc101::testing_support::SysCall;
using tc101::testing_support::TheLog;

// Values of the Linux ABI, spelled out because no header is included.
constexpr unsigned long kTiocmbis = 0x5416;
constexpr unsigned long kTiocmbic = 0x5417;
constexpr int kOCreat = 0100;

extern "C" {

int open(const char* path, int flags, ...) {
    unsigned mode = 0;
    if (flags & kOCreat) {
        va_list args;
        va_start(args, flags);
        mode = va_arg(args, unsigned);
        va_end(args);
    }
    const int fd = Next<int (*)(const char*, int, ...)>("open")(path, flags, mode);
    auto& log = TheLog();
    std::lock_guard lock(log.mutex);
    if (fd >= 0 && !log.path.empty() && log.path == path && log.fd < 0) {
        log.fd = fd;
        log.calls.push_back(SysCall{.name = "open"});
    }
    return fd;
}

int ioctl(int fd, unsigned long request, ...) {
    va_list args;
    va_start(args, request);
    void* arg = va_arg(args, void*);
    va_end(args);
    SysCall call{.name = "ioctl", .request = request};
    if ((request == kTiocmbis || request == kTiocmbic) && arg != nullptr) call.bits = *static_cast<int*>(arg);
    Record(fd, call);
    return Next<int (*)(int, unsigned long, ...)>("ioctl")(fd, request, arg);
}

int flock(int fd, int operation) {
    Record(fd, SysCall{.name = "flock"});
    return Next<int (*)(int, int)>("flock")(fd, operation);
}

int tcflush(int fd, int queue) {
    Record(fd, SysCall{.name = "tcflush"});
    return Next<int (*)(int, int)>("tcflush")(fd, queue);
}

int tcgetattr(int fd, void* t) {
    Record(fd, SysCall{.name = "tcgetattr"});
    return Next<int (*)(int, void*)>("tcgetattr")(fd, t);
}

int tcsetattr(int fd, int when, const void* t) {
    Record(fd, SysCall{.name = "tcsetattr"});
    return Next<int (*)(int, int, const void*)>("tcsetattr")(fd, when, t);
}

long write(int fd, const void* data, unsigned long count) {
    Record(fd, SysCall{.name = "write", .count = count});
    return Next<long (*)(int, const void*, unsigned long)>("write")(fd, data, count);
}

}  // extern "C"
