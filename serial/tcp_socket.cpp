#include "serial/tcp_socket.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>

#include "serial/comms_error.h"

namespace tc101 {

namespace {

using Clock = std::chrono::steady_clock;

struct AddressListFree {
    void operator()(addrinfo* list) const noexcept { ::freeaddrinfo(list); }
};
using AddressList = std::unique_ptr<addrinfo, AddressListFree>;

std::string Where(const TcpEndpoint& endpoint) { return endpoint.host + ":" + endpoint.port; }

AddressList Resolve(const TcpEndpoint& endpoint, const std::string& doing, int flags) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = flags;
    addrinfo* list = nullptr;
    const int error = ::getaddrinfo(endpoint.host.c_str(), endpoint.port.c_str(), &hints, &list);
    if (error != 0)
        throw ECommsError(doing + Where(endpoint) + ": " +
                          (error == EAI_SYSTEM ? std::strerror(errno) : ::gai_strerror(error)));
    return AddressList(list);
}

void NoDelay(int fd) {
    // One frame, one segment: the frame delay at the far end must not see it split or held back.
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

// The error of one non-blocking connect: 0 when connected.
int ConnectOne(const addrinfo& address, Clock::time_point deadline, UniqueFd& connected) {
    UniqueFd fd(::socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, address.ai_protocol));
    if (!fd) return errno;
    if (::connect(fd.Get(), address.ai_addr, address.ai_addrlen) != 0) {
        if (errno != EINPROGRESS) return errno;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd wait{fd.Get(), POLLOUT, 0};
        if (left <= 0 || PollRetry(std::span(&wait, 1), static_cast<int>(left)) == 0) return ETIMEDOUT;
        int error = 0;
        socklen_t size = sizeof error;
        if (::getsockopt(fd.Get(), SOL_SOCKET, SO_ERROR, &error, &size) != 0) return errno;
        if (error != 0) return error;
    }
    NoDelay(fd.Get());
    connected = std::move(fd);
    return 0;
}

}  // namespace

PosixPort::PosixPort(UniqueFd connectedSocket) : fd_(std::move(connectedSocket)), socket_(true) {}

UniqueFd ConnectTcp(const TcpEndpoint& endpoint, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    const std::string doing = "Cannot connect to ";
    const AddressList list = Resolve(endpoint, doing, AI_NUMERICSERV);
    int error = ETIMEDOUT;
    for (const addrinfo* address = list.get(); address != nullptr; address = address->ai_next) {
        UniqueFd connected;
        error = ConnectOne(*address, deadline, connected);
        if (error == 0) return connected;
        if (Clock::now() >= deadline) break;
    }
    throw ECommsError(doing + Where(endpoint) + ": " + std::strerror(error));
}

UniqueFd OpenTcpPort(const std::string& commName, std::chrono::milliseconds connectTimeout) {
    const std::optional<TcpEndpoint> endpoint = ParseTcpPortName(commName);
    if (!endpoint) throw ECommsError(kMsgOpenFailed);
    if (endpoint->listen) throw ECommsError("Only the outstation listens on " + commName);
    return ConnectTcp(*endpoint, connectTimeout);
}

TcpListener::TcpListener(const TcpEndpoint& endpoint) {
    const std::string doing = "Cannot listen on ";
    const AddressList list = Resolve(endpoint, doing, AI_NUMERICSERV | AI_PASSIVE);
    int error = 0;
    for (const addrinfo* address = list.get(); address != nullptr; address = address->ai_next) {
        UniqueFd fd(::socket(address->ai_family, address->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                             address->ai_protocol));
        if (!fd) {
            error = errno;
            continue;
        }
        const int on = 1;
        ::setsockopt(fd.Get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        if (::bind(fd.Get(), address->ai_addr, address->ai_addrlen) != 0 || ::listen(fd.Get(), 1) != 0) {
            error = errno;
            continue;
        }
        fd_ = std::move(fd);
        return;
    }
    throw ECommsError(doing + Where(endpoint) + ": " + std::strerror(error));
}

std::uint16_t TcpListener::Port() const {
    sockaddr_storage address{};
    socklen_t size = sizeof address;
    if (::getsockname(fd_.Get(), reinterpret_cast<sockaddr*>(&address), &size) != 0) return 0;
    if (address.ss_family == AF_INET6) return ntohs(reinterpret_cast<const sockaddr_in6*>(&address)->sin6_port);
    return ntohs(reinterpret_cast<const sockaddr_in*>(&address)->sin_port);
}

std::optional<UniqueFd> TcpListener::Accept(std::chrono::milliseconds wait) {
    pollfd ready{fd_.Get(), POLLIN, 0};
    if (PollRetry(std::span(&ready, 1), static_cast<int>(wait.count())) <= 0) return std::nullopt;
    UniqueFd connection(::accept4(fd_.Get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
    if (!connection) return std::nullopt;
    NoDelay(connection.Get());
    return connection;
}

}  // namespace tc101
