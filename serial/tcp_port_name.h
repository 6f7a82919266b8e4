#pragma once

// Port names that stand for a serial device server's raw TCP port:
// "tcp:HOST:PORT" connects to one, "tcp-listen:HOST:PORT" (for the
// outstation) waits for a master there. HOST may be a name, an IPv4 address
// or an IPv6 address in brackets.

#include <optional>
#include <string>
#include <string_view>

namespace tc101 {

inline constexpr std::string_view kTcpConnectPrefix = "tcp:";
inline constexpr std::string_view kTcpListenPrefix = "tcp-listen:";

struct TcpEndpoint {
    bool listen = false;
    std::string host;
    std::string port;

    bool operator==(const TcpEndpoint&) const = default;
};

// True for a name with either prefix, well formed or not.
bool IsTcpPortName(std::string_view name);
// The endpoint; nothing for a name that is not a TCP port name. Throws
// ECommsError naming the fault for a prefixed name without host or port.
std::optional<TcpEndpoint> ParseTcpPortName(std::string_view name);

}  // namespace tc101
