#pragma once

// The master message settings as a value: the control field of each short
// request (grdShort), the general interrogation's fields (GrdZZ) and the
// standard link procedure switch. One reader and one writer of bwset.ini;
// the dialog loads and saves through them, and every request is built from
// these values, never from cell text.

#include <array>
#include <cstdint>
#include <vector>

#include "files/ini_file.h"
#include "protocol/requests.h"
#include "traffic/device_watch.h"
#include "traffic/log_lines.h"

namespace tc101 {

// Reset of remote link: from the primary station, function 0, no FCV.
inline constexpr std::uint8_t kResetRemoteLinkControl = kPrmMask | primary::kResetRemoteLink;

struct MasterSettings {
    std::array<SettingValue, kShortRequestRows> shortValues{};  // grdShort rows 1..3
    InterrogationValues interrogationValues{};                  // GrdZZ rows 1..7
    bool standardLink = false;
    // Silent requests after which a polled device counts as lost, 1 or more.
    int lostAfter = kDefaultLostAfter;

    bool operator==(const MasterSettings&) const = default;
};

// Each stored list read as hex: the default list when the key is missing, an
// item that is not a hex number or a row without an item reads as nothing
// (its request takes the fallback), items beyond the rows are ignored; a
// LostAfter below 1 reads as the default.
MasterSettings ReadMasterSettings(const IniFile& bwset);
// bwset.ini in the application directory.
MasterSettings ReadMasterSettings();
// Each list with an empty title item and two or more hex digits per value
// (nothing written as 00), then the switch, and LostAfter once it is not
// the default or is there already. Throws FileError.
void WriteMasterSettings(IniFile& bwset, const MasterSettings& settings);

// The frame of a master request as built from the values and the device
// address; the interrogation's unreadable fields take the fallback given.
std::vector<std::uint8_t> BuildMasterRequest(MasterRequest request, const MasterSettings& settings,
                                             std::int64_t address,
                                             CellFallback fallback = CellFallback::TableDefaults);
// The same in a profile's field sizes.
std::vector<std::uint8_t> BuildMasterRequest(MasterRequest request, const MasterSettings& settings,
                                             std::int64_t address, const LinkProfile& profile,
                                             CellFallback fallback = CellFallback::TableDefaults);

}  // namespace tc101
