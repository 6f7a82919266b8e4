#pragma once

// Several simulated outstations sharing one line, as on a multi-drop
// unbalanced link: every block goes to each station, each answers only its
// own link address. One of them can fall silent for a while, as a unit with a
// broken modem does, so link monitoring can be tried out.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "outstation/outstation.h"

namespace tc101 {

class StationLine {
public:
    // A station at config.address and one at each of config.moreAddresses,
    // the n-th (from 0) with seed config.seed + n.
    StationLine(const StationConfig& config, StationClock clock);

    // The replies of every station that answers, in the order of the addresses.
    std::vector<Frame> Receive(std::span<const std::uint8_t> block);
    // Balanced mode (one station on the line): what its link sends on its own.
    bool Balanced() const { return stations_.front()->Balanced(); }
    std::vector<Frame> Poll();
    // The line's counts: frames handled by a station, frames no station took,
    // repeats; in balanced mode also the link's duplicates and losses.
    StationCounters Counters() const;
    std::size_t StationCount() const { return stations_.size(); }

private:
    bool Silent(std::size_t index, std::int64_t nowMs) const;

    StationConfig config_;
    StationClock clock_;
    std::int64_t startMs_ = 0;
    std::vector<std::uint16_t> addresses_;
    std::vector<std::unique_ptr<Outstation>> stations_;
    StationCounters counters_;
};

}  // namespace tc101
