#include "outstation/station_line.h"

#include <utility>

namespace tc101 {

StationLine::StationLine(const StationConfig& config, StationClock clock)
    : config_(config), clock_(std::move(clock)), startMs_(clock_().steadyMs) {
    addresses_.push_back(config.address);
    addresses_.insert(addresses_.end(), config.moreAddresses.begin(), config.moreAddresses.end());
    for (std::size_t n = 0; n < addresses_.size(); ++n) {
        StationConfig one = config;
        one.address = addresses_[n];
        one.seed = config.seed + static_cast<std::uint32_t>(n);
        stations_.push_back(std::make_unique<Outstation>(one, clock_));
    }
}

bool StationLine::Silent(std::size_t index, std::int64_t nowMs) const {
    if (!config_.silentAddress || *config_.silentAddress != addresses_[index]) return false;
    const std::int64_t from = startMs_ + config_.silentAfterMs;
    return nowMs >= from && (config_.silentForMs <= 0 || nowMs < from + config_.silentForMs);
}

std::vector<Frame> StationLine::Receive(std::span<const std::uint8_t> block) {
    const std::int64_t nowMs = clock_().steadyMs;
    std::vector<Frame> replies;
    std::int64_t handled = 0;
    std::int64_t ignored = 0;
    std::int64_t listening = 0;
    for (std::size_t n = 0; n < stations_.size(); ++n) {
        // A silent unit does not even hear the line.
        if (Silent(n, nowMs)) continue;
        Outstation& station = *stations_[n];
        const StationCounters before = station.Counters();
        for (Frame& reply : station.Receive(block)) replies.push_back(std::move(reply));
        const StationCounters& after = station.Counters();
        handled += after.framesHandled - before.framesHandled;
        ignored += after.framesIgnored - before.framesIgnored;
        counters_.repeats += after.repeats - before.repeats;
        ++listening;
    }
    // Each frame one station handled the others ignored; the rest every listener ignored.
    counters_.framesHandled += handled;
    if (listening > 0) counters_.framesIgnored += (ignored - (listening - 1) * handled) / listening;
    return replies;
}

std::vector<Frame> StationLine::Poll() {
    const std::int64_t nowMs = clock_().steadyMs;
    std::vector<Frame> frames;
    for (std::size_t n = 0; n < stations_.size(); ++n) {
        if (Silent(n, nowMs)) continue;
        Outstation& station = *stations_[n];
        const std::int64_t repeatsBefore = station.Counters().repeats;
        for (Frame& frame : station.Poll()) frames.push_back(std::move(frame));
        counters_.repeats += station.Counters().repeats - repeatsBefore;
    }
    return frames;
}

StationCounters StationLine::Counters() const {
    StationCounters counters = counters_;
    for (const auto& station : stations_) {
        counters.duplicates += station->Counters().duplicates;
        counters.lost += station->Counters().lost;
    }
    return counters;
}

}  // namespace tc101
