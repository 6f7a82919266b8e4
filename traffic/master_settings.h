#pragma once

// The master message settings as a plain reader sees them: the value cells
// of grdShort and GrdZZ as stored in bwset.ini, and the standard link
// procedure switch. The console master builds its requests from these; the
// window builds them from the dialog's live cells with the same builders.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "files/ini_file.h"
#include "protocol/requests.h"
#include "traffic/log_lines.h"

namespace tc101 {

// Reset of remote link: from the primary station, function 0, no FCV.
inline constexpr std::uint8_t kResetRemoteLinkControl = kPrmMask | primary::kResetRemoteLink;

struct MasterSettings {
    std::array<std::string, kShortRequestRows> shortCells;          // grdShort rows 1..3, column 2
    std::array<std::string, kInterrogationRows> interrogationCells;  // GrdZZ rows 1..7, column 2
    bool standardLink = false;
};

// Each list as the dialog fills its table: the default list when the key is
// missing, rows without an item left empty, items beyond the table ignored.
MasterSettings ReadMasterSettings(const IniFile& bwset);
// bwset.ini in the application directory.
MasterSettings ReadMasterSettings();

// The frame of a master request as built from the cells and the device address.
std::vector<std::uint8_t> BuildMasterRequest(MasterRequest request, const MasterSettings& settings,
                                             std::int64_t address);

}  // namespace tc101
