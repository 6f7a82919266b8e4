#pragma once

// The master station on a console: the port with Comm1's properties, its
// notices handled on the console's own thread, Ctrl-C and a vanished device.
// What is sent and received, and how it is logged, is the MasterStation's;
// the console logs a frame once it has left the line.

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "app/console/console_log.h"
#include "app/console/interrupt_signals.h"
#include "protocol/decoding_settings.h"
#include "protocol/value_tables.h"
#include "serial/comm.h"
#include "serial/notice_queue.h"
#include "serial/port_settings.h"
#include "traffic/master_station.h"

namespace tc101::console {

class ConsoleMaster {
public:
    using Clock = NoticeQueue::Clock;

    ConsoleMaster(ConsoleLog& log, ValueTables& tables, InterruptSignals& interrupts, DecodingSettings decoding);

    // Throws ECommsError when the port cannot be opened. A stored frame delay
    // that cannot work opens as the default, with a red line saying so.
    void Open(const PortSettings& settings);
    // Lets what is queued leave, closes the port and shows line errors still held back.
    void Close();

    MasterStation& Station() { return station_; }
    // Every frame sent and block received, for --pcap.
    const FrameCapture& Capture() const { return station_.Capture(); }
    const std::string& PortName() const { return portName_; }

    enum class PumpEnd { Deadline, Done, Interrupted, HungUp };
    // Handles received blocks until the deadline, until done() holds after a
    // notice, or until Ctrl-C or a vanished device ends the run.
    PumpEnd PumpUntil(Clock::time_point deadline, const std::function<bool()>& done = {});

private:
    InterruptSignals& interrupts_;
    bool hungUp_ = false;
    std::string portName_;
    // Declared after the sink and the tables, before the station: its
    // threads post to the queue until the component is destroyed.
    NoticeQueue queue_;
    TComm comm_{queue_};
    MasterStation station_;
};

}  // namespace tc101::console
