#include "traffic/master_settings.h"

#include <span>

#include "files/app_paths.h"
#include "files/bw_set_cells.h"
#include "files/bw_set_keys.h"

namespace tc101 {

namespace {

// ",49,5A,5B": an empty item for the title row, then the rows.
std::string DefaultList(std::span<const std::string_view> cells) {
    std::string list;
    for (const std::string_view cell : cells) {
        list += ',';
        list += cell;
    }
    return list;
}

template <std::size_t N>
void FillCells(std::array<std::string, N>& cells, const IniFile& bwset, std::string_view key,
               std::span<const std::string_view> defaults) {
    const std::vector<std::string> rows = StoredListRows(bwset.ReadString(kBwSetSection, key, DefaultList(defaults)));
    for (std::size_t i = 0; i < rows.size() && i < N; ++i) cells[i] = rows[i];
}

int ShortRow(MasterRequest request) {
    switch (request) {
        case MasterRequest::Class1: return static_cast<int>(ShortRequest::Class1);
        case MasterRequest::Class2: return static_cast<int>(ShortRequest::Class2);
        default: return static_cast<int>(ShortRequest::LinkStatus);
    }
}

}  // namespace

MasterSettings ReadMasterSettings(const IniFile& bwset) {
    MasterSettings settings;
    FillCells(settings.shortCells, bwset, kBwSetShortKey, kShortStoredDefaults);
    FillCells(settings.interrogationCells, bwset, kBwSetZZKey, kInterrogationStoredDefaults);
    settings.standardLink = bwset.ReadBool(kBwSetSection, kBwSetStandardLinkKey, false);
    return settings;
}

MasterSettings ReadMasterSettings() { return ReadMasterSettings(IniFile(AppFile(kBwSetIniName))); }

std::vector<std::uint8_t> BuildMasterRequest(MasterRequest request, const MasterSettings& settings,
                                             std::int64_t address) {
    switch (request) {
        case MasterRequest::GeneralInterrogation: {
            InterrogationCells cells;
            for (std::size_t i = 0; i < cells.size(); ++i) cells[i] = settings.interrogationCells[i];
            const auto frame = BuildInterrogation(cells, address);
            return {frame.begin(), frame.end()};
        }
        case MasterRequest::ResetRemoteLink: {
            const auto frame = BuildFixedFrame(kResetRemoteLinkControl, DeviceAddressByte(address));
            return {frame.begin(), frame.end()};
        }
        default: {
            const auto frame = BuildShortRequest(settings.shortCells[ShortRow(request) - 1], address);
            return {frame.begin(), frame.end()};
        }
    }
}

}  // namespace tc101
