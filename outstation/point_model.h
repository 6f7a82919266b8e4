#pragma once

// The outstation's points: the current telesignal states and measured
// values, started from the seeded pattern and moved on by numbered changes.

#include <cstdint>
#include <vector>

#include "outstation/station_config.h"

namespace tc101 {

struct PointChange {
    int point = 0;
    std::int16_t value = 0;  // the new state (0 or 1) for a telesignal
};

class PointModel {
public:
    explicit PointModel(const StationConfig& config);

    const std::vector<bool>& Telesignals() const { return telesignals_; }
    const std::vector<std::int16_t>& MeasuredValues() const { return measured_; }

    // A command's new state or set-point (point numbered from 1).
    void SetTelesignal(int point, bool state) { telesignals_[static_cast<std::size_t>(point - 1)] = state; }
    void SetMeasured(int point, std::int16_t value) { measured_[static_cast<std::size_t>(point - 1)] = value; }

    // The next measured value change; point 0 when there are no values.
    PointChange NextMeasuredChange();
    // The next event: a telesignal toggles; point 0 when there are none.
    PointChange NextEvent();

    std::int64_t ChangesMade() const { return changes_; }
    std::int64_t EventsMade() const { return events_; }

private:
    std::uint32_t seed_;
    std::vector<bool> telesignals_;
    std::vector<std::int16_t> measured_;
    std::int64_t changes_ = 0;
    std::int64_t events_ = 0;
};

}  // namespace tc101
