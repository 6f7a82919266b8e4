// The master station's balanced half: the link is a BalancedLink; this file
// feeds it the ticks, the requests by hand and the frames received, and puts
// on the line and in the log what it decides.

#include <algorithm>
#include <string>

#include "protocol/commands.h"
#include "protocol/frame_layout.h"
#include "protocol/frame_search.h"
#include "protocol/hex_text.h"
#include "traffic/master_station.h"

namespace tc101 {

namespace {

std::int64_t SteadyMs(MasterStation::Clock::time_point now) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
}

// Frames without a link address still name the device in the log.
int NamedOctets(const LinkProfile& profile) { return std::max(1, profile.sizes.linkAddress); }

std::string DeviceText(std::int64_t address, const LinkProfile& profile) {
    return std::to_string(FieldValue(address, NamedOctets(profile))) + "#";
}

// The ASDU of a variable frame built by the request builders.
std::vector<std::uint8_t> AsduOf(const std::vector<std::uint8_t>& frame, const LinkProfile& profile) {
    const auto from = static_cast<std::size_t>(LayoutOf(profile.sizes).varType);
    if (frame.size() < from + 2) return {};
    return {frame.begin() + static_cast<std::ptrdiff_t>(from), frame.end() - 2};
}

}  // namespace

BalancedLink& MasterStation::EnsureBalancedLink(std::int64_t address, BalancedLink::Outputs& out) {
    if (!balanced_ || balancedAddress_ != address) {
        balanced_.emplace(MasterLinkConfig(static_cast<std::uint32_t>(address), options_.profile));
        balancedAddress_ = address;
        balancedLost_ = false;
        balanced_->Start(SteadyMs(Clock::now()), out);
    }
    return *balanced_;
}

void MasterStation::BalancedTick(std::int64_t address) {
    // A command's ticks do not make the simulation's interrogation.
    if (!command_) interrogateOnUp_ = true;
    BalancedLink::Outputs out;
    const bool fresh = !balanced_ || balancedAddress_ != address;
    BalancedLink& link = EnsureBalancedLink(address, out);
    if (!fresh) link.Tick(SteadyMs(Clock::now()), out);
    CarryOut(out);
    BalancedCommand(Clock::now());
}

void MasterStation::BalancedDue(Clock::time_point now) {
    if (!balanced_) return;
    BalancedLink::Outputs out;
    balanced_->Tick(SteadyMs(now), out);
    CarryOut(out);
    BalancedCommand(now);
}

std::optional<MasterStation::Clock::time_point> MasterStation::NextBalancedDue() const {
    if (!balanced_) return std::nullopt;
    std::optional<Clock::time_point> next;
    if (const auto due = balanced_->NextDue()) next = Clock::time_point(std::chrono::milliseconds(*due));
    if (command_ && (!next || command_->Deadline() < *next)) next = command_->Deadline();
    return next;
}

void MasterStation::BalancedCommand(CommandSequence::Clock::time_point now) {
    if (!command_) return;
    std::vector<CommandLogLine> lines;
    const auto next = command_->NextAction(now, lines);
    LogCommandLines(lines);
    EndCommandIfDone();
    // Once sent, a step waits: its replies come as the outstation's user data.
    if (!next || next->action != CommandSequence::Action::Command || !balanced_ || !balanced_->Up()) return;
    const CommandRequest& request = command_->Plan().request;
    std::vector<std::uint8_t> asdu =
        AsduOf(BuildCommandFrame(request, next->step, balancedAddress_, options_.profile), options_.profile);
    constexpr std::size_t kBannersKept = 4;
    if (userDataBanners_.size() >= kBannersKept) userDataBanners_.pop_front();
    userDataBanners_.emplace_back(asdu, CommandBanner(CommandTypeName(request.type),
                                                      CommandStepName(request.type, next->step), balancedAddress_,
                                                      NamedOctets(options_.profile)));
    BalancedLink::Outputs out;
    balanced_->SendUserData(asdu, SteadyMs(Clock::now()), out);
    command_->CommandSent(now);
    CarryOut(out);
}

bool MasterStation::BalancedRequest(MasterRequest request, std::int64_t address) {
    BalancedLink::Outputs out;
    const bool fresh = !balanced_ || balancedAddress_ != address;
    BalancedLink& link = EnsureBalancedLink(address, out);
    const std::int64_t now = SteadyMs(Clock::now());
    switch (request) {
        case MasterRequest::LinkStatus:
            if (!fresh) link.RequestLinkStatus(now, out);
            break;
        case MasterRequest::GeneralInterrogation:
            // Sent once the link is up and what went before is confirmed.
            link.SendUserData(AsduOf(BuildMasterRequest(request, settings_, address, options_.profile), options_.profile),
                              now, out);
            break;
        default:
            // Nothing is polled on a balanced link.
            break;
    }
    CarryOut(out);
    return true;
}

