#pragma once

// The master side of a console run: the port with Comm1's properties, the
// receive path of the traffic log (Rx line, account, verdict), the senders
// and the poll decision, driven from the console's own thread.

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <span>
#include <string_view>

#include "app/console/console_log.h"
#include "app/console/interrupt_signals.h"
#include "protocol/decoding_settings.h"
#include "protocol/value_tables.h"
#include "serial/comm.h"
#include "serial/notice_queue.h"
#include "serial/port_trouble.h"
#include "serial/port_settings.h"
#include "traffic/poll_cycle.h"

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

    PollCycle& Cycle() { return cycle_; }

    // A master request as built from the settings: the octets the poll
    // decision puts on the line in one write, then the banner and "TX:" once
    // they have left (a red line instead when they could not).
    void SendRequest(MasterRequest request, std::span<const std::uint8_t> built, std::int64_t address);
    // A send-list message: its octets, then "Tx:" with the text as given once
    // they have left; false, with a red line, when they could not.
    bool SendMessage(std::string_view content, std::span<const std::uint8_t> octets);

    enum class PumpEnd { Deadline, Done, Interrupted, HungUp };
    // Handles received blocks until the deadline, until done() holds after a
    // notice, or until Ctrl-C or a vanished device ends the run.
    PumpEnd PumpUntil(Clock::time_point deadline, const std::function<bool()>& done = {});

private:
    void Received(const std::uint8_t* data, std::uint16_t count);
    // Queues the octets as one request and waits until they have left; false when they did not.
    bool Write(std::span<const std::uint8_t> octets);
    void ShowLineErrors(std::optional<std::string> line);

    ConsoleLog& log_;
    ValueTables& tables_;
    InterruptSignals& interrupts_;
    DecodingSettings decoding_;
    PollCycle cycle_;
    bool hungUp_ = false;
    LineErrorReport lineErrors_;
    // Declared last: its threads post to the queue until it is destroyed.
    NoticeQueue queue_;
    TComm comm_{queue_};
};

}  // namespace tc101::console
