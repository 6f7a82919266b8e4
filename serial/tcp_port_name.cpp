#include "serial/tcp_port_name.h"

#include "serial/comms_error.h"

namespace tc101 {

bool IsTcpPortName(std::string_view name) {
    return name.starts_with(kTcpConnectPrefix) || name.starts_with(kTcpListenPrefix);
}

std::optional<TcpEndpoint> ParseTcpPortName(std::string_view name) {
    TcpEndpoint endpoint;
    std::string_view rest;
    if (name.starts_with(kTcpListenPrefix)) {
        endpoint.listen = true;
        rest = name.substr(kTcpListenPrefix.size());
    } else if (name.starts_with(kTcpConnectPrefix)) {
        rest = name.substr(kTcpConnectPrefix.size());
    } else {
        return std::nullopt;
    }
    const std::string usage = "A TCP port is named " + std::string(endpoint.listen ? kTcpListenPrefix : kTcpConnectPrefix) +
                              "HOST:PORT, not \"" + std::string(name) + "\"";
    const std::size_t colon = rest.rfind(':');
    if (colon == std::string_view::npos) throw ECommsError(usage);
    std::string_view host = rest.substr(0, colon);
    const std::string_view port = rest.substr(colon + 1);
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
    if (host.empty() || port.empty() || host.find_first_of("[]") != std::string_view::npos) throw ECommsError(usage);
    endpoint.host = host;
    endpoint.port = port;
    return endpoint;
}

}  // namespace tc101
