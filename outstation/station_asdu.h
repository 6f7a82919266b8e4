#pragma once

// The application data units the simulated outstation sends, in its
// profile's field sizes. Legacy decoding: the tool's original units (type 1
// and type 21 sequences from object 1, changes of types 1, 2 and 21 with the
// point as object address). Standard decoding: standard element layouts
// with objects from the profile's bases (single points type 1, measured
// values type 11 with QDS, events type 30, changes type 13).

#include <cstdint>
#include <span>
#include <vector>

#include "outstation/station_clock.h"
#include "protocol/link_profile.h"

namespace tc101 {

using Asdu = std::vector<std::uint8_t>;

// What every unit of the station carries in its header.
struct AsduFields {
    LinkProfile profile;
    std::uint32_t commonAddress = 1;
    // Second cause octet: the profile's, or the originator of the command answered.
    std::uint8_t originator = 0;
};

// CP24Time2a without its hour: milliseconds within the minute and the minute.
struct EventTimeTag {
    std::uint16_t milliseconds = 0;  // 0 .. 59999
    std::uint8_t minutes = 0;        // 0 .. 59
};
EventTimeTag TimeTagOf(std::int64_t localMsOfDay);

// Type 100 with its qualifier: confirmation, negative confirmation, termination.
Asdu InterrogationAsdu(const AsduFields& fields, std::uint8_t cause, std::uint8_t qualifier);
// Cause 20 sequences of every point, as many units as the frames need.
std::vector<Asdu> TelesignalInterrogationReplies(const AsduFields& fields, const std::vector<bool>& states);
std::vector<Asdu> MeasuredInterrogationReplies(const AsduFields& fields, std::span<const std::int16_t> values);
// Cause 3, one object: a telesignal change, the event with its time tag, a
// measured value change.
Asdu TelesignalChange(const AsduFields& fields, int point, bool state);
Asdu TelesignalEvent(const AsduFields& fields, int point, bool state, const ClockReading& when);
Asdu MeasuredChange(const AsduFields& fields, int point, std::int16_t value);

}  // namespace tc101
