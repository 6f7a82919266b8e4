#include "outstation/station_commands.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "protocol/commands.h"
#include "protocol/frame.h"
#include "protocol/frame_layout.h"
#include "protocol/requests.h"

namespace tc101 {

namespace {

constexpr std::uint8_t kSelectBit = 0x80;
constexpr std::uint8_t kCauseDeactivation = 8;
constexpr std::uint8_t kCauseUnknownObject = 47;
constexpr std::uint8_t kCauseCounterGeneral = 37;
constexpr std::uint8_t kTypeIntegratedTotals = 15;
constexpr std::int64_t kMsPerDay = 86'400'000;

std::uint8_t CauseOf(std::uint8_t cause, bool negative) {
    return static_cast<std::uint8_t>(cause | (negative ? kCauseNegativeMask : 0));
}

// The command sent back with another cause: confirmations mirror the command.
Asdu Mirror(std::span<const std::uint8_t> asdu, std::uint8_t cause, bool negative = false) {
    constexpr std::size_t kCauseOffset = 2;
    Asdu reply(asdu.begin(), asdu.end());
    if (reply.size() > kCauseOffset) *(reply.begin() + kCauseOffset) = CauseOf(cause, negative);
    return reply;
}

Asdu Single(const AsduFields& fields, std::uint8_t type, std::uint8_t cause, std::uint32_t object) {
    const FieldSizes& sizes = fields.profile.sizes;
    Asdu asdu{type, kSingleObject, cause};
    if (sizes.cause > 1) asdu.push_back(fields.originator);
    AppendLittleEndian(asdu, fields.commonAddress, sizes.commonAddress);
    AppendLittleEndian(asdu, object, sizes.objectAddress);
    return asdu;
}

std::uint32_t YxBase(const AsduFields& fields) {
    return fields.profile.decoding == ObjectDecoding::Standard ? fields.profile.yxBase : 1;
}
std::uint32_t YcBase(const AsduFields& fields) {
    return fields.profile.decoding == ObjectDecoding::Standard ? fields.profile.ycBase : 1;
}

// The point numbered from 1 an object address names in a table, or 0.
int PointOf(std::uint32_t object, std::uint32_t base, std::size_t count) {
    if (object < base || object - base >= count) return 0;
    return static_cast<int>(object - base) + 1;
}

// Days since 1970-01-01 of a civil date.
std::int64_t DaysFromCivil(int year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const int era = (year >= 0 ? year : year - 399) / 400;
    const int yoe = year - era * 400;
    const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return static_cast<std::int64_t>(era) * 146097 + doe - 719468;
}

void CivilFromDays(std::int64_t days, ClockReading& out) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const auto doe = static_cast<int>(days - era * 146097);
    const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int mp = (5 * doy + 2) / 153;
    out.localDay = doy - (153 * mp + 2) / 5 + 1;
    out.localMonth = mp < 10 ? mp + 3 : mp - 9;
    out.localYear = static_cast<int>(yoe + era * 400) + (out.localMonth <= 2 ? 1 : 0);
}

std::int64_t MsOf(const ClockReading& reading) {
    return DaysFromCivil(reading.localYear, reading.localMonth, reading.localDay) * kMsPerDay + reading.localMsOfDay;
}

}  // namespace

bool IsStationCommand(std::uint8_t type) {
    switch (type) {
        case 45: case 46: case 48: case 49: case 50: case 101: case 102: case 103: case 104: case 105:
            return true;
        default:
            return false;
    }
}

ClockReading StationCommands::Adjust(const ClockReading& reading) const {
    if (clockOffsetMs_ == 0) return reading;
    ClockReading adjusted = reading;
    const std::int64_t ms = MsOf(reading) + clockOffsetMs_;
    const std::int64_t days = ms >= 0 ? ms / kMsPerDay : (ms - kMsPerDay + 1) / kMsPerDay;
    adjusted.localMsOfDay = ms - days * kMsPerDay;
    CivilFromDays(days, adjusted);
    return adjusted;
}

