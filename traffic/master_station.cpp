#include "traffic/master_station.h"

#include <utility>

#include "protocol/commands.h"
#include "protocol/frame_layout.h"
#include "protocol/requests.h"
#include "serial/port_settings.h"

namespace tc101 {

MasterStation::MasterStation(FramePort& port, MasterSink& sink, ValueTables& tables, MasterStationOptions options)
    : port_(port), sink_(sink), tables_(tables), options_(std::move(options)) {
    cycle_.SetLinkOctets(options_.profile.sizes.linkAddress);
    link_.SetLinkOctets(options_.profile.sizes.linkAddress);
    link_.SetBalanced(Balanced());
}

void MasterStation::SetProfile(const LinkProfile& profile) {
    if (!(profile == options_.profile)) balanced_.reset();
    options_.profile = profile;
    cycle_.SetLinkOctets(profile.sizes.linkAddress);
    link_.SetLinkOctets(profile.sizes.linkAddress);
    link_.SetBalanced(Balanced());
}

void MasterStation::SetSettings(const MasterSettings& settings) {
    settings_ = settings;
    cycle_.SetStandardLink(settings.standardLink);
    polls_.SetLostAfter(settings.lostAfter);
}

bool MasterStation::Put(std::span<const std::uint8_t> octets, bool awaitsAnswer) {
    // The whole frame in one request, so it leaves in one write.
    const auto queuedAt = LinkWatch::Clock::now();
    const bool queued = port_.SendBytes(octets.data(), static_cast<std::uint16_t>(octets.size()));
    if (options_.sendLogging == SendLogging::WhenQueued) {
        if (queued && awaitsAnswer) link_.Sent(octets, queuedAt, queuedAt);
        return true;
    }
    // Logged only once the octets have left: a line held by flow control
    // must not look as if the frame went out.
    const bool left = queued && port_.Drain();
    if (left && awaitsAnswer) link_.Sent(octets, queuedAt, LinkWatch::Clock::now());
    return left;
}

std::optional<MasterRequest> MasterStation::SimulationTick(std::int64_t address) {
    if (Balanced()) {
        BalancedTick(address);
        return std::nullopt;
    }
    const auto next = cycle_.NextRequest();
    const bool linkUp = next != MasterRequest::LinkStatus && next != MasterRequest::ResetRemoteLink;
    if (command_ && linkUp) {
        CommandTick(address, CommandSequence::Clock::now());
        return std::nullopt;
    }
    if (command_) {
        // Still bringing the link up: the step's time limit runs all the same.
        std::vector<CommandLogLine> lines;
        command_->NextAction(CommandSequence::Clock::now(), lines);
        LogCommandLines(lines);
        EndCommandIfDone();
    }
    const std::optional<MasterRequest> request = cycle_.SimulationTick();
    if (request) SendRequest(*request, address);
    return request;
}

std::optional<MasterRequest> MasterStation::PollTick(std::span<const std::int64_t> addresses) {
    // A balanced link has one other station, the first address.
    if (Balanced()) return addresses.empty() ? std::nullopt : SimulationTick(addresses.front());
    polls_.Follow(addresses, cycle_);
    if (polls_.Empty()) return std::nullopt;
    if (!command_) {
        if (DevicePolls::Device* silent = polls_.TakeTimedOut(cycle_)) NoteSilent(*silent);
        polls_.NextTurn(cycle_);
    }
    const bool commandTick = command_.has_value();
    const std::optional<MasterRequest> request = SimulationTick(polls_.Current().address);
    if (request && !commandTick) polls_.Polled();
    return request;
}

void MasterStation::NoteSilent(DevicePolls::Device& device) {
    const int linkOctets = options_.profile.sizes.linkAddress;
    sink_.Line(LogColour::Red, NoReplyText(device.address, linkOctets));
    if (device.watch.Silent() == DeviceWatch::Change::Lost)
        sink_.Line(LogColour::Red, DeviceLostText(device.address, linkOctets));
    // The tip counts the silent requests for as long as the device stays lost.
    if (device.watch.Lost()) MarkDevice(device);
}

void MasterStation::NoteAnswer(DevicePolls::Device& device, std::chrono::system_clock::time_point when) {
    if (device.watch.Answered(when) == DeviceWatch::Change::Recovered)
        sink_.Line(LogColour::Black, DeviceBackText(device.address, options_.profile.sizes.linkAddress));
    MarkDevice(device);
}

void MasterStation::MarkDevice(const DevicePolls::Device& device) {
    const auto address = static_cast<LinkAddress>(FieldValue(device.address, options_.profile.sizes.linkAddress));
    tables_.MarkDevice(address, device.watch.Lost(), DeviceNote(device.watch));
}

bool MasterStation::SendRequest(MasterRequest request, std::int64_t address) {
    if (Balanced()) return BalancedRequest(request, address);
    const std::vector<std::uint8_t> octets = cycle_.FrameToSend(BuildMasterRequest(request, settings_, address, options_.profile));
    const bool left = Put(octets);
    sink_.Line(LogColour::Black, RequestBanner(request, address, options_.profile.sizes.linkAddress));
    if (left) {
        const auto now = std::chrono::system_clock::now();
        capture_.Add(CaptureDirection::Sent, octets, now);
        sink_.Line(LogColour::Blue, RequestLine(octets, TimeStamp(now)));
        sink_.Sent(octets, now);
    } else {
        sink_.Line(LogColour::Red, NotWrittenText(octets.size()));
    }
    return left;
}

bool MasterStation::SendMessage(const OutgoingMessage& message, std::optional<std::string_view> name) {
    if (name) sink_.Line(LogColour::Black, SendListBanner(*name));
    if (!Put(message.octets)) {
        sink_.Line(LogColour::Red, NotWrittenText(message.octets.size()));
        return false;
    }
    cycle_.MessageSent();
    const auto now = std::chrono::system_clock::now();
    capture_.Add(CaptureDirection::Sent, message.octets, now);
    sink_.Line(LogColour::Blue, SendListLine(message.text, TimeStamp(now)));
    sink_.Sent(message.octets, now);
    return true;
}

std::optional<PollVerdict> MasterStation::Received(std::span<const std::uint8_t> block,
                                                   std::chrono::system_clock::time_point when,
                                                   std::optional<LinkWatch::Clock::time_point> firstOctet) {
    if (block.empty()) return std::nullopt;
    link_.Received(block, firstOctet.value_or(LinkWatch::Clock::now()));
    if (Balanced()) return BalancedReceived(block, when);
    capture_.Add(CaptureDirection::Received, block, when);
    sink_.Line(LogColour::Green, ReceiveLine(block, TimeStamp(when)));
    const FrameAnalysis analysis = AnalyzeFrames(block, tables_, options_.decoding, options_.profile, options_.hour);
    sink_.ReceivedAccount(block, when, analysis.lines);
    cycle_.ReplyArrived(block, analysis.verdict);
    if (DevicePolls::Device* answered = polls_.Answered()) NoteAnswer(*answered, when);
    if (command_) {
        std::vector<CommandLogLine> lines;
        const auto now = CommandSequence::Clock::now();
        for (const auto& asdu : AsdusOf(block, options_.profile)) command_->Received(asdu, now, lines);
        LogCommandLines(lines);
        EndCommandIfDone();
    }
    return analysis.verdict;
}

void MasterStation::StartCommand(const CommandPlan& plan, std::int64_t address,
                                 CommandSequence::Clock::time_point now) {
    command_.emplace(plan, CommonAddressOf(address, options_.profile), options_.profile, now);
    commandOutcome_.reset();
    commandLines_.clear();
}

std::optional<CommandOutcome> MasterStation::TakeCommandOutcome() { return std::exchange(commandOutcome_, std::nullopt); }

void MasterStation::CommandTick(std::int64_t address, CommandSequence::Clock::time_point now) {
    std::vector<CommandLogLine> lines;
    const bool maySend = cycle_.TickMaySend();
    const auto next = command_->NextAction(now, lines);
    LogCommandLines(lines);
    EndCommandIfDone();
    if (!next || !maySend) return;
    if (next->action == CommandSequence::Action::Class1) {
        cycle_.Sent();
        SendRequest(MasterRequest::Class1, address);
        return;
    }
    cycle_.CommandSent();
    SendCommandFrame(next->step, address);
    command_->CommandSent(now);
}

void MasterStation::SendCommandFrame(CommandStep step, std::int64_t address) {
    const CommandRequest& request = command_->Plan().request;
    const std::vector<std::uint8_t> octets =
        cycle_.FrameToSend(BuildCommandFrame(request, step, address, options_.profile));
    const bool left = Put(octets);
    sink_.Line(LogColour::Black, CommandBanner(CommandTypeName(request.type), CommandStepName(request.type, step),
                                               address, options_.profile.sizes.linkAddress));
    if (left) {
        const auto now = std::chrono::system_clock::now();
        capture_.Add(CaptureDirection::Sent, octets, now);
        sink_.Line(LogColour::Blue, RequestLine(octets, TimeStamp(now)));
    } else {
        sink_.Line(LogColour::Red, NotWrittenText(octets.size()));
    }
}

void MasterStation::LogCommandLines(const std::vector<CommandLogLine>& lines) {
    for (const auto& line : lines) sink_.Line(line.trouble ? LogColour::Red : LogColour::Black, line.text);
    commandLines_.insert(commandLines_.end(), lines.begin(), lines.end());
}

void MasterStation::EndCommandIfDone() {
    if (!command_ || !command_->Outcome()) return;
    commandOutcome_ = command_->Outcome();
    command_.reset();
}

void MasterStation::PortOpened(std::int64_t storedFrameDelay) {
    // A port opened again starts a balanced link from its initialisation.
    balanced_.reset();
    if (!FrameDelayUsable(storedFrameDelay))
        sink_.Line(LogColour::Red, FrameDelayReplacedText(storedFrameDelay, UsableFrameDelay(storedFrameDelay)));
}

void MasterStation::LineErrors(const LineErrorCounts& counts, Clock::time_point now) {
    ShowLineErrors(lineErrors_.Add(counts, now));
}

void MasterStation::ShowDueLineErrors(Clock::time_point now) { ShowLineErrors(lineErrors_.Due(now)); }

void MasterStation::ShowLineErrors(const std::optional<std::string>& line) {
    if (line) sink_.Line(LogColour::Red, *line);
}

void MasterStation::WriteTimedOut(std::uint32_t written, std::uint32_t requested) {
    sink_.Line(LogColour::Red, WriteTimeoutText(written, requested));
}

}  // namespace tc101
