#pragma once

// The master station the window, the console and the demo all drive: the
// poll cycle, the requests built from a MasterSettings value, the frames put
// on a FramePort, each received block logged, analysed into the value tables
// and handed to the poll decision, send-list messages, and the port's trouble
// lines. It reports through a MasterSink; the owner keeps the port, the
// timers and the widgets. One thread drives it.

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "protocol/analyzer.h"
#include "protocol/balanced_link.h"
#include "protocol/decoding_settings.h"
#include "protocol/link_profile.h"
#include "protocol/poll_verdict.h"
#include "protocol/value_tables.h"
#include "serial/frame_port.h"
#include "serial/port_trouble.h"
#include "traffic/command_sequence.h"
#include "traffic/device_polls.h"
#include "traffic/frame_capture.h"
#include "traffic/link_watch.h"
#include "traffic/log_lines.h"
#include "traffic/master_settings.h"
#include "traffic/poll_cycle.h"
#include "traffic/send_message.h"

namespace tc101 {

// Where the station's traffic log goes: the window's log view, or the console.
class MasterSink {
public:
    virtual ~MasterSink() = default;
    // One line in its colour; trouble (line errors, frames that did not leave) is a red line.
    virtual void Line(LogColour colour, std::string_view text) = 0;
    // The analyser's account of a block: red lines, then one empty line.
    virtual void Account(const std::vector<std::string>& lines) = 0;
    // A received block's account with the block itself, for sinks that also
    // explain its frames; by default the account alone.
    virtual void ReceivedAccount(std::span<const std::uint8_t> block, std::chrono::system_clock::time_point when,
                                 const std::vector<std::string>& lines) {
        (void)block;
        (void)when;
        Account(lines);
    }
    // A frame that left, after its "TX:"/"Tx:" line; nothing by default.
    virtual void Sent(std::span<const std::uint8_t> frame, std::chrono::system_clock::time_point when) {
        (void)frame;
        (void)when;
    }
};

// When the lines of a frame sent are logged.
enum class SendLogging : std::uint8_t {
    // Once it is queued: the window, which shows a write time-out later, from the port's event.
    WhenQueued,
    // Once its octets have left the line (a wait); a frame that did not
    // leave gets a red line instead of "TX:"/"Tx:": the console.
    WhenLeft,
};

struct MasterStationOptions {
    SendLogging sendLogging = SendLogging::WhenQueued;
    HourClock hour = LocalHour;
    DecodingSettings decoding;
    LinkProfile profile;
};

class MasterStation {
public:
    using Clock = LineErrorReport::Clock;

    // The port, the sink and the tables must outlive the station.
    MasterStation(FramePort& port, MasterSink& sink, ValueTables& tables, MasterStationOptions options = {});

    // The settings requests are built from; the standard link switch goes to the poll decision.
    void SetSettings(const MasterSettings& settings);
    const MasterSettings& Settings() const { return settings_; }
    // How received values are decoded (the point editor stores new widths).
    void SetDecoding(const DecodingSettings& decoding) { options_.decoding = decoding; }
    const DecodingSettings& Decoding() const { return options_.decoding; }

    // The field sizes and object decoding frames are built and read with.
    void SetProfile(const LinkProfile& profile);
    const LinkProfile& Profile() const { return options_.profile; }
    // The poll decision: the owner's timers ask it whether a tick may send.
    PollCycle& Cycle() { return cycle_; }
    const PollCycle& Cycle() const { return cycle_; }

    // A command through its steps; it shares the ticks with polling: once
    // the link is up, every tick goes to the command (its frame, then class
    // 1 requests for the confirmations) until it ends. On a balanced link
    // each step goes as our user data once the link is up, the replies come
    // as the outstation's, and the step's time limit is due at
    // NextBalancedDue. A command started while one runs replaces it.
    void StartCommand(const CommandPlan& plan, std::int64_t address,
                      CommandSequence::Clock::time_point now = CommandSequence::Clock::now());
    bool CommandRunning() const { return command_.has_value(); }
    // The outcome of the last command that ended, once.
    std::optional<CommandOutcome> TakeCommandOutcome();
    // The step outcome lines logged since the last call (or the command's
    // start), for a view that shows them beside the log.
    std::vector<CommandLogLine> TakeCommandLines() { return std::exchange(commandLines_, {}); }

    // A master simulation tick: the request the last reply asked for, sent
    // to the device address; nothing when the tick waits or a command took it.
    std::optional<MasterRequest> SimulationTick(std::int64_t address);
    // A master simulation tick over the devices of a line, polled in turn
    // with link monitoring: a request the waiting rule gave up on logs
    // "N# 超时无应答", and a device lost or answering again is logged and drawn
    // so in the value tables. A command runs at the current device.
    std::optional<MasterRequest> PollTick(std::span<const std::int64_t> addresses);
    const DevicePolls& Polls() const { return polls_; }
    // The request built from the settings, put on the line as the poll
    // decision has it (FCB), then its banner and "TX:". False when the
    // frame did not leave (SendLogging::WhenLeft only).
    bool SendRequest(MasterRequest request, std::int64_t address);
    // A send-list message: its banner when it has a name, the octets, then
    // "Tx:" with its text. False when it did not leave (WhenLeft only).
    bool SendMessage(const OutgoingMessage& message, std::optional<std::string_view> name = std::nullopt);

