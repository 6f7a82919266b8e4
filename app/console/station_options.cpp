#include "app/console/station_options.h"

#include <cstdint>

namespace tc101::console {

namespace {
constexpr std::int64_t kMaxIntervalMs = 24LL * 60 * 60 * 1000;
}  // namespace

StationConfig TakeStationOptions(Args& args, StationConfig config) {
    if (auto v = args.Integer("--yx", 0, kMaxStationYx)) config.yxCount = static_cast<int>(*v);
    if (auto v = args.Integer("--yc", 0, kMaxStationYc)) config.ycCount = static_cast<int>(*v);
    if (auto v = args.Integer("--change-every", 0, kMaxIntervalMs)) config.changeEveryMs = *v;
    if (auto v = args.Integer("--event-every", 0, kMaxIntervalMs)) config.eventEveryMs = *v;
    if (auto v = args.Integer("--seed", 0, UINT32_MAX)) config.seed = static_cast<std::uint32_t>(*v);
    config.strictFcb = args.Flag("--strict-fcb");
    config.singleCharAck = args.Flag("--single-char-ack");
    if (auto v = args.Integer("--select-timeout", 1, kMaxIntervalMs)) config.selectTimeoutMs = *v;
    config.directExecute = args.Flag("--direct-execute");
    const bool balanced = config.profile.mode == LinkMode::Balanced;
    if (auto v = args.Integer("--drop-ack", 1, INT32_MAX)) config.dropAck = static_cast<int>(*v);
    if (auto v = args.Integer("--silence-at", 0, kMaxIntervalMs)) config.silenceAtMs = *v;
    if (auto v = args.Integer("--silence-for", 1, kMaxIntervalMs)) config.silenceForMs = *v;
    if (!balanced && (config.dropAck > 0 || config.silenceForMs > 0))
        throw UsageError("--drop-ack and --silence-for need --mode balanced");
    return config;
}

}  // namespace tc101::console
