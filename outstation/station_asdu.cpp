#include "outstation/station_asdu.h"

#include "protocol/frame.h"
#include "protocol/requests.h"

namespace tc101 {

namespace {

constexpr std::int64_t kMsPerMinute = 60'000;
constexpr std::int64_t kMinutesPerHour = 60;

std::uint8_t Low(int value) { return static_cast<std::uint8_t>(value & 0xFF); }
std::uint8_t High(int value) { return static_cast<std::uint8_t>((value >> 8) & 0xFF); }

Asdu Header(std::uint8_t type, std::uint8_t qualifier, std::uint8_t cause, std::uint8_t commonAddress,
            int firstObject) {
    return {type, qualifier, cause, commonAddress, Low(firstObject), High(firstObject)};
}

std::uint8_t SequenceOf(std::size_t count) {
    return static_cast<std::uint8_t>(kVsqSequenceMask | (count & 0x7F));
}

void AppendValue(Asdu& asdu, std::int16_t value) {
    const auto raw = static_cast<std::uint16_t>(value);
    asdu.push_back(Low(raw));
    asdu.push_back(High(raw));
}

}  // namespace

EventTimeTag TimeTagOf(std::int64_t localMsOfDay) {
    const std::int64_t ms = ((localMsOfDay % kMsPerMinute) + kMsPerMinute) % kMsPerMinute;
    const std::int64_t minutes = ((localMsOfDay / kMsPerMinute) % kMinutesPerHour + kMinutesPerHour) % kMinutesPerHour;
    return {static_cast<std::uint16_t>(ms), static_cast<std::uint8_t>(minutes)};
}

Asdu InterrogationAsdu(std::uint8_t commonAddress, std::uint8_t cause, std::uint8_t qualifier) {
    Asdu asdu = Header(kTypeInterrogation, kSingleObject, cause, commonAddress, 0);
    asdu.push_back(qualifier);
    return asdu;
}

Asdu TelesignalInterrogationReply(std::uint8_t commonAddress, const std::vector<bool>& states) {
    Asdu asdu = Header(kTypeSinglePoint, SequenceOf(states.size()), kCauseInterrogatedFirst, commonAddress, 1);
    for (const bool state : states) asdu.push_back(state ? 1 : 0);
    return asdu;
}

Asdu MeasuredInterrogationReply(std::uint8_t commonAddress, std::span<const std::int16_t> values) {
    Asdu asdu = Header(kTypeMeasuredNoQuality, SequenceOf(values.size()), kCauseInterrogatedFirst, commonAddress, 1);
    for (const std::int16_t value : values) AppendValue(asdu, value);
    return asdu;
}

Asdu TelesignalChange(std::uint8_t commonAddress, int point, bool state) {
    Asdu asdu = Header(kTypeSinglePoint, kSingleObject, kCauseSpontaneous, commonAddress, point);
    asdu.push_back(state ? 1 : 0);
    return asdu;
}

Asdu TelesignalEvent(std::uint8_t commonAddress, int point, bool state, EventTimeTag when) {
    Asdu asdu = Header(kTypeSinglePointTime, kSingleObject, kCauseSpontaneous, commonAddress, point);
    asdu.push_back(state ? 1 : 0);
    asdu.push_back(Low(when.milliseconds));
    asdu.push_back(High(when.milliseconds));
    asdu.push_back(when.minutes);
    return asdu;
}

Asdu MeasuredChange(std::uint8_t commonAddress, int point, std::int16_t value) {
    Asdu asdu = Header(kTypeMeasuredNoQuality, kSingleObject, kCauseSpontaneous, commonAddress, point);
    AppendValue(asdu, value);
    return asdu;
}

}  // namespace tc101
