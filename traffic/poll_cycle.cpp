#include "traffic/poll_cycle.h"

#include "protocol/frame.h"
#include "protocol/frame_layout.h"
#include "protocol/frame_search.h"

namespace tc101 {

namespace {

struct ControlField {
    std::size_t controlOffset = 0;
    std::size_t addressOffset = 0;
    std::size_t checksumOffset = 0;
};

// Where control, address and checksum sit in a whole frame; nothing for anything else.
std::optional<ControlField> LocateControl(std::span<const std::uint8_t> frame, int linkOctets) {
    const FrameLayout layout = LayoutOf(FieldSizes{linkOctets, 1, 1, 2});
    const auto fixedSize = static_cast<std::size_t>(layout.fixedSize);
    if (frame.size() == fixedSize && frame[0] == kFixedStart && frame[fixedSize - 1] == kFrameEnd)
        return ControlField{kFixedControlOffset, kFixedAddressOffset, static_cast<std::size_t>(layout.fixedChecksum)};
    if (frame.size() > kVariableFrameOverhead && frame[0] == kVariableStart &&
        frame.size() == std::size_t{frame[kVarLengthOffset]} + kVariableFrameOverhead &&
        frame[kVarLengthRepeatOffset] == frame[kVarLengthOffset] && frame[kVarStartRepeatOffset] == kVariableStart &&
        frame.back() == kFrameEnd)
        return ControlField{kVarControlOffset, kVarAddressOffset, frame.size() - 2};
    return std::nullopt;
}

bool IsResetRemoteLink(std::uint8_t control) {
    return (control & kPrmMask) && (control & kFunctionMask) == primary::kResetRemoteLink &&
           !(control & kFcvDfcMask);
}

}  // namespace

LinkReplyReading ReadLinkReply(std::span<const std::uint8_t> block, int linkOctets) {
    const FrameLayout layout = LayoutOf(FieldSizes{linkOctets, 1, 1, 2});
    LinkReplyReading reading;
    for (auto found = FindNextFrame(block, 0, layout); found;
         found = FindNextFrame(block, found->start + found->size, layout)) {
        const auto frame = block.subspan(found->start, found->size);
        switch (found->kind) {
            case FrameKind::Fixed: {
                const std::uint8_t control = frame[kFixedControlOffset];
                // The analyser leaves its verdict alone for these two.
                if (FrameChecksum(frame, kFixedControlOffset, layout.fixedChecksum - 1) !=
                    frame[static_cast<std::size_t>(layout.fixedChecksum)])
                    break;
                if (control & kPrmMask) break;
                const std::uint8_t function = control & kFunctionMask;
                reading.acd = (control & kFcbAcdMask) != 0;
                reading.kind = function == secondary::kLinkStatus ? LinkReply::LinkStatus
                               : function == secondary::kAck      ? LinkReply::PositiveAck
                                                                  : LinkReply::Other;
                break;
            }
            case FrameKind::Variable: reading = {}; break;
            case FrameKind::SingleChar: reading = {LinkReply::PositiveAck, false}; break;
        }
    }
    return reading;
}

std::optional<MasterRequest> RequestForVerdict(PollVerdict verdict) {
    switch (verdict) {
        case PollVerdict::None: return MasterRequest::LinkStatus;
        case PollVerdict::Class1Waiting: return MasterRequest::Class1;
        case PollVerdict::NoClass1Waiting: return MasterRequest::Class2;
        case PollVerdict::LinkReady: return MasterRequest::GeneralInterrogation;
    }
    return std::nullopt;
}

std::vector<std::uint8_t> WithFcb(std::span<const std::uint8_t> frame, bool fcb, int linkOctets) {
    std::vector<std::uint8_t> out(frame.begin(), frame.end());
    const auto field = LocateControl(frame, linkOctets);
    if (!field) return out;
    std::uint8_t& control = out[field->controlOffset];
    control = static_cast<std::uint8_t>(fcb ? (control | kFcbAcdMask) : (control & ~kFcbAcdMask));
    out[field->checksumOffset] = FrameChecksum(out, static_cast<int>(field->controlOffset),
                                               static_cast<int>(field->checksumOffset) - 1);
    return out;
}

void PollCycle::StartSimulation() {
    next_ = MasterRequest::LinkStatus;
    lastSent_.reset();
    replyReceived_ = true;
}

bool PollCycle::TickMaySend() {
    if (!replyReceived_ && silentTicks_ < kMaxSilentTicks) {
        ++silentTicks_;
        return false;
    }
    return true;
}

void PollCycle::Sent() {
    silentTicks_ = 0;
    replyReceived_ = false;
}

std::optional<MasterRequest> PollCycle::SimulationTick() {
    if (!TickMaySend()) return std::nullopt;
    const std::optional<MasterRequest> request = next_;
    if (request) lastSent_ = request;
    Sent();
    return request;
}

void PollCycle::ReplyArrived(std::span<const std::uint8_t> block, PollVerdict verdict) {
    next_ = RequestForVerdict(verdict);
    replyReceived_ = true;
    if (!standardLink_) return;
    const LinkReplyReading reading = ReadLinkReply(block, linkOctets_);
    switch (reading.kind) {
        case LinkReply::LinkStatus: next_ = MasterRequest::ResetRemoteLink; break;
        case LinkReply::PositiveAck:
            if (lastSent_ == MasterRequest::ResetRemoteLink)
                next_ = MasterRequest::GeneralInterrogation;
            else
                next_ = reading.acd ? MasterRequest::Class1 : MasterRequest::Class2;
            break;
        case LinkReply::Other: break;
    }
}

std::vector<std::uint8_t> PollCycle::FrameToSend(std::span<const std::uint8_t> built) {
    const auto field = LocateControl(built, linkOctets_);
    if (!standardLink_ || !field) return {built.begin(), built.end()};
    const std::uint8_t control = built[field->controlOffset];
    const auto address = static_cast<std::uint16_t>(ReadLittleEndian(built, field->addressOffset, linkOctets_));
    if (IsResetRemoteLink(control)) {
        nextFcb_[address] = true;
        return {built.begin(), built.end()};
    }
    if (!(control & kFcvDfcMask)) return {built.begin(), built.end()};
    std::vector<std::uint8_t> out = WithFcb(built, nextFcb_[address], linkOctets_);
    nextFcb_.flip(address);
    return out;
}

}  // namespace tc101
