#include "traffic/link_watch.h"

#include <algorithm>

#include "protocol/frame.h"
#include "protocol/frame_layout.h"
#include "protocol/frame_search.h"

namespace tc101 {
namespace {

std::uint8_t SumOf(std::span<const std::uint8_t> octets) {
    std::uint8_t sum = 0;
    for (const std::uint8_t o : octets) sum = static_cast<std::uint8_t>(sum + o);
    return sum;
}

// Control field offset of a fixed or variable frame; nothing for E5 or noise.
std::optional<std::size_t> ControlOffset(std::span<const std::uint8_t> frame) {
    if (frame.size() >= kFixedFrameSize - 1 && frame[0] == kFixedStart) return kFixedControlOffset;
    if (frame.size() > kVarControlOffset && frame[0] == kVariableStart) return kVarControlOffset;
    return std::nullopt;
}

}  // namespace

BlockTrouble ReadBlockTrouble(std::span<const std::uint8_t> block, int linkOctets) {
    FieldSizes sizes;
    sizes.linkAddress = linkOctets;
    const FrameLayout layout = LayoutOf(sizes);
    BlockTrouble trouble;
    std::size_t from = 0;
    while (const auto found = FindNextFrame(block, from, layout)) {
        const auto frame = block.subspan(found->start, found->size);
        from = found->start + found->size;
        ++trouble.frames;
        if (found->kind == FrameKind::SingleChar) continue;
        const std::size_t control = *ControlOffset(frame);
        // Control field up to the octet before the checksum.
        if (SumOf(frame.subspan(control, frame.size() - control - 2)) != frame[frame.size() - 2])
            ++trouble.checksumErrors;
        else if (frame[control] & kPrmMask)
            ++trouble.primaryFrames;
    }
    return trouble;
}

bool SameRequest(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
    if (a.size() != b.size() || a.size() < kFixedFrameSize) return false;
    const auto control = ControlOffset(a);
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (i == a.size() - 2) continue;  // the checksum follows the FCB
        const std::uint8_t mask = (control && i == *control) ? static_cast<std::uint8_t>(~kFcbAcdMask) : 0xFF;
        if ((a[i] & mask) != (b[i] & mask)) return false;
    }
    return true;
}

void LinkWatch::Sent(std::span<const std::uint8_t> frame, Clock::time_point queuedAt, Clock::time_point endOfFrame) {
    const bool repeat = stats_.Waiting() && SameRequest(frame, lastFrame_);
    stats_.FrameSent(queuedAt, endOfFrame, repeat);
    lastFrame_.assign(frame.begin(), frame.end());
}

void LinkWatch::Received(std::span<const std::uint8_t> block, Clock::time_point firstOctet) {
    if (block.empty()) return;
    const BlockTrouble trouble = ReadBlockTrouble(block, linkOctets_);
    stats_.ChecksumErrors(trouble.checksumErrors);
    if (balanced_) {
        if (trouble.frames > trouble.primaryFrames + trouble.checksumErrors) stats_.AnswerStarted(firstOctet);
        return;
    }
    if (!stats_.AnswerStarted(firstOctet)) {
        stats_.UnexpectedFrames(trouble.frames - trouble.checksumErrors);
        return;
    }
    stats_.UnexpectedFrames(trouble.primaryFrames);
}

}  // namespace tc101
