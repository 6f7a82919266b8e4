#include "protocol/link_profile.h"

#include <charconv>

namespace tc101 {

bool ValidFieldSizes(const FieldSizes& sizes) {
    return (sizes.linkAddress == 1 || sizes.linkAddress == 2) && (sizes.cause == 1 || sizes.cause == 2) &&
           (sizes.commonAddress == 1 || sizes.commonAddress == 2) && sizes.objectAddress >= 1 &&
           sizes.objectAddress <= 3;
}

bool ValidFieldSizes(const FieldSizes& sizes, LinkMode mode) {
    FieldSizes checked = sizes;
    // A point-to-point balanced link may leave the link address out.
    if (mode == LinkMode::Balanced && checked.linkAddress == 0) checked.linkAddress = 1;
    return ValidFieldSizes(checked);
}

std::optional<FieldSizes> ParseFieldSizes(std::string_view text) { return ParseFieldSizes(text, LinkMode::Unbalanced); }

std::optional<FieldSizes> ParseFieldSizes(std::string_view text, LinkMode mode) {
    int values[4] = {};
    const char* p = text.data();
    const char* end = text.data() + text.size();
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            if (p == end || *p != '/') return std::nullopt;
            ++p;
        }
        // One digit per field: no signs, no padding.
        if (p == end || *p < '0' || *p > '9') return std::nullopt;
        const auto [next, ec] = std::from_chars(p, p + 1, values[i]);
        if (ec != std::errc{}) return std::nullopt;
        p = next;
    }
    if (p != end) return std::nullopt;
    const FieldSizes sizes{values[0], values[1], values[2], values[3]};
    if (!ValidFieldSizes(sizes, mode)) return std::nullopt;
    return sizes;
}

std::string FieldSizesText(const FieldSizes& sizes) {
    return std::to_string(sizes.linkAddress) + '/' + std::to_string(sizes.cause) + '/' +
           std::to_string(sizes.commonAddress) + '/' + std::to_string(sizes.objectAddress);
}

std::optional<ObjectDecoding> ParseObjectDecoding(std::string_view text) {
    if (text == "legacy") return ObjectDecoding::Legacy;
    if (text == "standard") return ObjectDecoding::Standard;
    return std::nullopt;
}

std::string_view ObjectDecodingName(ObjectDecoding decoding) {
    return decoding == ObjectDecoding::Standard ? "standard" : "legacy";
}

std::optional<LinkMode> ParseLinkMode(std::string_view text) {
    if (text == "unbalanced") return LinkMode::Unbalanced;
    if (text == "balanced") return LinkMode::Balanced;
    return std::nullopt;
}

std::string_view LinkModeName(LinkMode mode) { return mode == LinkMode::Balanced ? "balanced" : "unbalanced"; }

}  // namespace tc101
