#include "outstation/station_asdu.h"

#include <algorithm>
#include <bit>

#include "protocol/frame.h"
#include "protocol/frame_layout.h"
#include "protocol/requests.h"

namespace tc101 {

namespace {

constexpr std::int64_t kMsPerMinute = 60'000;
constexpr std::int64_t kMinutesPerHour = 60;
constexpr std::int64_t kMsPerHour = kMsPerMinute * kMinutesPerHour;
constexpr int kHoursPerDay = 24;
constexpr int kYearsPerCentury = 100;
constexpr int kMaxVsqNumber = 0x7F;

constexpr std::uint8_t kTypeMeasuredFloat = 13;
constexpr std::uint8_t kTypeSinglePointCp56 = 30;
constexpr std::uint8_t kQdsGood = 0;
// Octets per point of each interrogation reply element.
constexpr int kLegacyMeasuredOctets = 2;
constexpr int kScaledWithQdsOctets = 3;

bool Standard(const AsduFields& fields) { return fields.profile.decoding == ObjectDecoding::Standard; }

void AppendField(Asdu& asdu, std::uint32_t value, int octets) { AppendLittleEndian(asdu, value, octets); }

Asdu Header(const AsduFields& fields, std::uint8_t type, std::uint8_t qualifier, std::uint8_t cause,
            std::uint32_t firstObject) {
    const FieldSizes& sizes = fields.profile.sizes;
    Asdu asdu{type, qualifier, cause};
    if (sizes.cause > 1) asdu.push_back(fields.originator);
    AppendField(asdu, fields.commonAddress, sizes.commonAddress);
    AppendField(asdu, firstObject, sizes.objectAddress);
    return asdu;
}

std::uint8_t SequenceOf(std::size_t count) {
    return static_cast<std::uint8_t>(kVsqSequenceMask | (count & kMaxVsqNumber));
}

void AppendValue(Asdu& asdu, std::int16_t value) { AppendField(asdu, static_cast<std::uint16_t>(value), 2); }

// Points per sequence unit: what one frame holds, and in standard decoding
// no more than the qualifier's number can say.
std::size_t PointsPerUnit(const AsduFields& fields, int elementOctets) {
    const FrameLayout layout = LayoutOf(fields.profile.sizes);
    std::size_t points = static_cast<std::size_t>((kMaxVariableLength - layout.sequenceHeader) / elementOctets);
    if (Standard(fields)) points = std::min<std::size_t>(points, kMaxVsqNumber);
    return points;
}

// Object address of a point (numbered from 1) in a table with this base.
std::uint32_t ObjectOf(const AsduFields& fields, int point, std::uint32_t standardBase) {
    return (Standard(fields) ? standardBase : 1) + static_cast<std::uint32_t>(point - 1);
}

template <typename Value, typename Append>
std::vector<Asdu> Sequences(const AsduFields& fields, std::span<const Value> values, std::uint8_t type,
                            int elementOctets, std::uint32_t base, Append append) {
    std::vector<Asdu> units;
    const std::size_t perUnit = PointsPerUnit(fields, elementOctets);
    for (std::size_t first = 0; first < values.size(); first += perUnit) {
        const std::size_t count = std::min(perUnit, values.size() - first);
        Asdu asdu = Header(fields, type, SequenceOf(count), kCauseInterrogatedFirst,
                           ObjectOf(fields, static_cast<int>(first) + 1, base));
        for (std::size_t i = first; i < first + count; ++i) append(asdu, values[i]);
        units.push_back(std::move(asdu));
    }
    return units;
}

}  // namespace

EventTimeTag TimeTagOf(std::int64_t localMsOfDay) {
    const std::int64_t ms = ((localMsOfDay % kMsPerMinute) + kMsPerMinute) % kMsPerMinute;
    const std::int64_t minutes = ((localMsOfDay / kMsPerMinute) % kMinutesPerHour + kMinutesPerHour) % kMinutesPerHour;
    return {static_cast<std::uint16_t>(ms), static_cast<std::uint8_t>(minutes)};
}

Asdu InterrogationAsdu(const AsduFields& fields, std::uint8_t cause, std::uint8_t qualifier) {
    Asdu asdu = Header(fields, kTypeInterrogation, kSingleObject, cause, 0);
    asdu.push_back(qualifier);
    return asdu;
}

std::vector<Asdu> TelesignalInterrogationReplies(const AsduFields& fields, const std::vector<bool>& states) {
    // Standard units send single points too: a state octet per point.
    const std::vector<std::uint8_t> octets(states.begin(), states.end());
    return Sequences<std::uint8_t>(fields, octets, kTypeSinglePoint, 1, fields.profile.yxBase,
                                   [](Asdu& asdu, std::uint8_t state) { asdu.push_back(state); });
}

std::vector<Asdu> MeasuredInterrogationReplies(const AsduFields& fields, std::span<const std::int16_t> values) {
    if (!Standard(fields))
        return Sequences<std::int16_t>(fields, values, kTypeMeasuredNoQuality, kLegacyMeasuredOctets, 0,
                                       [](Asdu& asdu, std::int16_t value) { AppendValue(asdu, value); });
    return Sequences<std::int16_t>(fields, values, kTypeMeasuredScaled, kScaledWithQdsOctets, fields.profile.ycBase,
                                   [](Asdu& asdu, std::int16_t value) {
                                       AppendValue(asdu, value);
                                       asdu.push_back(kQdsGood);
                                   });
}

Asdu TelesignalChange(const AsduFields& fields, int point, bool state) {
    Asdu asdu = Header(fields, kTypeSinglePoint, kSingleObject, kCauseSpontaneous,
                       ObjectOf(fields, point, fields.profile.yxBase));
    asdu.push_back(state ? 1 : 0);
    return asdu;
}

Asdu TelesignalEvent(const AsduFields& fields, int point, bool state, const ClockReading& when) {
    const EventTimeTag tag = TimeTagOf(when.localMsOfDay);
    if (!Standard(fields)) {
        Asdu asdu = Header(fields, kTypeSinglePointTime, kSingleObject, kCauseSpontaneous, static_cast<std::uint32_t>(point));
        asdu.push_back(state ? 1 : 0);
        AppendField(asdu, tag.milliseconds, 2);
        asdu.push_back(tag.minutes);
        return asdu;
    }
    Asdu asdu = Header(fields, kTypeSinglePointCp56, kSingleObject, kCauseSpontaneous,
                       ObjectOf(fields, point, fields.profile.yxBase));
    asdu.push_back(state ? 1 : 0);
    const auto hour = static_cast<int>(((when.localMsOfDay / kMsPerHour) % kHoursPerDay + kHoursPerDay) % kHoursPerDay);
    AppendField(asdu, tag.milliseconds, 2);
    asdu.push_back(tag.minutes);
    asdu.push_back(static_cast<std::uint8_t>(hour));
    asdu.push_back(static_cast<std::uint8_t>(when.localDay));
    asdu.push_back(static_cast<std::uint8_t>(when.localMonth));
    asdu.push_back(static_cast<std::uint8_t>(when.localYear % kYearsPerCentury));
    return asdu;
}

Asdu MeasuredChange(const AsduFields& fields, int point, std::int16_t value) {
    if (!Standard(fields)) {
        Asdu asdu = Header(fields, kTypeMeasuredNoQuality, kSingleObject, kCauseSpontaneous, static_cast<std::uint32_t>(point));
        AppendValue(asdu, value);
        return asdu;
    }
    Asdu asdu = Header(fields, kTypeMeasuredFloat, kSingleObject, kCauseSpontaneous,
                       ObjectOf(fields, point, fields.profile.ycBase));
    AppendField(asdu, std::bit_cast<std::uint32_t>(static_cast<float>(value)), 4);
    asdu.push_back(kQdsGood);
    return asdu;
}

}  // namespace tc101
