#include "protocol/requests.h"

#include <limits>

#include "protocol/frame_layout.h"
#include "protocol/hex_text.h"

namespace tc101 {

namespace {

constexpr std::uint32_t kByteMask = 0xFF;
constexpr int kHexRadix = 16;

std::uint8_t ValueByte(SettingValue value, std::uint8_t fallback) {
    return value ? static_cast<std::uint8_t>(*value & kByteMask) : fallback;
}

}  // namespace

std::optional<std::uint32_t> ParseHexCell(std::string_view text) {
    if (text.empty()) return std::nullopt;
    std::uint32_t value = 0;
    for (const char c : text) {
        const int digit = HexDigitValue(c);
        if (digit < 0) return std::nullopt;
        if (value > (std::numeric_limits<std::uint32_t>::max() >> 4)) return std::nullopt;
        value = value * kHexRadix + static_cast<std::uint32_t>(digit);
    }
    return value;
}

std::uint8_t DeviceAddressByte(std::int64_t address) {
    return static_cast<std::uint8_t>(static_cast<std::uint64_t>(address) & kByteMask);
}

std::array<std::uint8_t, kFixedFrameSize> BuildShortRequest(std::string_view controlCell, std::int64_t address) {
    return BuildShortRequest(ParseHexCell(controlCell), address);
}

std::array<std::uint8_t, kFixedFrameSize> BuildShortRequest(SettingValue control, std::int64_t address) {
    return BuildFixedFrame(ValueByte(control, kShortFallback), DeviceAddressByte(address));
}

std::array<std::uint8_t, kInterrogationFrameSize> BuildInterrogation(const InterrogationCells& cells,
                                                                     std::int64_t address, CellFallback fallback) {
    InterrogationValues values;
    for (size_t i = 0; i < values.size(); ++i) values[i] = ParseHexCell(cells[i]);
    return BuildInterrogation(values, address, fallback);
}

std::array<std::uint8_t, kInterrogationFrameSize> BuildInterrogation(const InterrogationValues& values,
                                                                     std::int64_t address, CellFallback fallback) {
    std::array<std::uint8_t, kInterrogationRows> field{};
    for (size_t i = 0; i < field.size(); ++i)
        field[i] = ValueByte(values[i], fallback == CellFallback::Zero ? std::uint8_t{0} : kInterrogationFallbacks[i]);
    const std::uint8_t link = DeviceAddressByte(address);
    std::array<std::uint8_t, kInterrogationFrameSize> frame{
        kVariableStart, kInterrogationLength, kInterrogationLength, kVariableStart,
        field[0],  // control
        link,
        field[1],  // type identification
        field[2],  // variable structure qualifier
        field[3],  // cause of transmission
        link,      // common address of the ASDU
        field[4],  // object address, low octet
        field[5],  // object address, high octet
        field[6],  // qualifier of interrogation
        0,         // checksum, below
        kFrameEnd};
    constexpr int kChecksumOffset = kInterrogationFrameSize - 2;
    frame[kChecksumOffset] = FrameChecksum(frame, kVarControlOffset, kChecksumOffset - 1);
    return frame;
}

}  // namespace tc101

namespace tc101 {

std::uint32_t LinkAddressOf(std::int64_t address, const LinkProfile& profile) {
    return FieldValue(address, profile.sizes.linkAddress);
}

std::uint32_t CommonAddressOf(std::int64_t address, const LinkProfile& profile) {
    return FieldValue(profile.commonAddress ? static_cast<std::int64_t>(*profile.commonAddress) : address,
                      profile.sizes.commonAddress);
}

std::vector<std::uint8_t> BuildShortRequest(SettingValue control, std::int64_t address, const LinkProfile& profile) {
    return BuildFixedFrame(ValueByte(control, kShortFallback), LinkAddressOf(address, profile),
                           profile.sizes.linkAddress);
}

std::vector<std::uint8_t> BuildInterrogation(const InterrogationValues& values, std::int64_t address,
                                             CellFallback fallback, const LinkProfile& profile) {
    std::array<std::uint8_t, kInterrogationRows> field{};
    for (size_t i = 0; i < field.size(); ++i)
        field[i] = ValueByte(values[i], fallback == CellFallback::Zero ? std::uint8_t{0} : kInterrogationFallbacks[i]);
    const FieldSizes& sizes = profile.sizes;
    std::vector<std::uint8_t> asdu{field[1], field[2], field[3]};  // type, qualifier, cause
    if (sizes.cause > 1) asdu.push_back(profile.originator);
    AppendLittleEndian(asdu, CommonAddressOf(address, profile), sizes.commonAddress);
    asdu.push_back(field[4]);                         // object address, low octet
    if (sizes.objectAddress > 1) asdu.push_back(field[5]);  // high octet
    if (sizes.objectAddress > 2) asdu.push_back(0);
    asdu.push_back(field[6]);  // qualifier of interrogation
    return BuildVariableFrame(field[0], LinkAddressOf(address, profile), sizes.linkAddress, asdu);
}

}  // namespace tc101