    // A block the port delivered: "Rx:", the account, then the verdict for
    // the poll decision, which it returns. An empty block changes nothing.
    // `firstOctet`: when the port read its first octet (steady clock), for
    // the response time; none: now.
    std::optional<PollVerdict> Received(std::span<const std::uint8_t> block,
                                        std::chrono::system_clock::time_point when = std::chrono::system_clock::now(),
                                        std::optional<LinkWatch::Clock::time_point> firstOctet = std::nullopt);

    // The port opened with this stored frame delay: a red line when it opened with another.
    void PortOpened(std::int64_t storedFrameDelay);
    // Line errors as one red line a second at most: shown now when due, else
    // held until ShowDueLineErrors at NextLineErrorDue.
    void LineErrors(const LineErrorCounts& counts, Clock::time_point now);
    void ShowDueLineErrors(Clock::time_point now);
    std::optional<Clock::time_point> NextLineErrorDue() const { return lineErrors_.NextDue(); }
    // A frame the write time-outs ended.
    void WriteTimedOut(std::uint32_t written, std::uint32_t requested);

    // Every frame sent and block received, for a capture file.
    const FrameCapture& Capture() const { return capture_; }
    // Response times and link trouble; the port's word on when a frame left
    // goes to Link().Statistics().FrameLeft.
    LinkWatch& Link() { return link_; }
    const LinkWatch& Link() const { return link_; }

    // Balanced mode (the profile's): the simulation tick starts the link and,
    // once it is up, sends the general interrogation, then listens; the
    // outstation's frames are answered as they come. The link's timers
    // (repeats, loss, idle test) run at BalancedDue, due at NextBalancedDue.
    bool Balanced() const { return options_.profile.mode == LinkMode::Balanced; }
    void BalancedDue(Clock::time_point now);
    std::optional<Clock::time_point> NextBalancedDue() const;
    // Repeats, losses, duplicates and unexpected frames; nothing before the link started.
    const LinkCounters* BalancedCounters() const { return balanced_ ? &balanced_->Counters() : nullptr; }

private:
    // The octets in one request; with WhenLeft, whether they have left.
    // `awaitsAnswer`: the frame counts in the link statistics (not our own answers).
    bool Put(std::span<const std::uint8_t> octets, bool awaitsAnswer = true);
    // Logs and sends what the running command needs at this tick.
    void CommandTick(std::int64_t address, CommandSequence::Clock::time_point now);
    void SendCommandFrame(CommandStep step, std::int64_t address);
    void LogCommandLines(const std::vector<CommandLogLine>& lines);
    void EndCommandIfDone();
    void ShowLineErrors(const std::optional<std::string>& line);
    // The balanced procedure (master_station_balanced.cpp).
    void BalancedTick(std::int64_t address);
    // The running command's step as user data, once the link is up; its time limit.
    void BalancedCommand(CommandSequence::Clock::time_point now);
    bool BalancedRequest(MasterRequest request, std::int64_t address);
    std::optional<PollVerdict> BalancedReceived(std::span<const std::uint8_t> block,
                                                std::chrono::system_clock::time_point when);
    BalancedLink& EnsureBalancedLink(std::int64_t address, BalancedLink::Outputs& out);
    void CarryOut(const BalancedLink::Outputs& outputs);
    void SendLinkFrame(const LinkOutput& output);
    void NoteSilent(DevicePolls::Device& device);
    void NoteAnswer(DevicePolls::Device& device, std::chrono::system_clock::time_point when);
    void MarkDevice(const DevicePolls::Device& device);

    FramePort& port_;
    MasterSink& sink_;
    ValueTables& tables_;
    MasterStationOptions options_;
    MasterSettings settings_;
    PollCycle cycle_;
    LineErrorReport lineErrors_;
    FrameCapture capture_;
    std::optional<CommandSequence> command_;
    std::optional<CommandOutcome> commandOutcome_;
    LinkWatch link_;
    std::vector<CommandLogLine> commandLines_;
    std::optional<BalancedLink> balanced_;
    std::int64_t balancedAddress_ = 0;
    bool interrogateOnUp_ = false;
    bool balancedLost_ = false;
    // The banners of the command steps sent as user data, by their ASDU.
    std::deque<std::pair<std::vector<std::uint8_t>, std::string>> userDataBanners_;
    DevicePolls polls_;
};

}  // namespace tc101
