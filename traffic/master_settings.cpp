#include "traffic/master_settings.h"

#include <span>
#include <string>

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
std::array<SettingValue, N> ReadValues(const IniFile& bwset, std::string_view key,
                                       std::span<const std::string_view> defaults) {
    std::array<SettingValue, N> values{};
    const std::vector<std::string> rows = StoredListRows(bwset.ReadString(kBwSetSection, key, DefaultList(defaults)));
    for (std::size_t i = 0; i < rows.size() && i < N; ++i) values[i] = ParseHexCell(rows[i]);
    return values;
}

template <std::size_t N>
std::string StoredList(const std::array<SettingValue, N>& values) {
    std::vector<std::uint32_t> numbers;
    for (const SettingValue& value : values) numbers.push_back(value.value_or(0));
    return StoredValueList(numbers);
}

}  // namespace

MasterSettings ReadMasterSettings(const IniFile& bwset) {
    MasterSettings settings;
    settings.shortValues = ReadValues<kShortRequestRows>(bwset, kBwSetShortKey, kShortStoredDefaults);
    settings.interrogationValues = ReadValues<kInterrogationRows>(bwset, kBwSetZZKey, kInterrogationStoredDefaults);
    settings.standardLink = bwset.ReadBool(kBwSetSection, kBwSetStandardLinkKey, false);
    const std::int64_t lostAfter = bwset.ReadInteger(kBwSetSection, kBwSetLostAfterKey, kDefaultLostAfter);
    if (lostAfter >= 1 && lostAfter <= kMaxLostAfter) settings.lostAfter = static_cast<int>(lostAfter);
    return settings;
}

MasterSettings ReadMasterSettings() { return ReadMasterSettings(IniFile(AppFile(kBwSetIniName))); }

void WriteMasterSettings(IniFile& bwset, const MasterSettings& settings) {
    bwset.WriteString(kBwSetSection, kBwSetShortKey, StoredList(settings.shortValues));
    bwset.WriteString(kBwSetSection, kBwSetZZKey, StoredList(settings.interrogationValues));
    bwset.WriteBool(kBwSetSection, kBwSetStandardLinkKey, settings.standardLink);
    if (settings.lostAfter != kDefaultLostAfter || !bwset.ReadString(kBwSetSection, kBwSetLostAfterKey, "").empty())
        bwset.WriteInteger(kBwSetSection, kBwSetLostAfterKey, settings.lostAfter);
}

std::vector<std::uint8_t> BuildMasterRequest(MasterRequest request, const MasterSettings& settings,
                                             std::int64_t address, CellFallback fallback) {
    return BuildMasterRequest(request, settings, address, LinkProfile{}, fallback);
}

std::vector<std::uint8_t> BuildMasterRequest(MasterRequest request, const MasterSettings& settings,
                                             std::int64_t address, const LinkProfile& profile,
                                             CellFallback fallback) {
    const auto shortRequest = [&](ShortRequest row) {
        return BuildShortRequest(settings.shortValues[static_cast<std::size_t>(row) - 1], address, profile);
    };
    switch (request) {
        case MasterRequest::LinkStatus: return shortRequest(ShortRequest::LinkStatus);
        case MasterRequest::Class1: return shortRequest(ShortRequest::Class1);
        case MasterRequest::Class2: return shortRequest(ShortRequest::Class2);
        case MasterRequest::GeneralInterrogation:
            return BuildInterrogation(settings.interrogationValues, address, fallback, profile);
        case MasterRequest::ResetRemoteLink:
            // Not a setting: its control field is fixed.
            return BuildFixedFrame(kResetRemoteLinkControl, LinkAddressOf(address, profile),
                                   profile.sizes.linkAddress);
    }
    return {};
}

}  // namespace tc101
