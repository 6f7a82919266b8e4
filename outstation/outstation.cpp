#include "outstation/outstation.h"

#include <algorithm>
#include <utility>

#include "protocol/frame.h"
#include "protocol/frame_search.h"
#include "protocol/requests.h"

namespace tc101 {

namespace {

constexpr std::size_t kMaxFrameOctets = kMaxVariableLength + kVariableFrameOverhead;

// An interrogation command's fields, read with the profile's sizes.
struct InterrogationCommand {
    std::uint8_t cause = 0;
    std::uint8_t originator = 0;
    std::uint32_t commonAddress = 0;
    std::uint8_t qualifier = 0;
};

std::optional<InterrogationCommand> ReadInterrogation(std::span<const std::uint8_t> asdu, const FrameLayout& layout) {
    // Type, qualifier, cause, common address, object address, QOI.
    const auto cause = std::size_t{2};
    const auto common = cause + static_cast<std::size_t>(layout.causeOctets);
    const auto qualifier = common + static_cast<std::size_t>(layout.commonOctets + layout.objectOctets);
    if (asdu.size() < qualifier + 1 || asdu[0] != kTypeInterrogation) return std::nullopt;
    InterrogationCommand command;
    command.cause = asdu[cause];
    if (layout.causeOctets > 1) command.originator = asdu[cause + 1];
    command.commonAddress = ReadLittleEndian(asdu, common, layout.commonOctets);
    command.qualifier = asdu[qualifier];
    return command;
}

bool ChecksumRight(std::span<const std::uint8_t> frame, bool variable) {
    const int last = static_cast<int>(frame.size()) - 1;
    const int first = variable ? kVarControlOffset : kFixedControlOffset;
    return FrameChecksum(frame, first, last - 2) == frame[static_cast<std::size_t>(last - 1)];
}

}  // namespace

// Whether the octets from `at` could still become a frame with more octets.
bool Outstation::CouldBeFrameStart(std::span<const std::uint8_t> data, std::size_t at) const {
    const std::size_t have = data.size() - at;
    if (data[at] == kFixedStart) return have < static_cast<std::size_t>(layout_.fixedSize);
    if (data[at] != kVariableStart) return false;
    if (have < 2) return true;
    const std::size_t need = data[at + 1] + static_cast<std::size_t>(kVariableFrameOverhead);
    if (have >= need) return false;
    if (have > 2 && data[at + 2] != data[at + 1]) return false;
    return have <= 3 || data[at + 3] == kVariableStart;
}

Outstation::Outstation(const StationConfig& config, StationClock clock)
    : config_(config),
      layout_(LayoutOf(config.profile.sizes)),
      linkAddress_(FieldValue(config.address, config.profile.sizes.linkAddress)),
      commonAddress_(CommonAddressOf(config.address, config.profile)),
      clock_(std::move(clock)),
      points_(config),
      now_(clock_()),
      commands_(config.selectTimeoutMs, config.directExecute) {
    nextChangeMs_ = now_.steadyMs + config_.changeEveryMs;
    nextEventMs_ = now_.steadyMs + config_.eventEveryMs;
    startMs_ = now_.steadyMs;
    if (config_.profile.mode == LinkMode::Balanced) {
        LinkProfile profile = config_.profile;
        if (config_.singleCharAck) profile.balanced.singleCharAck = true;
        link_.emplace(OutstationLinkConfig(config_.address, profile));
    }
}

std::vector<Frame> Outstation::Receive(std::span<const std::uint8_t> block) {
    Advance();
    std::vector<std::uint8_t> data;
    // A frame's octets follow each other without a pause; after one, the
    // kept start was line noise.
    if (now_.steadyMs - tailAtMs_ <= kFramePauseMs) data = std::move(tail_);
    tail_.clear();
    data.insert(data.end(), block.begin(), block.end());

    if (link_) return ReceiveBalanced(data);
    std::vector<Frame> replies;
    std::size_t from = 0;
    while (auto found = FindNextFrame(data, from, layout_)) {
        const std::span<const std::uint8_t> frame(data.data() + found->start, found->size);
        from = found->start + found->size;
        if (found->kind == FrameKind::SingleChar) continue;  // only a secondary station sends E5
        if (auto reply = HandleFrame(frame, found->kind == FrameKind::Variable)) replies.push_back(std::move(*reply));
    }
    KeepTail(data, from);
    return replies;
}

void Outstation::KeepTail(std::span<const std::uint8_t> data, std::size_t from) {
    for (std::size_t at = from; at < data.size(); ++at) {
        if (CouldBeFrameStart(data, at) && data.size() - at < kMaxFrameOctets) {
            tail_.assign(data.begin() + static_cast<std::ptrdiff_t>(at), data.end());
            tailAtMs_ = now_.steadyMs;
            return;
        }
    }
}

void Outstation::Advance() {
    now_ = commands_.Adjust(clock_());
    MakeDue(nextChangeMs_, config_.changeEveryMs, now_.steadyMs, class2_.size(), false);
    MakeDue(nextEventMs_, config_.eventEveryMs, now_.steadyMs, class1_.size(), true);
}

void Outstation::MakeDue(std::int64_t& next, std::int64_t every, std::int64_t now, std::size_t queued, bool events) {
    if (every <= 0 || now < next) return;
    // After a long pause only what a full queue could hold is made.
    const auto backlog = static_cast<std::int64_t>(kMaxQueuedAsdus);
    if ((now - next) / every > backlog) next = now - backlog * every;
    for (; next <= now; next += every) {
        if (queued >= kMaxQueuedAsdus) continue;
        if (events) {
            const PointChange change = points_.NextEvent();
            if (change.point == 0) continue;
            const bool state = change.value != 0;
            const AsduFields fields = Fields(config_.profile.originator);
            class1_.push_back(TelesignalChange(fields, change.point, state));
            class1_.push_back(TelesignalEvent(fields, change.point, state, now_));
            queued = class1_.size();
        } else {
            const PointChange change = points_.NextMeasuredChange();
            if (change.point == 0) continue;
            class2_.push_back(MeasuredChange(Fields(config_.profile.originator), change.point, change.value));
            queued = class2_.size();
        }
    }
}

std::optional<Frame> Outstation::HandleFrame(std::span<const std::uint8_t> frame, bool variable) {
    // An L that leaves no room for the control field and the address.
    if (variable && frame.size() < static_cast<std::size_t>(layout_.varType + 2)) {
        ++counters_.framesIgnored;
        return std::nullopt;
    }
    const std::uint8_t control = frame[variable ? kVarControlOffset : kFixedControlOffset];
    const std::uint32_t address = ReadLittleEndian(frame, variable ? kVarAddressOffset : kFixedAddressOffset,
                                                   layout_.linkOctets);
    if (address != linkAddress_ || (control & kPrmMask) == 0 || !ChecksumRight(frame, variable)) {
        ++counters_.framesIgnored;
        return std::nullopt;
    }
    ++counters_.framesHandled;
    if (!variable) return HandleFixed(control);
    const auto asduStart = static_cast<std::size_t>(layout_.varType);
    const std::size_t asduEnd = frame.size() - 2;  // before checksum and end
    return HandleUserData(control, frame.subspan(asduStart, asduEnd - asduStart));
}

std::optional<Frame> Outstation::HandleFixed(std::uint8_t control) {
    switch (control & kFunctionMask) {
        case primary::kResetRemoteLink: {
            Frame reply = Ack();
            fcbKnown_ = true;
            expectedFcb_ = true;
            lastReply_ = reply;
            return reply;
        }
        case primary::kResetUserProcess:
            return Ack();
        case primary::kRequestLinkStatus:
            return FixedReply(secondary::kLinkStatus);
        case primary::kRequestClass1:
            return WithFrameCount(control, [this] { return ServeClassRequest(true); });
        case primary::kRequestClass2:
            return WithFrameCount(control, [this] { return ServeClassRequest(false); });
        default:
            return FixedReply(secondary::kLinkNotImplemented);
    }
}

std::optional<Frame> Outstation::HandleUserData(std::uint8_t control, std::span<const std::uint8_t> asdu) {
    const std::uint8_t function = control & kFunctionMask;
    const auto command = ReadInterrogation(asdu, layout_);
    const bool interrogation = command && command->commonAddress == commonAddress_;
    const auto commonAt = static_cast<std::size_t>(2 + layout_.causeOctets);
    const bool isCommand = asdu.size() >= commonAt + static_cast<std::size_t>(layout_.commonOctets) &&
                         IsStationCommand(asdu[0]) &&
                         ReadLittleEndian(asdu, commonAt, layout_.commonOctets) == commonAddress_;
    if (isCommand) {
        if (function == primary::kUserDataUnconfirmed) {
            class1_.push_back(Command(asdu));
            return std::nullopt;
        }
        if (function != primary::kUserDataConfirmed) return FixedReply(secondary::kLinkNotImplemented);
        return WithFrameCount(control, [&]() -> Frame {
            const auto at = static_cast<std::ptrdiff_t>(class1_.size());
            Asdu confirmation = Command(asdu);
            if (!config_.strictFcb) return UserData(secondary::kAck, confirmation);
            class1_.insert(class1_.begin() + at, std::move(confirmation));
            return Ack();
        });
    }
    if (function == primary::kUserDataUnconfirmed) {
        if (interrogation) QueueInterrogation(asdu);
        return std::nullopt;
    }
    if (function != primary::kUserDataConfirmed) return FixedReply(secondary::kLinkNotImplemented);
    return WithFrameCount(control, [&]() -> Frame {
        if (!interrogation) return Ack();
        if (config_.strictFcb) {
            QueueInterrogation(asdu);
            return Ack();
        }
        // As many field units do: the confirmation rides on the link reply.
        return UserData(secondary::kAck, Interrogate(asdu));
    });
}

template <typename Produce>
std::optional<Frame> Outstation::WithFrameCount(std::uint8_t control, Produce produce) {
    if (!config_.strictFcb || (control & kFcvDfcMask) == 0) return produce();
    const bool fcb = (control & kFcbAcdMask) != 0;
    if (fcbKnown_ && fcb != expectedFcb_) {
        ++counters_.repeats;
        return lastReply_;
    }
    Frame reply = produce();
    fcbKnown_ = true;
    expectedFcb_ = !fcb;
    lastReply_ = reply;
    return reply;
}

bool Outstation::IsOurInterrogation(std::span<const std::uint8_t> asdu) const {
    const auto command = ReadInterrogation(asdu, layout_);
    return command && command->commonAddress == commonAddress_;
}

AsduFields Outstation::Fields(std::uint8_t originator) const {
    return {config_.profile, commonAddress_, originator};
}

Asdu Outstation::Interrogate(std::span<const std::uint8_t> asdu) {
    const InterrogationCommand command = *ReadInterrogation(asdu, layout_);
    // Replies to a command carry its originator back.
    const AsduFields fields = Fields(command.originator);
    const std::uint8_t qualifier = command.qualifier;
    if (command.cause != kCauseActivation)
        return InterrogationAsdu(fields, kCauseUnknownCause | kCauseNegativeMask, qualifier);
    if (qualifier != kQoiStation)
        return InterrogationAsdu(fields, kCauseActivationConfirm | kCauseNegativeMask, qualifier);
    for (Asdu& unit : TelesignalInterrogationReplies(fields, points_.Telesignals())) class1_.push_back(std::move(unit));
    for (Asdu& unit : MeasuredInterrogationReplies(fields, points_.MeasuredValues()))
        class1_.push_back(std::move(unit));
    class1_.push_back(InterrogationAsdu(fields, kCauseActivationTermination, qualifier));
    return InterrogationAsdu(fields, kCauseActivationConfirm, qualifier);
}

Asdu Outstation::Command(std::span<const std::uint8_t> asdu) {
    const std::uint8_t originator = layout_.causeOctets > 1 ? asdu[3] : config_.profile.originator;
    CommandAnswer answer = commands_.Handle(asdu, Fields(originator), points_, now_);
    for (Asdu& unit : answer.followUps) class1_.push_back(std::move(unit));
    return std::move(answer.confirmation);
}

void Outstation::QueueInterrogation(std::span<const std::uint8_t> command) {
    const auto at = static_cast<std::ptrdiff_t>(class1_.size());
    Asdu confirmation = Interrogate(command);
    // The confirmation goes ahead of the data it announces.
    class1_.insert(class1_.begin() + at, std::move(confirmation));
}

Frame Outstation::ServeClassRequest(bool class1) {
    // A class 1 request may take class 2 data; a class 2 request leaves
    // class 1 data waiting for its own request (ACD tells the master).
    std::deque<Asdu>* queue = nullptr;
    if (class1 && !class1_.empty()) {
        queue = &class1_;
    } else if (!class2_.empty()) {
        queue = &class2_;
    } else {
        return class1_.empty() ? Frame{kSingleChar} : FixedReply(secondary::kNoData);
    }
    const Asdu asdu = std::move(queue->front());
    queue->pop_front();
    return UserData(secondary::kUserData, asdu);
}

std::uint8_t Outstation::AccessDemand() const { return class1_.empty() ? 0 : kFcbAcdMask; }

Frame Outstation::Ack() const {
    // E5 cannot carry the access demand bit.
    if (config_.singleCharAck && class1_.empty()) return {kSingleChar};
    return FixedReply(secondary::kAck);
}

Frame Outstation::FixedReply(std::uint8_t function) const {
    return BuildFixedFrame(static_cast<std::uint8_t>(function | AccessDemand()), linkAddress_, layout_.linkOctets);
}

Frame Outstation::UserData(std::uint8_t function, const Asdu& asdu) const {
    return BuildVariableFrame(static_cast<std::uint8_t>(function | AccessDemand()), linkAddress_, layout_.linkOctets,
                              asdu);
}

}  // namespace tc101
