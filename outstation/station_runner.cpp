#include "outstation/station_runner.h"

#include <optional>
#include <span>
#include <utility>

#include "outstation/station_line.h"
#include "serial/notice_queue.h"
#include "serial/tcp_socket.h"
#include "traffic/log_lines.h"

namespace tc101 {

namespace {

// How often the runner looks at its stop flag while the line is quiet.
constexpr std::chrono::milliseconds kStopPoll{20};

std::string StampNow() { return TimeStamp(std::chrono::system_clock::now()); }

}  // namespace

StationRunner::StationRunner(const StationConfig& config, PortSetup setup, LogSink log, StationClock clock)
    : config_(config), setup_(std::move(setup)), log_(std::move(log)), clock_(std::move(clock)) {}

StationRunner::~StationRunner() { Stop(); }

void StationRunner::Start() {
    if (thread_.joinable()) return;
    stop_ = false;
    hungUp_ = false;
    {
        const std::lock_guard lock(mutex_);
        ended_ = false;
    }
    std::promise<void> opened;
    std::future<void> result = opened.get_future();
    thread_ = std::thread([this, &opened] { Run(opened); });
    try {
        result.get();
    } catch (...) {
        thread_.join();
        throw;
    }
}

void StationRunner::Stop() {
    if (!thread_.joinable()) return;
    stop_ = true;
    thread_.join();
}

bool StationRunner::WaitEnded(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return endedSignal_.wait_for(lock, timeout, [this] { return ended_; });
}

StationCounters StationRunner::Counters() const {
    const std::lock_guard lock(mutex_);
    return counters_;
}

std::int64_t StationRunner::BlocksReceived() const {
    const std::lock_guard lock(mutex_);
    return blocksReceived_;
}

std::string StationRunner::Failure() const {
    const std::lock_guard lock(mutex_);
    return failure_;
}

std::int64_t StationRunner::FramesSent() const {
    const std::lock_guard lock(mutex_);
    return framesSent_;
}

void StationRunner::Run(std::promise<void>& opened) {
    NoticeQueue queue;
    TComm comm(queue);
    StationLine station(config_, clock_);
    // "tcp-listen:HOST:PORT": bound here, so a taken address fails the start;
    // each master that connects is served until it hangs up.
    std::optional<TcpListener> listener;
    try {
        if (setup_) setup_(comm);
        const std::optional<TcpEndpoint> endpoint = ParseTcpPortName(comm.CommName());
        if (endpoint && endpoint->listen) {
            listener.emplace(*endpoint);
        } else {
            comm.OpenPort();
        }
    } catch (...) {
        opened.set_exception(std::current_exception());
        return;
    }
    // The promise lives on Start's stack only until this.
    opened.set_value();

    comm.OnReceiveData = [&](const std::uint8_t* data, std::uint16_t count) {
        Log(ReceiveLine(std::span(data, count), StampNow()));
        const std::vector<Frame> replies = station.Receive(std::span(data, count));
        for (const Frame& reply : replies) {
            comm.SendBytes(reply.data(), static_cast<std::uint16_t>(reply.size()));
            Log(RequestLine(reply, StampNow()));
        }
        const std::lock_guard lock(mutex_);
        ++blocksReceived_;
        framesSent_ += static_cast<std::int64_t>(replies.size());
        counters_ = station.Counters();
    };
    comm.OnRequestHangup = [this] { hungUp_ = true; };
    // A balanced station speaks on its own: its link and data run on the clock.
    std::function<void()> idle;
    if (station.Balanced()) {
        idle = [&] {
            const std::vector<Frame> frames = station.Poll();
            for (const Frame& frame : frames) {
                comm.SendBytes(frame.data(), static_cast<std::uint16_t>(frame.size()));
                Log(RequestLine(frame, StampNow()));
            }
            const std::lock_guard lock(mutex_);
            framesSent_ += static_cast<std::int64_t>(frames.size());
            counters_ = station.Counters();
        };
    }

    if (!listener) {
        Serve(comm, queue, idle);
    } else {
        while (!stop_ && Failure().empty()) {
            std::optional<UniqueFd> connection = listener->Accept(kStopPoll);
            if (!connection) continue;
            try {
                comm.OpenPortOn(std::move(*connection));
            } catch (const std::exception& error) {
                const std::lock_guard lock(mutex_);
                failure_ = error.what();
                break;
            }
            Serve(comm, queue, idle);
            comm.ClosePort();
            // What the last master left queued is not for the next one.
            for (CommNotice stale; queue.WaitFor(std::chrono::milliseconds(0), stale);) {
            }
            hungUp_ = false;
        }
    }
    comm.ClosePort();
    const std::lock_guard lock(mutex_);
    ended_ = true;
    endedSignal_.notify_all();
}

void StationRunner::Serve(TComm& comm, NoticeQueue& queue, const std::function<void()>& idle) {
    while (!stop_ && !hungUp_) {
        if (idle) idle();
        CommNotice notice;
        if (!queue.WaitFor(kStopPoll, notice)) continue;
        try {
            comm.Deliver(std::move(notice));
        } catch (const std::exception& error) {
            // Nothing may leave this thread: the failure ends the run.
            const std::lock_guard lock(mutex_);
            failure_ = error.what();
            return;
        }
    }
}

void StationRunner::Log(const std::string& line) const {
    if (log_) log_(line);
}

}  // namespace tc101
