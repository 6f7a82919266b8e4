#pragma once

// How the simulated outstation answers control commands: select before
// operate with a select time limit, commands on its telesignals and
// set-points on its measured values, clock synchronisation, counter
// interrogation with integrated totals that count up, read, test and reset
// process. Unknown object addresses get the negative confirmation (47).

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "outstation/point_model.h"
#include "outstation/station_asdu.h"
#include "outstation/station_clock.h"

namespace tc101 {

inline constexpr int kStationCounters = 4;
inline constexpr std::uint32_t kCounterBase = 0x6401;

// Whether a type identification is one of the commands below.
bool IsStationCommand(std::uint8_t type);

// The answer to one command: the confirmation, then what follows it as class 1 data.
struct CommandAnswer {
    Asdu confirmation;
    std::vector<Asdu> followUps;
};

class StationCommands {
public:
    StationCommands(std::int64_t selectTimeoutMs, bool directExecute)
        : selectTimeoutMs_(selectTimeoutMs), directExecute_(directExecute) {}

    // A command ASDU addressed to the station (common address already checked).
    CommandAnswer Handle(std::span<const std::uint8_t> asdu, const AsduFields& fields, PointModel& points,
                         const ClockReading& now);

    // The station's clock as set by clock synchronisation.
    ClockReading Adjust(const ClockReading& reading) const;

private:
    struct Selection {
        std::uint8_t type = 0;
        std::uint32_t object = 0;
        std::int64_t atMs = 0;
    };

    std::int64_t selectTimeoutMs_;
    bool directExecute_;
    std::optional<Selection> selected_;
    std::int64_t clockOffsetMs_ = 0;
};

}  // namespace tc101
