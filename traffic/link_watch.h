#pragma once

// The unbalanced master's reading of its link for the statistics: every
// frame it sends waits for an answer; a received block answers it, and its
// frames are looked at for bad checksums and for frames a secondary station
// does not send. One thread drives it.

#include <cstdint>
#include <span>
#include <vector>

#include "traffic/link_statistics.h"

namespace tc101 {

struct BlockTrouble {
    std::uint64_t checksumErrors = 0;
    std::uint64_t primaryFrames = 0;  // PRM set: not an answer to the master
    std::uint64_t frames = 0;
    bool operator==(const BlockTrouble&) const = default;
};
// The frames of a block as the analyser finds them, with fixed frames of
// `linkOctets` address octets.
BlockTrouble ReadBlockTrouble(std::span<const std::uint8_t> block, int linkOctets);

// The same request again: equal but for the FCB bit and the checksum.
bool SameRequest(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b);

class LinkWatch {
public:
    using Clock = LinkStatistics::Clock;

    void SetLinkOctets(int octets) { linkOctets_ = octets; }
    // Balanced: the other station's primary frames are its own traffic, not
    // trouble, and only a secondary frame answers ours.
    void SetBalanced(bool balanced) { balanced_ = balanced; }
    // A frame put on the line: queued at `queuedAt`, gone (as far as the
    // station knows) at `endOfFrame`. The port's word comes to Statistics().FrameLeft.
    void Sent(std::span<const std::uint8_t> frame, Clock::time_point queuedAt, Clock::time_point endOfFrame);
    // A block whose first octet was read at `firstOctet`.
    void Received(std::span<const std::uint8_t> block, Clock::time_point firstOctet);
    // The run is over: a frame still waiting got no answer.
    void RunEnded() { stats_.TimedOut(); }

    LinkStatistics& Statistics() { return stats_; }
    const LinkStatistics& Statistics() const { return stats_; }
    void Reset() { stats_.Reset(); }

private:
    LinkStatistics stats_;
    int linkOctets_ = 1;
    bool balanced_ = false;
    std::vector<std::uint8_t> lastFrame_;
};

}  // namespace tc101