std::optional<PollVerdict> MasterStation::BalancedReceived(std::span<const std::uint8_t> block,
                                                         std::chrono::system_clock::time_point when) {
    capture_.Add(CaptureDirection::Received, block, when);
    sink_.Line(LogColour::Green, ReceiveLine(block, TimeStamp(when)));
    BalancedLink::Outputs out;
    std::vector<std::uint8_t> decoded;
    std::vector<std::vector<std::uint8_t>> repeated;
    const FrameLayout layout = LayoutOf(options_.profile.sizes);
    for (auto frame = FindNextFrame(block, 0, layout); frame; frame = FindNextFrame(block, frame->start + frame->size, layout)) {
        const auto octets = block.subspan(frame->start, frame->size);
        const std::size_t before = out.size();
        if (balanced_) balanced_->Received(octets, SteadyMs(Clock::now()), out);
        const bool duplicate = std::any_of(out.begin() + static_cast<std::ptrdiff_t>(before), out.end(),
                                           [](const LinkOutput& o) { return o.action == LinkAction::Duplicate; });
        if (duplicate)
            repeated.emplace_back(octets.begin(), octets.end());
        else
            decoded.insert(decoded.end(), octets.begin(), octets.end());
    }
    std::optional<PollVerdict> verdict;
    if (!decoded.empty() || repeated.empty()) {
        const FrameAnalysis analysis =
            AnalyzeFrames(decoded.empty() ? block : std::span<const std::uint8_t>(decoded), tables_, options_.decoding,
                          options_.profile, options_.hour);
        sink_.ReceivedAccount(block, when, analysis.lines);
        verdict = analysis.verdict;
    }
    for (const auto& frame : repeated)
        sink_.Line(LogColour::Black, DeviceText(balancedAddress_, options_.profile) + " 重复帧(FCB 未翻转), 已确认, 不再解析: " +
                                         BytesToHexText(frame));
    if (command_) {
        std::vector<CommandLogLine> lines;
        const auto now = CommandSequence::Clock::now();
        for (const auto& asdu : AsdusOf(decoded, options_.profile)) command_->Received(asdu, now, lines);
        LogCommandLines(lines);
        EndCommandIfDone();
    }
    CarryOut(out);
    // The next step goes as soon as this one is answered.
    BalancedCommand(Clock::now());
    return verdict;
}

void MasterStation::CarryOut(const BalancedLink::Outputs& outputs) {
    const std::string device = DeviceText(balancedAddress_, options_.profile);
    for (const LinkOutput& output : outputs) {
        switch (output.action) {
            case LinkAction::Send: SendLinkFrame(output); break;
            case LinkAction::Repeat:
                sink_.Line(LogColour::Red, device + " 超时无应答, 重发(第" + std::to_string(output.attempt) + "次)");
                break;
            case LinkAction::Lost:
                balancedLost_ = true;
                sink_.Line(LogColour::Red, device + " 链路中断: 重发 " + std::to_string(output.attempt) +
                                               " 次仍无应答, 重新初始化链路");
                break;
            case LinkAction::Up:
                sink_.Line(LogColour::Black, device + (balancedLost_ ? " 链路恢复" : " 链路建立"));
                balancedLost_ = false;
                if (interrogateOnUp_ && !command_ && balanced_ && balanced_->UserDataWaiting() == 0) {
                    BalancedLink::Outputs more;
                    balanced_->SendUserData(
                        AsduOf(BuildMasterRequest(MasterRequest::GeneralInterrogation, settings_, balancedAddress_,
                                                  options_.profile),
                               options_.profile),
                        SteadyMs(Clock::now()), more);
                    CarryOut(more);
                }
                break;
            case LinkAction::Deliver:
            case LinkAction::Duplicate:
            case LinkAction::Confirmed: break;
        }
    }
}

void MasterStation::SendLinkFrame(const LinkOutput& output) {
    const int octets = NamedOctets(options_.profile);
    switch (output.request) {
        case LinkRequest::LinkStatus: sink_.Line(LogColour::Black, RequestBanner(MasterRequest::LinkStatus, balancedAddress_, octets)); break;
        case LinkRequest::ResetRemoteLink:
            sink_.Line(LogColour::Black, RequestBanner(MasterRequest::ResetRemoteLink, balancedAddress_, octets));
            break;
        case LinkRequest::UserData: {
            const std::vector<std::uint8_t> asdu = AsduOf(output.frame, options_.profile);
            const auto step = std::find_if(userDataBanners_.begin(), userDataBanners_.end(),
                                           [&asdu](const auto& banner) { return banner.first == asdu; });
            sink_.Line(LogColour::Black, step != userDataBanners_.end()
                                             ? step->second
                                             : RequestBanner(MasterRequest::GeneralInterrogation, balancedAddress_, octets));
            break;
        }
        case LinkRequest::TestLink:
            sink_.Line(LogColour::Black, "========测试链路 " + std::to_string(FieldValue(balancedAddress_, octets)) + "#========");
            break;
        case LinkRequest::None: break;  // an answer: its TX line alone
    }
    if (!Put(output.frame, output.request != LinkRequest::None)) {
        sink_.Line(LogColour::Red, NotWrittenText(output.frame.size()));
        return;
    }
    const auto now = std::chrono::system_clock::now();
    capture_.Add(CaptureDirection::Sent, output.frame, now);
    sink_.Line(LogColour::Blue, RequestLine(output.frame, TimeStamp(now)));
    sink_.Sent(output.frame, now);
}

}  // namespace tc101
