#pragma once

// The system calls the code under test makes on one tty, seen by defining
// the C library's functions in the test program itself: the static libraries
// bind to these, which record and pass the call on. Only for the test
// program that links syscall_log.cpp.

#include <cstddef>
#include <string>
#include <vector>

namespace tc101::testing_support {

struct SysCall {
    std::string name;          // "open", "flock", "ioctl", "write", "tcflush", ...
    unsigned long request = 0;  // ioctl: the request
    int bits = 0;               // ioctl TIOCMBIS/TIOCMBIC: the line bits
    std::size_t count = 0;      // write: the octets asked for
};

// Starts recording the calls on the descriptor that opens `path` next.
void WatchDevice(const std::string& path);
// The calls recorded so far, from the open on.
std::vector<SysCall> WatchedCalls();

}  // namespace tc101::testing_support
