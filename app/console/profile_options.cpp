#include "app/console/profile_options.h"

#include <array>
#include <cstdio>
#include <string>

#include "files/comset_keys.h"
#include "files/ini_text.h"

namespace tc101::console {

namespace {

constexpr std::array<std::string_view, 2> kDecodings{"legacy", "standard"};
constexpr std::array<std::string_view, 2> kModes{"unbalanced", "balanced"};
constexpr std::int64_t kMaxLinkMs = 3'600'000;
constexpr std::int64_t kMaxRetries = 100;

void TakeBalancedOptions(Args& args, LinkProfile& profile) {
    BalancedSettings& balanced = profile.balanced;
    const std::uint32_t maxLink = profile.sizes.linkAddress >= 2 ? 0xFFFF : 0xFF;
    if (const auto v = args.Integer("--other-address", 0, maxLink)) balanced.otherAddress = static_cast<std::uint32_t>(*v);
    if (args.Flag("--e5-ack")) balanced.singleCharAck = true;
    if (const auto v = args.Integer("--test-period", 0, kMaxLinkMs)) balanced.testPeriodMs = *v;
    if (const auto v = args.Integer("--repeat-timeout", 1, kMaxLinkMs)) balanced.repeatTimeoutMs = *v;
    if (const auto v = args.Integer("--retries", 0, kMaxRetries)) balanced.retries = static_cast<int>(*v);
}

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
    if (const auto mode = args.Choice("--mode", kModes)) profile.mode = *ParseLinkMode(*mode);
    const bool balanced = profile.mode == LinkMode::Balanced;
    if (const auto text = args.Value("--profile")) {
        const auto sizes = ParseFieldSizes(*text, profile.mode);
        if (!sizes)
            throw UsageError(std::string("--profile takes LA/COT/CA/IOA with link address ") +
                             (balanced ? "0, 1 or 2" : "1 or 2") +
                             ", cause 1 or 2, common address "
                             "1 or 2 and object address 1 to 3 octets (e.g. 2/2/2/3), not '" + *text + "'" +
                             (!balanced && text->starts_with("0/") ? "; a link address of 0 octets needs --mode balanced"
                                                                   : ""));
        profile.sizes = *sizes;
    } else if (!balanced && profile.sizes.linkAddress == 0) {
        throw UsageError("the stored link address of 0 octets needs --mode balanced; give --profile");
    }
    TakeBalancedOptions(args, profile);
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
