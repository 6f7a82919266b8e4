#include "app/console/address_option.h"

#include <string>

#include "app/console/args.h"
#include "protocol/address_list.h"

namespace tc101::console {

std::vector<std::int64_t> ParseAddressOption(std::string_view text, const LinkProfile& profile) {
    try {
        return ParseAddressList(text, profile.sizes.linkAddress);
    } catch (const AddressListError& error) {
        throw UsageError("--address '" + std::string(text) + "': " + error.what());
    }
}

}  // namespace tc101::console
