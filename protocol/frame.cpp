#include "protocol/frame.h"

#include <stdexcept>

namespace tc101 {

namespace {

void AppendLink(std::vector<std::uint8_t>& frame, std::uint32_t address, int linkOctets) {
    for (int i = 0; i < linkOctets; ++i) frame.push_back(static_cast<std::uint8_t>((address >> (8 * i)) & 0xFF));
}

}  // namespace

std::uint8_t FrameChecksum(std::span<const std::uint8_t> buffer, int first, int last) {
    if (last < first) return 0;
    if (first < 0 || static_cast<size_t>(last) >= buffer.size())
        throw std::out_of_range("FrameChecksum: range outside the buffer");
    unsigned sum = 0;
    for (int i = first; i <= last; ++i) sum += buffer[static_cast<size_t>(i)];
    return static_cast<std::uint8_t>(sum & 0xFFu);
}

std::array<std::uint8_t, kFixedFrameSize> BuildFixedFrame(std::uint8_t control, std::uint8_t address) {
    const std::array<std::uint8_t, 2> summed{control, address};
    return {kFixedStart, control, address, FrameChecksum(summed, 0, 1), kFrameEnd};
}

std::vector<std::uint8_t> BuildVariableFrame(std::uint8_t control, std::uint8_t address,
                                             std::span<const std::uint8_t> asdu) {
    return BuildVariableFrame(control, address, 1, asdu);
}

std::vector<std::uint8_t> BuildFixedFrame(std::uint8_t control, std::uint32_t address, int linkOctets) {
    std::vector<std::uint8_t> frame{kFixedStart, control};
    AppendLink(frame, address, linkOctets);
    frame.push_back(FrameChecksum(frame, kFixedControlOffset, static_cast<int>(frame.size()) - 1));
    frame.push_back(kFrameEnd);
    return frame;
}

std::vector<std::uint8_t> BuildVariableFrame(std::uint8_t control, std::uint32_t address, int linkOctets,
                                             std::span<const std::uint8_t> asdu) {
    const std::size_t length = 1 + static_cast<std::size_t>(linkOctets) + asdu.size();
    if (length > static_cast<std::size_t>(kMaxVariableLength))
        throw std::length_error("BuildVariableFrame: the ASDU does not fit in one frame");
    const auto l = static_cast<std::uint8_t>(length);
    std::vector<std::uint8_t> frame{kVariableStart, l, l, kVariableStart, control};
    frame.reserve(length + kVariableFrameOverhead);
    AppendLink(frame, address, linkOctets);
    frame.insert(frame.end(), asdu.begin(), asdu.end());
    frame.push_back(FrameChecksum(frame, kVarControlOffset, static_cast<int>(frame.size()) - 1));
    frame.push_back(kFrameEnd);
    return frame;
}

}  // namespace tc101
