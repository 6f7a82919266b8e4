#include "app/demo/display_probe.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace tc101::demo {

namespace {

constexpr int kX11TcpBase = 6000;
constexpr int kRemoteTimeoutMs = 1000;
constexpr char kX11SocketFolder[] = "/tmp/.X11-unix/X";

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

class Socket {
public:
    explicit Socket(int fd) : fd_(fd) {}
    ~Socket() {
        if (fd_ >= 0) ::close(fd_);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

// abstract: the Linux abstract name space, where X servers listen first.
bool ConnectLocal(const std::string& path, bool abstract) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::size_t offset = abstract ? 1 : 0;
    if (path.empty() || path.size() + offset >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path + offset, path.data(), path.size());
    const Socket socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (socket.Get() < 0) return false;
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + path.size() + (abstract ? 0 : 1));
    return ::connect(socket.Get(), reinterpret_cast<const sockaddr*>(&address), length) == 0;
}

bool ConnectRemote(const std::string& host, int port) {
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) return false;
    bool connected = false;
    for (const addrinfo* at = found; at && !connected; at = at->ai_next) {
        const Socket socket(::socket(at->ai_family, at->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, at->ai_protocol));
        if (socket.Get() < 0) continue;
        if (::connect(socket.Get(), at->ai_addr, at->ai_addrlen) == 0) {
            connected = true;
            break;
        }
        if (errno != EINPROGRESS) continue;
        pollfd waiting{socket.Get(), POLLOUT, 0};
        int error = 0;
        socklen_t size = sizeof error;
        connected = ::poll(&waiting, 1, kRemoteTimeoutMs) == 1 &&
                    ::getsockopt(socket.Get(), SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
    }
    ::freeaddrinfo(found);
    return connected;
}

// "[host]:number[.screen]", as X clients read DISPLAY.
bool X11Reachable(std::string_view display) {
    const std::size_t colon = display.rfind(':');
    if (colon == std::string_view::npos) return false;
    std::string host(display.substr(0, colon));
    std::string_view rest = display.substr(colon + 1);
    if (const std::size_t dot = rest.find('.'); dot != std::string_view::npos) rest = rest.substr(0, dot);
    if (rest.empty() || rest.find_first_not_of("0123456789") != std::string_view::npos || rest.size() > 5) return false;
    const int number = std::atoi(std::string(rest).c_str());
    if (host.ends_with(':')) return false;  // DECnet
    if (host.empty() || host == "unix") {
        const std::string path = kX11SocketFolder + std::string(rest);
        return ConnectLocal(path, true) || ConnectLocal(path, false);
    }
    if (host.front() == '/') return ConnectLocal(std::string(display), false);  // a socket path
    return ConnectRemote(host, kX11TcpBase + number);
}

bool WaylandReachable(const DisplayEnvironment& environment) {
    const std::string& name = environment.waylandDisplay;
    if (name.front() == '/') return ConnectLocal(name, false);
    if (environment.runtimeDir.empty()) return false;
    return ConnectLocal(environment.runtimeDir + "/" + name, false);
}

}  // namespace

DisplayEnvironment CurrentDisplayEnvironment() {
    return {Variable("DISPLAY"), Variable("WAYLAND_DISPLAY"), Variable("XDG_RUNTIME_DIR"), Variable("QT_QPA_PLATFORM")};
}

DisplayState ProbeDisplay(const DisplayEnvironment& environment) {
    // "xcb", "wayland;xcb", "offscreen": only the first two need a display.
    const std::string_view platform = environment.platform;
    const bool usesX11 = platform.empty() || platform.find("xcb") != std::string_view::npos;
    const bool usesWayland = platform.empty() || platform.find("wayland") != std::string_view::npos;
    if (!usesX11 && !usesWayland) return DisplayState::Reachable;
    const bool x11 = usesX11 && !environment.display.empty();
    const bool wayland = usesWayland && !environment.waylandDisplay.empty();
    if (!x11 && !wayland) return DisplayState::None;
    if ((wayland && WaylandReachable(environment)) || (x11 && X11Reachable(environment.display)))
        return DisplayState::Reachable;
    return DisplayState::Unreachable;
}

std::string DisplayNames(const DisplayEnvironment& environment) {
    std::string names;
    if (!environment.display.empty()) names = "DISPLAY=" + environment.display;
    if (!environment.waylandDisplay.empty())
        names += (names.empty() ? "" : ", ") + std::string("WAYLAND_DISPLAY=") + environment.waylandDisplay;
    return names;
}

}  // namespace tc101::demo
