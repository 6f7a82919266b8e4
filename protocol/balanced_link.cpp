#include "protocol/balanced_link.h"

#include <utility>

#include "protocol/frame.h"
#include "protocol/frame_layout.h"

namespace tc101 {

namespace {

bool ChecksumRight(std::span<const std::uint8_t> frame, bool variable) {
    const int last = static_cast<int>(frame.size()) - 1;
    const int first = variable ? kVarControlOffset : kFixedControlOffset;
    return last >= first + 1 && FrameChecksum(frame, first, last - 2) == frame[static_cast<std::size_t>(last - 1)];
}

bool IsAck(std::uint8_t function, bool singleChar) { return singleChar || function == secondary::kAck; }

}  // namespace

BalancedLinkConfig MasterLinkConfig(std::uint32_t address, const LinkProfile& profile) {
    BalancedLinkConfig config;
    config.dir = true;
    config.linkOctets = profile.sizes.linkAddress;
    config.sendAddress = FieldValue(address, config.linkOctets);
    config.receiveAddress = FieldValue(profile.balanced.otherAddress.value_or(address), config.linkOctets);
    config.settings = profile.balanced;
    return config;
}

BalancedLinkConfig OutstationLinkConfig(std::uint32_t address, const LinkProfile& profile) {
    BalancedLinkConfig config = MasterLinkConfig(address, profile);
    config.dir = false;
    std::swap(config.sendAddress, config.receiveAddress);
    return config;
}

BalancedLink::BalancedLink(const BalancedLinkConfig& config) : config_(config) {}

std::uint8_t BalancedLink::Control(bool primary, std::uint8_t function) const {
    return static_cast<std::uint8_t>((config_.dir ? kDirMask : 0) | (primary ? kPrmMask : 0) | function);
}

void BalancedLink::Start(std::int64_t nowMs, Outputs& out) {
    pending_.reset();
    state_ = State::AwaitStatus;
    SendPrimary(LinkRequest::LinkStatus, primary::kRequestLinkStatus, false, {}, nowMs, out);
}

void BalancedLink::RequestLinkStatus(std::int64_t nowMs, Outputs& out) {
    if (state_ == State::Idle) {
        Start(nowMs, out);
        return;
    }
    if (pending_) return;
    SendPrimary(LinkRequest::LinkStatus, primary::kRequestLinkStatus, false, {}, nowMs, out);
}

void BalancedLink::SendUserData(std::span<const std::uint8_t> asdu, std::int64_t nowMs, Outputs& out) {
    queue_.emplace_back(asdu.begin(), asdu.end());
    if (state_ == State::Up && !pending_) SendNextUserData(nowMs, out);
}

void BalancedLink::SendNextUserData(std::int64_t nowMs, Outputs& out) {
    if (queue_.empty()) return;
    const std::vector<std::uint8_t> asdu = std::move(queue_.front());
    queue_.pop_front();
    SendPrimary(LinkRequest::UserData, primary::kUserDataConfirmed, true, asdu, nowMs, out);
}

void BalancedLink::SendPrimary(LinkRequest request, std::uint8_t function, bool withFcv,
                               std::span<const std::uint8_t> asdu, std::int64_t nowMs, Outputs& out) {
    std::uint8_t control = Control(true, function);
    if (withFcv) control |= static_cast<std::uint8_t>(kFcvDfcMask | (nextFcb_ ? kFcbAcdMask : 0));
    Pending pending;
    pending.request = request;
    pending.asdu.assign(asdu.begin(), asdu.end());
    pending.frame = asdu.empty() ? BuildFixedFrame(control, config_.sendAddress, config_.linkOctets)
                                 : BuildVariableFrame(control, config_.sendAddress, config_.linkOctets, asdu);
    pending.sentAtMs = nowMs;
    lastTrafficMs_ = nowMs;
    out.push_back({LinkAction::Send, request, pending.frame, 0});
    pending_ = std::move(pending);
}

void BalancedLink::Received(std::span<const std::uint8_t> frame, std::int64_t nowMs, Outputs& out) {
    if (frame.size() == 1 && frame[0] == kSingleChar) {
        Answered(secondary::kAck, true, nowMs, out);
        return;
    }
    const bool variable = !frame.empty() && frame[0] == kVariableStart;
    const FrameLayout layout = LayoutOf(FieldSizes{config_.linkOctets, 1, 1, 2});
    const std::size_t minimum = variable ? static_cast<std::size_t>(layout.varType) + 2
                                         : static_cast<std::size_t>(layout.fixedSize);
    if (frame.size() < minimum || !ChecksumRight(frame, variable)) {
        ++counters_.unexpected;
        return;
    }
    const std::uint8_t control = frame[variable ? kVarControlOffset : kFixedControlOffset];
    // Our own direction coming back (an echo) is no one's answer.
    if (((control & kDirMask) != 0) == config_.dir) {
        ++counters_.unexpected;
        return;
    }
    const bool fromPrimary = (control & kPrmMask) != 0;
    const std::uint32_t address =
        ReadLittleEndian(frame, variable ? kVarAddressOffset : kFixedAddressOffset, config_.linkOctets);
    if (address != (fromPrimary ? config_.receiveAddress : config_.sendAddress)) {
        ++counters_.unexpected;
        return;
    }
    lastTrafficMs_ = nowMs;
    if (fromPrimary) {
        AsSecondary(frame, variable, nowMs, out);
    } else {
        Answered(control & kFunctionMask, false, nowMs, out);
    }
}

void BalancedLink::Answered(std::uint8_t function, bool singleChar, std::int64_t nowMs, Outputs& out) {
    if (!pending_) {
        ++counters_.unexpected;
        return;
    }
    lastTrafficMs_ = nowMs;
    const LinkRequest request = pending_->request;
    if (request == LinkRequest::LinkStatus) {
        if (singleChar || function != secondary::kLinkStatus) {
            ++counters_.unexpected;
            return;
        }
        pending_.reset();
        if (state_ == State::AwaitStatus) {
            state_ = State::AwaitReset;
            SendPrimary(LinkRequest::ResetRemoteLink, primary::kResetRemoteLink, false, {}, nowMs, out);
        } else {
            SendNextUserData(nowMs, out);
        }
        return;
    }
    if (!IsAck(function, singleChar)) {
        // Busy or refused: the frame goes again when its time is up.
        ++counters_.unexpected;
        return;
    }
    const Pending done = std::move(*pending_);
    pending_.reset();
    if (request == LinkRequest::ResetRemoteLink) {
        state_ = State::Up;
        nextFcb_ = true;
        lost_ = false;
        out.push_back({LinkAction::Up, LinkRequest::None, {}, 0});
    } else {
        nextFcb_ = !nextFcb_;
        if (request == LinkRequest::UserData) out.push_back({LinkAction::Confirmed, request, done.frame, 0});
    }
    if (state_ == State::Up) SendNextUserData(nowMs, out);
}

void BalancedLink::AsSecondary(std::span<const std::uint8_t> frame, bool variable, std::int64_t nowMs, Outputs& out) {
    (void)nowMs;
    const std::uint8_t control = frame[variable ? kVarControlOffset : kFixedControlOffset];
    const std::uint8_t function = control & kFunctionMask;
    const bool fcv = (control & kFcvDfcMask) != 0;
    const bool fcb = (control & kFcbAcdMask) != 0;
    // A frame with FCV whose FCB did not alternate repeats the last one: its
    // answer went missing. It is answered again and not taken twice.
    const bool repeated = fcv && otherFcb_ && *otherFcb_ == fcb;
    if (fcv) otherFcb_ = fcb;
    switch (function) {
        case primary::kRequestLinkStatus: Answer(secondary::kLinkStatus, out); return;
        case primary::kResetRemoteLink:
            // The next frame with FCV carries FCB 1.
            otherFcb_ = false;
            Answer(secondary::kAck, out);
            return;
        case primary::kTestLink:
            if (repeated) ++counters_.duplicates;
            Answer(secondary::kAck, out);
            return;
        case primary::kUserDataConfirmed:
            if (!variable) break;
            if (repeated) {
                ++counters_.duplicates;
                out.push_back({LinkAction::Duplicate, LinkRequest::None, {frame.begin(), frame.end()}, 0});
            } else {
                out.push_back({LinkAction::Deliver, LinkRequest::None, {frame.begin(), frame.end()}, 0});
            }
            Answer(secondary::kAck, out);
            return;
        case primary::kUserDataUnconfirmed:
            if (variable) out.push_back({LinkAction::Deliver, LinkRequest::None, {frame.begin(), frame.end()}, 0});
            return;
        default: break;
    }
    Answer(secondary::kLinkNotImplemented, out);
}

void BalancedLink::Answer(std::uint8_t function, Outputs& out) const {
    std::vector<std::uint8_t> frame;
    if (function == secondary::kAck && config_.settings.singleCharAck) {
        frame.push_back(kSingleChar);
    } else {
        frame = BuildFixedFrame(Control(false, function), config_.receiveAddress, config_.linkOctets);
    }
    out.push_back({LinkAction::Send, LinkRequest::None, std::move(frame), 0});
}

void BalancedLink::Tick(std::int64_t nowMs, Outputs& out) {
    if (pending_) {
        if (nowMs - pending_->sentAtMs < config_.settings.repeatTimeoutMs) return;
        if (pending_->attempts < config_.settings.retries) {
            ++pending_->attempts;
            ++counters_.repeats;
            pending_->sentAtMs = nowMs;
            lastTrafficMs_ = nowMs;
            out.push_back({LinkAction::Repeat, pending_->request, pending_->frame, pending_->attempts});
            out.push_back({LinkAction::Send, pending_->request, pending_->frame, pending_->attempts});
            return;
        }
        // Data not confirmed goes again once the link is back.
        if (pending_->request == LinkRequest::UserData) queue_.push_front(std::move(pending_->asdu));
        if (!lost_) {
            lost_ = true;
            ++counters_.lost;
            out.push_back({LinkAction::Lost, pending_->request, pending_->frame, pending_->attempts});
        }
        Start(nowMs, out);
        return;
    }
    const std::int64_t period = config_.settings.testPeriodMs;
    if (state_ == State::Up && period > 0 && queue_.empty() && nowMs - lastTrafficMs_ >= period)
        SendPrimary(LinkRequest::TestLink, primary::kTestLink, true, {}, nowMs, out);
}

std::optional<std::int64_t> BalancedLink::NextDue() const {
    if (pending_) return pending_->sentAtMs + config_.settings.repeatTimeoutMs;
    if (state_ == State::Up && config_.settings.testPeriodMs > 0) return lastTrafficMs_ + config_.settings.testPeriodMs;
    return std::nullopt;
}

}  // namespace tc101
