#pragma once

// Connects to a serial device server on a thread of its own, so that a
// window stays responsive for the whole connect time-out.

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "serial/posix_port.h"

namespace tc101 {

class TcpConnectJob {
public:
    struct Outcome {
        UniqueFd socket;    // connected, when error is empty
        std::string error;  // the system's message otherwise
    };
    // Called once, on the job's thread: hand the outcome on, touch nothing else.
    using Done = std::function<void(Outcome)>;

    TcpConnectJob(std::string commName, std::chrono::milliseconds timeout, Done done);
    // Waits for the connect to end (at most the time-out).
    ~TcpConnectJob();

    TcpConnectJob(const TcpConnectJob&) = delete;
    TcpConnectJob& operator=(const TcpConnectJob&) = delete;

private:
    std::thread thread_;
};

}  // namespace tc101