CommandAnswer StationCommands::Handle(std::span<const std::uint8_t> asdu, const AsduFields& fields,
                                      PointModel& points, const ClockReading& now) {
    const FieldSizes& sizes = fields.profile.sizes;
    const auto objectAt = static_cast<std::size_t>(2 + sizes.cause + sizes.commonAddress);
    const auto elementAt = objectAt + static_cast<std::size_t>(sizes.objectAddress);
    const auto type = static_cast<CommandType>(asdu[0]);
    const std::uint8_t cause = asdu[2] & 0x3F;
    if (asdu.size() < elementAt) return {Mirror(asdu, kCauseUnknownCause, true), {}};
    const std::uint32_t object = ReadLittleEndian(asdu, objectAt, sizes.objectAddress);
    const std::span<const std::uint8_t> element = asdu.subspan(elementAt);
    const bool read = type == CommandType::Read;
    if (read ? cause != kCauseRequested : (cause != kCauseActivation && cause != kCauseDeactivation))
        return {Mirror(asdu, kCauseUnknownCause, true), {}};

    if (!SelectBeforeOperate(type)) {
        CommandAnswer answer{Mirror(asdu, kCauseActivationConfirm), {}};
        switch (type) {
            case CommandType::CounterInterrogation: {
                if (object != 0) return {Mirror(asdu, kCauseUnknownObject, true), {}};
                // Totals that count up: one a second, each counter from its own start.
                const auto seconds = static_cast<std::uint32_t>(now.steadyMs / 1000);
                for (int counter = 1; counter <= kStationCounters; ++counter) {
                    Asdu unit = Single(fields, kTypeIntegratedTotals, kCauseCounterGeneral,
                                       kCounterBase + static_cast<std::uint32_t>(counter - 1));
                    AppendLittleEndian(unit, static_cast<std::uint32_t>(counter) * 1000 + seconds, 4);
                    unit.push_back(static_cast<std::uint8_t>(seconds & 0x1F));
                    answer.followUps.push_back(std::move(unit));
                }
                answer.followUps.push_back(Mirror(asdu, kCauseActivationTermination));
                return answer;
            }
            case CommandType::ClockSync: {
                if (object != 0 || element.size() < 7) return {Mirror(asdu, kCauseUnknownObject, true), {}};
                const Cp56Time time = ReadCp56(element);
                ClockReading target = now;
                target.localYear = time.year;
                target.localMonth = time.month;
                target.localDay = time.day;
                target.localMsOfDay = (time.hour * 60LL + time.minute) * 60'000 + time.millisecond;
                // The offset to the unadjusted clock the station reads.
                clockOffsetMs_ += MsOf(target) - MsOf(Adjust(now));
                return answer;
            }
            case CommandType::Read: {
                if (const int point = PointOf(object, YxBase(fields), points.Telesignals().size())) {
                    Asdu reply = Single(fields, kTypeSinglePoint, kCauseRequested, object);
                    reply.push_back(points.Telesignals()[static_cast<std::size_t>(point - 1)] ? 1 : 0);
                    return {reply, {}};
                }
                if (const int point = PointOf(object, YcBase(fields), points.MeasuredValues().size())) {
                    Asdu reply = Single(fields, kTypeMeasuredScaled, kCauseRequested, object);
                    AppendLittleEndian(reply, static_cast<std::uint16_t>(points.MeasuredValues()[static_cast<std::size_t>(point - 1)]), 2);
                    reply.push_back(0);
                    return {reply, {}};
                }
                return {Mirror(asdu, kCauseUnknownObject, true), {}};
            }
            default:  // test, reset process
                if (object != 0) return {Mirror(asdu, kCauseUnknownObject, true), {}};
                return answer;
        }
    }

    // Single and double commands act on telesignals, set-points on measured values.
    const bool onTelesignal = type == CommandType::Single || type == CommandType::Double;
    const int point = onTelesignal ? PointOf(object, YxBase(fields), points.Telesignals().size())
                                   : PointOf(object, YcBase(fields), points.MeasuredValues().size());
    if (point == 0 || element.empty()) return {Mirror(asdu, kCauseUnknownObject, true), {}};
    if (cause == kCauseDeactivation) {
        selected_.reset();
        return {Mirror(asdu, kCauseDeactivationConfirm), {}};
    }
    const bool select = (element.back() & kSelectBit) != 0;
    if (select) {
        selected_ = Selection{asdu[0], object, now.steadyMs};
        return {Mirror(asdu, kCauseActivationConfirm), {}};
    }
    const bool wasSelected = selected_ && selected_->type == asdu[0] && selected_->object == object &&
                             now.steadyMs - selected_->atMs <= selectTimeoutMs_;
    selected_.reset();
    if (!wasSelected && !directExecute_) return {Mirror(asdu, kCauseActivationConfirm, true), {}};

    CommandAnswer answer{Mirror(asdu, kCauseActivationConfirm), {}};
    if (onTelesignal) {
        bool state = (element[0] & 0x01) != 0;
        if (type == CommandType::Double) {
            const int dcs = element[0] & 0x03;
            if (dcs == 0 || dcs == 3) return {Mirror(asdu, kCauseActivationConfirm, true), {}};
            state = dcs == 2;
        }
        points.SetTelesignal(point, state);
        // The change before the termination, so the master sees it within the command.
        answer.followUps.push_back(TelesignalChange(fields, point, state));
        answer.followUps.push_back(Mirror(asdu, kCauseActivationTermination));
        return answer;
    }
    if (element.size() < 3) return {Mirror(asdu, kCauseUnknownObject, true), {}};
    double value = 0;
    // A normalised set-point is kept as its raw value, as the station's values are.
    if (type == CommandType::SetNormalised || type == CommandType::SetScaled) {
        value = static_cast<std::int16_t>(ReadLittleEndian(element, 0, 2));
    } else if (element.size() >= 5) {
        value = std::bit_cast<float>(ReadLittleEndian(element, 0, 4));
    }
    const auto stored = static_cast<std::int16_t>(std::clamp<long>(std::lround(value), INT16_MIN, INT16_MAX));
    points.SetMeasured(point, stored);
    answer.followUps.push_back(MeasuredChange(fields, point, stored));
    answer.followUps.push_back(Mirror(asdu, kCauseActivationTermination));
    return answer;
}

}  // namespace tc101
