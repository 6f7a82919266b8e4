#pragma once

// The application data units the simulated outstation sends, in this tool's
// profile: cause and common address one octet each, object addresses two
// octets low first, measured values two octets.

#include <cstdint>
#include <span>
#include <vector>

namespace tc101 {

using Asdu = std::vector<std::uint8_t>;

// CP24Time2a without its hour: milliseconds within the minute and the minute.
struct EventTimeTag {
    std::uint16_t milliseconds = 0;  // 0 .. 59999
    std::uint8_t minutes = 0;        // 0 .. 59
};
EventTimeTag TimeTagOf(std::int64_t localMsOfDay);

// Type 100 with its qualifier: confirmation, negative confirmation, termination.
Asdu InterrogationAsdu(std::uint8_t commonAddress, std::uint8_t cause, std::uint8_t qualifier);
// Type 1, one sequence from object 1, cause 20.
Asdu TelesignalInterrogationReply(std::uint8_t commonAddress, const std::vector<bool>& states);
// Type 21, one sequence from object 1, cause 20.
Asdu MeasuredInterrogationReply(std::uint8_t commonAddress, std::span<const std::int16_t> values);
// Type 1, cause 3, one object.
Asdu TelesignalChange(std::uint8_t commonAddress, int point, bool state);
// Type 2, cause 3, one object with its time tag.
Asdu TelesignalEvent(std::uint8_t commonAddress, int point, bool state, EventTimeTag when);
// Type 21, cause 3, one object.
Asdu MeasuredChange(std::uint8_t commonAddress, int point, std::int16_t value);

}  // namespace tc101
