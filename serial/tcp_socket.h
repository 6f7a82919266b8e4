#pragma once

// The system calls of a serial device server link: connecting to a raw TCP
// port within a time limit, and listening for one (the outstation's side).
// A connected socket then serves as the port's descriptor.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "serial/posix_port.h"
#include "serial/tcp_port_name.h"

namespace tc101 {

// Connected, non-blocking, without send delay. Throws ECommsError with the
// system's message when no address answers within the timeout.
UniqueFd ConnectTcp(const TcpEndpoint& endpoint, std::chrono::milliseconds timeout);

// Opens a port named "tcp:HOST:PORT" (see ParseTcpPortName). Throws
// ECommsError: the system's message, or for "tcp-listen:" that only the
// outstation listens.
UniqueFd OpenTcpPort(const std::string& commName, std::chrono::milliseconds connectTimeout);

class TcpListener {
public:
    // Bound and listening. Throws ECommsError with the system's message.
    explicit TcpListener(const TcpEndpoint& endpoint);
    // The next connection, when one arrives within the wait.
    std::optional<UniqueFd> Accept(std::chrono::milliseconds wait);
    // The port it listens on (the one the system chose for port 0).
    std::uint16_t Port() const;

private:
    UniqueFd fd_;
};

}  // namespace tc101
