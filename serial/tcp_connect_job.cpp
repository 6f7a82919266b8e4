#include "serial/tcp_connect_job.h"

#include <exception>
#include <utility>

#include "serial/tcp_socket.h"

namespace tc101 {

TcpConnectJob::TcpConnectJob(std::string commName, std::chrono::milliseconds timeout, Done done)
    : thread_([commName = std::move(commName), timeout, done = std::move(done)] {
          Outcome outcome;
          try {
              outcome.socket = OpenTcpPort(commName, timeout);
          } catch (const std::exception& error) {
              outcome.error = error.what();
          }
          done(std::move(outcome));
      }) {}

TcpConnectJob::~TcpConnectJob() {
    if (thread_.joinable()) thread_.join();
}

}  // namespace tc101
