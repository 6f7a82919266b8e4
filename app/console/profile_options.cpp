#include "app/console/profile_options.h"

#include <array>
#include <cstdio>
#include <string>

#include "files/comset_keys.h"
#include "files/ini_text.h"

namespace tc101::console {

namespace {

constexpr std::array<std::string_view, 2> kDecodings{"legacy", "standard"};

std::uint32_t ObjectAddress(Args& args, std::string_view name, std::uint32_t current) {
    const auto text = args.Value(name);
    if (!text) return current;
    const auto value = ini::ParseInteger(*text);
    if (!value || text->find_first_of(" \t") != std::string::npos)
        throw UsageError(std::string(name) + " takes a decimal or 0x hexadecimal number, not '" + *text + "'");
    if (*value < 0 || *value > kMaxObjectAddress)
        throw UsageError(std::string(name) + " must be from 0 to 0xFFFFFF");
    return static_cast<std::uint32_t>(*value);
}

}  // namespace

LinkProfile TakeProfileOptions(Args& args, LinkProfile profile) {
    if (const auto text = args.Value("--profile")) {
        const auto sizes = ParseFieldSizes(*text);
        if (!sizes)
            throw UsageError("--profile takes LA/COT/CA/IOA with link address 1 or 2, cause 1 or 2, common address "
                             "1 or 2 and object address 1 to 3 octets (e.g. 2/2/2/3), not '" + *text + "'");
        profile.sizes = *sizes;
    }
    if (const auto decoding = args.Choice("--decoding", kDecodings)) profile.decoding = *ParseObjectDecoding(*decoding);
    const std::uint32_t maxCommon = MaxCommonAddress(profile.sizes);
    if (const auto text = args.Value("--common-address")) {
        profile.commonAddress = static_cast<std::uint32_t>(ParseInteger(*text, "--common-address", 0, maxCommon));
    } else if (profile.commonAddress && *profile.commonAddress > maxCommon) {
        throw UsageError("the stored common address " + std::to_string(*profile.commonAddress) + " does not fit " +
                         std::to_string(profile.sizes.commonAddress) + " octet(s); give --common-address");
    }
    if (const auto v = args.Integer("--originator", 0, kMaxOriginator)) profile.originator = static_cast<std::uint8_t>(*v);
    profile.yxBase = ObjectAddress(args, "--yx-base", profile.yxBase);
    profile.ycBase = ObjectAddress(args, "--yc-base", profile.ycBase);
    return profile;
}

LinkProfile TakeProfileOptions(Args& args) {
    const StoredLinkProfile stored = ReadLinkProfile();
    for (const std::string& fault : stored.faults) std::fprintf(stderr, "%s\n", fault.c_str());
    return TakeProfileOptions(args, stored.profile);
}

}  // namespace tc101::console
