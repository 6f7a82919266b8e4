#pragma once

// Puts an outstation on a serial port. The runner's own thread owns the
// port component: it opens the port, hands every received block to the
// station, sends the replies and reports the traffic as log lines; the
// component's receive and transmit threads do the line work.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <future>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "outstation/outstation.h"
#include "serial/comm.h"

namespace tc101 {

class NoticeQueue;

class StationRunner {
public:
    // Sets the port's name and line before it opens (on the runner's thread).
    using PortSetup = std::function<void(TComm&)>;
    // One traffic log line; called on the runner's thread, in order.
    using LogSink = std::function<void(const std::string& line)>;

    StationRunner(const StationConfig& config, PortSetup setup, LogSink log, StationClock clock = ReadSystemClock);
    // Stops and joins the thread.
    ~StationRunner();
    StationRunner(const StationRunner&) = delete;
    StationRunner& operator=(const StationRunner&) = delete;

    // Opens the port and starts serving; rethrows the open error here.
    void Start();
    // Closes the port and joins the thread; nothing when not running.
    void Stop();
    // Waits until the runner ended by itself (the port hung up) or the time
    // is up; true when it ended.
    bool WaitEnded(std::chrono::milliseconds timeout);
    bool HungUp() const { return hungUp_; }
    // What ended the run on the runner's thread, if anything did.
    std::string Failure() const;

    StationCounters Counters() const;
    std::int64_t BlocksReceived() const;
    std::int64_t FramesSent() const;

private:
    void Run(std::promise<void>& opened);
    void OnBlock(TComm& comm, const std::uint8_t* data, std::uint16_t count);
    // Hands the port's notices to it until stopped, hung up or failed.
    // Between notices, and at least every kStopPoll, idle() runs (the balanced station's timers).
    void Serve(TComm& comm, NoticeQueue& queue, const std::function<void()>& idle = {});
    void Log(const std::string& line) const;

    StationConfig config_;
    PortSetup setup_;
    LogSink log_;
    StationClock clock_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> hungUp_{false};

    mutable std::mutex mutex_;
    std::condition_variable endedSignal_;
    bool ended_ = false;
    StationCounters counters_;
    std::int64_t blocksReceived_ = 0;
    std::int64_t framesSent_ = 0;
    std::string failure_;
};

}  // namespace tc101
