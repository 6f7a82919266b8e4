#include "protocol/frame_search.h"

#include "protocol/frame.h"

namespace tc101 {

std::optional<FoundFrame> FindNextFrame(std::span<const std::uint8_t> buffer, std::size_t from) {
    return FindNextFrame(buffer, from, kDefaultLayout);
}

std::optional<FoundFrame> FindNextFrame(std::span<const std::uint8_t> buffer, std::size_t from,
                                        const FrameLayout& layout) {
    const std::size_t size = buffer.size();
    const auto fixedSize = static_cast<std::size_t>(layout.fixedSize);
    for (std::size_t j = from; j < size; ++j) {
        switch (buffer[j]) {
            case kFixedStart:
                if (size - j >= fixedSize && buffer[j + fixedSize - 1] == kFrameEnd)
                    return FoundFrame{FrameKind::Fixed, j, fixedSize};
                break;
            case kVariableStart: {
                if (size - j < kVariableFrameOverhead) break;
                const std::size_t length = buffer[j + kVarLengthOffset];
                const std::size_t frameSize = length + kVariableFrameOverhead;
                if (size - j >= frameSize && buffer[j + kVarLengthRepeatOffset] == length &&
                    buffer[j + kVarStartRepeatOffset] == kVariableStart && buffer[j + frameSize - 1] == kFrameEnd)
                    return FoundFrame{FrameKind::Variable, j, frameSize};
                break;
            }
            case kSingleChar:
                return FoundFrame{FrameKind::SingleChar, j, 1};
            default:
                break;
        }
    }
    return std::nullopt;
}

}  // namespace tc101
