#include "protocol/frame_complete.h"

#include <cstddef>

#include "protocol/frame.h"

namespace tc101 {
namespace {

// The size of the whole, valid frame at the start of `rest`; 0 when there is none.
std::size_t WholeFrameAt(std::span<const std::uint8_t> rest, std::size_t linkOctets) {
    const auto checksumOver = [&rest](std::size_t first, std::size_t last) {
        std::uint8_t sum = 0;
        for (std::size_t i = first; i <= last; ++i) sum = static_cast<std::uint8_t>(sum + rest[i]);
        return sum;
    };
    switch (rest[0]) {
    case kSingleChar:
        return 1;
    case kFixedStart: {
        const std::size_t size = 4 + linkOctets;  // start, control, address, checksum, end
        if (rest.size() < size || rest[size - 1] != kFrameEnd) return 0;
        return checksumOver(1, size - 3) == rest[size - 2] ? size : 0;
    }
    case kVariableStart: {
        if (rest.size() < 4) return 0;
        const std::size_t length = rest[kVarLengthOffset];
        if (length == 0 || rest[kVarLengthRepeatOffset] != length || rest[kVarStartRepeatOffset] != kVariableStart)
            return 0;
        const std::size_t size = length + kVariableFrameOverhead;
        if (rest.size() < size || rest[size - 1] != kFrameEnd) return 0;
        return checksumOver(kVarControlOffset, size - 3) == rest[size - 2] ? size : 0;
    }
    default:
        return 0;
    }
}

}  // namespace

bool EndsInCompleteFrames(std::span<const std::uint8_t> octets, int linkOctets) {
    if (octets.empty() || linkOctets < 0 || linkOctets > 2) return false;
    while (!octets.empty()) {
        const std::size_t size = WholeFrameAt(octets, static_cast<std::size_t>(linkOctets));
        if (size == 0) return false;
        octets = octets.subspan(size);
    }
    return true;
}

}  // namespace tc101
