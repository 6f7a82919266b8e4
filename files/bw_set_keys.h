#pragma once

// bwset.ini, the master message settings: its names, one list per table and
// the standard link procedure switch (1/0, default 0), and what the lists
// hold until the user changes them. bwset.ini lives in AppDirectory().

#include <array>
#include <string_view>

#include "protocol/requests.h"

namespace tc101 {

inline constexpr char kBwSetIniName[] = "bwset.ini";
inline constexpr char kBwSetSection[] = "bwset";
inline constexpr char kBwSetShortKey[] = "grdShort";
inline constexpr char kBwSetZZKey[] = "GrdZZ";
inline constexpr char kBwSetStandardLinkKey[] = "StandardLink";
// Silent requests after which a polled device counts as lost; written only once it differs from the default.
inline constexpr char kBwSetLostAfterKey[] = "LostAfter";

inline constexpr std::array<std::string_view, kShortRequestRows> kShortStoredDefaults{"49", "5A", "5B"};
inline constexpr std::array<std::string_view, kInterrogationRows> kInterrogationStoredDefaults{
    "53", "64", "01", "06", "00", "00", "14"};

}  // namespace tc101
