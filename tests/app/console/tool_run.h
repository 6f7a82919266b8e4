#pragma once

// Runs the tc101tool program against a scripted peer on the other end of a
// pseudo-terminal pair: the peer answers each whole frame the program sends,
// while the program's output is collected. Everything is driven by poll() on
// the descriptors; the run ends when the program exits.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/pty_harness.h"

namespace tc101::testing_support {

struct ToolResult {
    int exitCode = -1;
    std::string out;
    std::string err;
    std::vector<Bytes> requests;  // the frames the program sent, in order
};

// The reply to one frame; empty for none.
using Peer = std::function<Bytes(const Bytes& frame)>;

// Cuts whole frames off the front of what the program sent so far.
inline std::vector<Bytes> TakeFrames(Bytes& pending) {
    std::vector<Bytes> frames;
    for (;;) {
        if (pending.empty()) return frames;
        std::size_t size = 1;
        if (pending[0] == 0x10) {
            size = 5;
        } else if (pending[0] == 0x68) {
            if (pending.size() < 2) return frames;
            size = std::size_t{pending[1]} + 6;
        }
        if (pending.size() < size) return frames;
        frames.emplace_back(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(size));
        pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(size));
    }
}

inline ToolResult RunTool(const std::vector<std::string>& args, PtyPair& pty, const Peer& peer,
                          const std::filesystem::path& workFolder,
                          const std::function<bool(const ToolResult&)>& interruptWhen = {},
                          std::chrono::milliseconds limit = std::chrono::seconds(30)) {
    int out[2];
    int err[2];
    if (::pipe(out) != 0 || ::pipe(err) != 0) throw std::runtime_error("pipe failed");
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::dup2(err[1], STDERR_FILENO);
        ::close(out[0]);
        ::close(err[0]);
        if (::chdir(workFolder.c_str()) != 0) ::_exit(126);
        std::vector<char*> argv{const_cast<char*>(TC101TOOL_PATH)};
        for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        ::execv(TC101TOOL_PATH, argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    ::close(err[1]);

    ToolResult result;
    Bytes pending;
    bool outOpen = true;
    bool errOpen = true;
    bool interrupted = false;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while ((outOpen || errOpen) && std::chrono::steady_clock::now() < deadline) {
        pollfd fds[3] = {{pty.Master(), POLLIN, 0}, {out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
        ::poll(fds, 3, 50);
        char buf[4096];
        if (fds[0].revents & POLLIN) {
            const ssize_t n = ::read(pty.Master(), buf, sizeof buf);
            if (n > 0) pending.insert(pending.end(), buf, buf + n);
            for (Bytes& frame : TakeFrames(pending)) {
                const Bytes reply = peer(frame);
                result.requests.push_back(std::move(frame));
                if (!reply.empty()) pty.Write(reply);
            }
        }
        if (interruptWhen && !interrupted && interruptWhen(result)) {
            ::kill(child, SIGINT);
            interrupted = true;
        }
        for (int i = 1; i <= 2; ++i) {
            if (!(fds[i].revents & (POLLIN | POLLHUP))) continue;
            const ssize_t n = ::read(fds[i].fd, buf, sizeof buf);
            bool& open = i == 1 ? outOpen : errOpen;
            if (n <= 0) {
                open = false;
            } else {
                (i == 1 ? result.out : result.err).append(buf, static_cast<std::size_t>(n));
            }
        }
    }
    if (outOpen || errOpen) ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(out[0]);
    ::close(err[0]);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// The output's lines with the stamp suffix "  (hh:mm:ss:zzz)" cut off.
inline std::vector<std::string> LinesWithoutStamps(const std::string& text) {
    static const std::regex stamp(R"(  \(\d\d:\d\d:\d\d:\d\d\d\)$)");
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(std::regex_replace(line, stamp, ""));
    return lines;
}

}  // namespace tc101::testing_support
