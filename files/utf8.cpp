#include "files/utf8.h"

namespace tc101 {

namespace {
constexpr unsigned char kContinuationLow = 0x80;
constexpr unsigned char kContinuationHigh = 0xBF;
}  // namespace

std::size_t Utf8SequenceLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    if (lead < kContinuationLow) return 1;
    std::size_t length = 0;
    // The second byte's range narrows for some leads, ruling out overlong
    // forms, surrogates and values beyond U+10FFFF.
    unsigned char low = kContinuationLow;
    unsigned char high = kContinuationHigh;
    if (lead >= 0xC2 && lead <= 0xDF) length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4) length = 4;
    else return 0;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
    if (text.size() < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < low || c > high) return 0;
        low = kContinuationLow;
        high = kContinuationHigh;
    }
    return length;
}

}  // namespace tc101
