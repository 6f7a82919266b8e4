// The outstation's balanced half: its link is a BalancedLink. The master's
// user data (interrogation, commands) is handled as on the unbalanced link,
// and what the station has to say goes out as its own user data with
// confirmation, class 1 before class 2, one unit at a time.

#include "outstation/outstation.h"
#include "protocol/frame_search.h"
#include "protocol/requests.h"

namespace tc101 {

StationCounters Outstation::Counters() const {
    StationCounters counters = counters_;
    if (link_) {
        counters.repeats = link_->Counters().repeats;
        counters.duplicates = link_->Counters().duplicates;
        counters.lost = link_->Counters().lost;
    }
    return counters;
}

bool Outstation::Silent() const {
    const std::int64_t since = now_.steadyMs - startMs_;
    return config_.silenceForMs > 0 && since >= config_.silenceAtMs &&
           since < config_.silenceAtMs + config_.silenceForMs;
}

std::vector<Frame> Outstation::Poll() {
    if (!link_) return {};
    Advance();
    if (Silent()) return {};
    BalancedLink::Outputs out;
    if (!link_->Started())
        link_->Start(now_.steadyMs, out);
    else
        link_->Tick(now_.steadyMs, out);
    return CarryOut(out);
}

std::vector<Frame> Outstation::ReceiveBalanced(std::span<const std::uint8_t> data) {
    BalancedLink::Outputs out;
    std::size_t from = 0;
    const bool silent = Silent();
    while (auto found = FindNextFrame(data, from, layout_)) {
        const std::span<const std::uint8_t> frame(data.data() + found->start, found->size);
        from = found->start + found->size;
        if (silent) {
            ++counters_.framesIgnored;
            continue;
        }
        const std::int64_t unexpected = link_->Counters().unexpected;
        link_->Received(frame, now_.steadyMs, out);
        if (link_->Counters().unexpected != unexpected)
            ++counters_.framesIgnored;
        else
            ++counters_.framesHandled;
    }
    KeepTail(data, from);
    return CarryOut(out);
}

void Outstation::Deliver(std::span<const std::uint8_t> frame) {
    const auto asduStart = static_cast<std::size_t>(layout_.varType);
    if (frame.size() < asduStart + 2) return;
    const auto asdu = frame.subspan(asduStart, frame.size() - 2 - asduStart);
    const auto commonAt = static_cast<std::size_t>(2 + layout_.causeOctets);
    if (asdu.size() >= commonAt + static_cast<std::size_t>(layout_.commonOctets) && IsStationCommand(asdu[0]) &&
        ReadLittleEndian(asdu, commonAt, layout_.commonOctets) == commonAddress_) {
        // The confirmation goes ahead of what the command reports.
        const auto at = static_cast<std::ptrdiff_t>(class1_.size());
        Asdu confirmation = Command(asdu);
        class1_.insert(class1_.begin() + at, std::move(confirmation));
        return;
    }
    if (IsOurInterrogation(asdu)) QueueInterrogation(asdu);
}

std::vector<Frame> Outstation::CarryOut(BalancedLink::Outputs& out) {
    std::vector<Frame> frames;
    bool dropAnswer = false;
    for (std::size_t i = 0;; ++i) {
        if (i == out.size()) {
            // What waits goes out once the link is up and the last unit is confirmed.
            if (!link_->Up() || link_->UserDataWaiting() > 0) break;
            std::deque<Asdu>* queue = !class1_.empty() ? &class1_ : !class2_.empty() ? &class2_ : nullptr;
            if (!queue) break;
            const Asdu asdu = std::move(queue->front());
            queue->pop_front();
            link_->SendUserData(asdu, now_.steadyMs, out);
            if (i == out.size()) break;
        }
        LinkOutput& output = out[i];
        if (output.action == LinkAction::Deliver || output.action == LinkAction::Duplicate) {
            if (++userDataSeen_ == config_.dropAck) dropAnswer = true;
            if (output.action == LinkAction::Deliver) Deliver(output.frame);
        } else if (output.action == LinkAction::Send) {
            if (dropAnswer && output.request == LinkRequest::None) {
                dropAnswer = false;
                continue;
            }
            frames.push_back(std::move(output.frame));
        }
    }
    return frames;
}

}  // namespace tc101
