#pragma once

// --address with a list of devices ("1,2,5-7"), as poll and outstation take it.

#include <cstdint>
#include <string_view>
#include <vector>

#include "protocol/link_profile.h"

namespace tc101::console {

// The addresses of the list in the profile's link address size; a list that
// cannot be used throws UsageError naming what is wrong.
std::vector<std::int64_t> ParseAddressOption(std::string_view text, const LinkProfile& profile);

}  // namespace tc101::console
