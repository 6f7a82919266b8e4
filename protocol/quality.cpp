#include "protocol/quality.h"

#include <array>
#include <string_view>

namespace tc101 {

namespace {

struct FlagName {
    std::uint8_t flag;
    std::string_view name;
};

constexpr std::array<FlagName, 5> kFlagNames{{
    {kQualityInvalid, "IV 无效"},
    {kQualityNotTopical, "NT 非当前值"},
    {kQualitySubstituted, "SB 被取代"},
    {kQualityBlocked, "BL 被闭锁"},
    {kQualityOverflow, "OV 溢出"},
}};

}  // namespace

std::string QualityFlagsText(std::uint8_t flags) {
    std::string text;
    for (const FlagName& entry : kFlagNames) {
        if (!(flags & entry.flag)) continue;
        if (!text.empty()) text += ", ";
        text += entry.name;
    }
    return text;
}

}  // namespace tc101
