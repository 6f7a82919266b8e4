#include "outstation/point_model.h"

#include "outstation/point_pattern.h"

namespace tc101 {

PointModel::PointModel(const StationConfig& config) : seed_(config.seed) {
    for (int point = 1; point <= config.yxCount; ++point) telesignals_.push_back(InitialTelesignal(seed_, point));
    for (int point = 1; point <= config.ycCount; ++point) measured_.push_back(InitialMeasuredValue(seed_, point));
}

PointChange PointModel::NextMeasuredChange() {
    if (measured_.empty()) return {};
    ++changes_;
    const int point = ChangedMeasuredPoint(seed_, changes_, static_cast<int>(measured_.size()));
    const std::int16_t value = ChangedMeasuredValue(seed_, changes_);
    measured_[static_cast<std::size_t>(point - 1)] = value;
    return {point, value};
}

PointChange PointModel::NextEvent() {
    if (telesignals_.empty()) return {};
    ++events_;
    const int point = EventPoint(seed_, events_, static_cast<int>(telesignals_.size()));
    const auto index = static_cast<std::size_t>(point - 1);
    telesignals_[index] = !telesignals_[index];
    return {point, static_cast<std::int16_t>(telesignals_[index] ? 1 : 0)};
}

}  // namespace tc101
