#pragma once

// The four standard master requests of the unbalanced link, built from the
// cell texts of the master message settings (grdShort, GrdZZ) and the device
// address. Plain functions, so the console and the tests build the same
// frames as the windows without one.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "protocol/frame.h"
#include "protocol/link_profile.h"

namespace tc101 {

// Rows of grdShort: the control field of each fixed-length request.
enum class ShortRequest : int { LinkStatus = 1, Class1 = 2, Class2 = 3 };
inline constexpr int kShortRequestRows = 3;
// Rows of GrdZZ, in frame order (control, type, qualifier, cause, object address low/high, QOI).
inline constexpr int kInterrogationRows = 7;

// The general interrogation's own values: a confirmed user-data send, one
// object, activation, station interrogation.
inline constexpr std::uint8_t kInterrogationControl = kPrmMask | kFcvDfcMask | primary::kUserDataConfirmed;
inline constexpr std::uint8_t kSingleObject = 0x01;
inline constexpr std::uint8_t kCauseActivation = 6;
inline constexpr std::uint8_t kQoiStation = 20;

// Used for a GrdZZ cell that is not a hex number; a grdShort cell gives 0.
inline constexpr std::array<std::uint8_t, kInterrogationRows> kInterrogationFallbacks{
    kInterrogationControl, kTypeInterrogation, kSingleObject, kCauseActivation, 0x00, 0x00, kQoiStation};
inline constexpr std::uint8_t kShortFallback = 0x00;

// The interrogation carries 9 octets after the start: always, whatever the settings.
inline constexpr std::uint8_t kInterrogationLength = 9;
inline constexpr int kInterrogationFrameSize = kInterrogationLength + kVariableFrameOverhead;

// A cell of hexadecimal digits only (either case, at least one): its value.
// Anything else (empty, a prefix, a sign, a space, more than 32 bits): nothing.
std::optional<std::uint32_t> ParseHexCell(std::string_view text);

// Link address and common address: the device address modulo 256.
std::uint8_t DeviceAddressByte(std::int64_t address);
// The link address of a profile: the device address modulo 256 or 65536.
std::uint32_t LinkAddressOf(std::int64_t address, const LinkProfile& profile);
// The common address of a profile: its own, else the device address; modulo
// 256 or 65536 by its octets.
std::uint32_t CommonAddressOf(std::int64_t address, const LinkProfile& profile);

// A settings value as the builders take it: nothing for a cell that could
// not be read (its fallback is used); only the low 8 bits go into a frame.
using SettingValue = std::optional<std::uint32_t>;

// 10 C A CS 16 with C from the request's grdShort cell (read as hex) or value.
std::array<std::uint8_t, kFixedFrameSize> BuildShortRequest(std::string_view controlCell, std::int64_t address);
std::array<std::uint8_t, kFixedFrameSize> BuildShortRequest(SettingValue control, std::int64_t address);

// Where an interrogation cell that is not a hex number takes its value from:
// the request path uses the table's fallbacks, the generator dialog 0.
enum class CellFallback { TableDefaults, Zero };

// GrdZZ rows 1..7 in order, as cell texts (read as hex) or as values.
using InterrogationCells = std::array<std::string_view, kInterrogationRows>;
using InterrogationValues = std::array<SettingValue, kInterrogationRows>;

// 68 09 09 68 C A TI VSQ COT CA IOA-lo IOA-hi QOI CS 16.
std::array<std::uint8_t, kInterrogationFrameSize> BuildInterrogation(const InterrogationCells& cells,
                                                                     std::int64_t address,
                                                                     CellFallback fallback = CellFallback::TableDefaults);
std::array<std::uint8_t, kInterrogationFrameSize> BuildInterrogation(const InterrogationValues& values,
                                                                     std::int64_t address,
                                                                     CellFallback fallback = CellFallback::TableDefaults);

// The same requests in a profile's field sizes; the default profile gives the
// octets above. The GrdZZ rows fill their fields; the octets the rows do not
// cover are the originator (second cause octet), the common address and a
// zero third object address octet. With a one-octet object address only
// row 5 (the low octet) is used.
std::vector<std::uint8_t> BuildShortRequest(SettingValue control, std::int64_t address, const LinkProfile& profile);
std::vector<std::uint8_t> BuildInterrogation(const InterrogationValues& values, std::int64_t address,
                                             CellFallback fallback, const LinkProfile& profile);

}  // namespace tc101
