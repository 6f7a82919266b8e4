#include "protocol/standard_objects.h"

#include <bit>
#include <cstdio>

#include "protocol/frame_texts.h"

namespace tc101 {

namespace {

constexpr int kStateOctets = 1;
constexpr int kValue16Octets = 2;
constexpr int kFloatOctets = 4;
constexpr int kQdsOctets = 1;

constexpr std::uint8_t kMinuteMask = 0x3F;
constexpr std::uint8_t kHourMask = 0x1F;
constexpr std::uint8_t kDayMask = 0x1F;
constexpr std::uint8_t kMonthMask = 0x0F;
constexpr std::uint8_t kYearMask = 0x7F;
constexpr int kCenturyBase = 2000;

constexpr ElementLayout Point(PointKind kind, TimeTag time, int timeOctets) {
    return {kind, ValueForm::State, false, time, kStateOctets + timeOctets};
}

constexpr ElementLayout Measured(ValueForm form, bool quality, TimeTag time, int timeOctets) {
    const int value = form == ValueForm::ShortFloat ? kFloatOctets : kValue16Octets;
    return {PointKind::Measured, form, quality, time, value + (quality ? kQdsOctets : 0) + timeOctets};
}

}  // namespace

std::optional<ElementLayout> StandardElement(std::uint8_t type) {
    switch (type) {
        case 1: return Point(PointKind::SinglePoint, TimeTag::None, 0);
        case 2: return Point(PointKind::SinglePoint, TimeTag::Cp24, kCp24Octets);
        case 30: return Point(PointKind::SinglePoint, TimeTag::Cp56, kCp56Octets);
        case 3: return Point(PointKind::DoublePoint, TimeTag::None, 0);
        case 4: return Point(PointKind::DoublePoint, TimeTag::Cp24, kCp24Octets);
        case 31: return Point(PointKind::DoublePoint, TimeTag::Cp56, kCp56Octets);
        case 9: return Measured(ValueForm::Normalised, true, TimeTag::None, 0);
        case 10: return Measured(ValueForm::Normalised, true, TimeTag::Cp24, kCp24Octets);
        case 11: return Measured(ValueForm::Scaled, true, TimeTag::None, 0);
        case 12: return Measured(ValueForm::Scaled, true, TimeTag::Cp24, kCp24Octets);
        case 13: return Measured(ValueForm::ShortFloat, true, TimeTag::None, 0);
        case 14: return Measured(ValueForm::ShortFloat, true, TimeTag::Cp24, kCp24Octets);
        case 21: return Measured(ValueForm::Normalised, false, TimeTag::None, 0);
        case 34: return Measured(ValueForm::Normalised, true, TimeTag::Cp56, kCp56Octets);
        case 35: return Measured(ValueForm::Scaled, true, TimeTag::Cp56, kCp56Octets);
        case 36: return Measured(ValueForm::ShortFloat, true, TimeTag::Cp56, kCp56Octets);
        default: return std::nullopt;
    }
}

std::int64_t RawValue16(std::span<const std::uint8_t> element) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(element[0] | (element[1] << 8)));
}

float ShortFloatValue(std::span<const std::uint8_t> element) {
    const std::uint32_t bits = static_cast<std::uint32_t>(element[0]) | (static_cast<std::uint32_t>(element[1]) << 8) |
                               (static_cast<std::uint32_t>(element[2]) << 16) |
                               (static_cast<std::uint32_t>(element[3]) << 24);
    return std::bit_cast<float>(bits);
}

std::string TimeTagText(TimeTag tag, std::span<const std::uint8_t> octets, int localHour) {
    const auto milliseconds = static_cast<std::uint16_t>(octets[0] | (octets[1] << 8));
    const auto minutes = static_cast<std::uint8_t>(octets[2] & kMinuteMask);
    if (tag != TimeTag::Cp56) return EventTimeText(localHour, minutes, milliseconds);
    char date[48];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d ", kCenturyBase + (octets[6] & kYearMask), octets[5] & kMonthMask,
                  octets[4] & kDayMask);
    return date + EventTimeText(octets[3] & kHourMask, minutes, milliseconds);
}

}  // namespace tc101
