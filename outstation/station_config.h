#pragma once

// What one simulated outstation is: its address, its points, how often its
// data changes and which link behaviour it plays.

#include <cstdint>
#include <optional>
#include <vector>

#include "protocol/frame.h"
#include "protocol/link_profile.h"

namespace tc101 {

// One interrogation reply frame carries every point: 247 one-octet states
// or 123 two-octet values fill a frame of L = 255.
inline constexpr int kMaxStationYx = kMaxVariableLength - kVarHeaderLength;
inline constexpr int kStationYcBytes = 2;
inline constexpr int kMaxStationYc = (kMaxVariableLength - kVarHeaderLength) / kStationYcBytes;

struct StationConfig {
    // Link address, and common address unless the profile names its own;
    // a one-octet link address uses it modulo 256.
    std::uint16_t address = 1;
    int yxCount = 16;
    int ycCount = 8;
    // Milliseconds between spontaneous changes; 0 switches them off.
    std::int64_t changeEveryMs = 2000;  // measured values, class 2
    std::int64_t eventEveryMs = 5000;   // telesignal changes and events, class 1
    bool strictFcb = false;
    bool singleCharAck = false;
    // How long a selection waits for its execute; a lone execute is refused unless directExecute.
    std::int64_t selectTimeoutMs = 10'000;
    bool directExecute = false;
    std::uint32_t seed = 1;
    // Balanced mode, for tests of the master: the acknowledgement of the
    // master's dropAck-th user data frame is not sent (0: none), and from
    // silenceAtMs after the start for silenceForMs nothing is answered or sent.
    int dropAck = 0;
    std::int64_t silenceAtMs = 0;
    std::int64_t silenceForMs = 0;
    // The field sizes and object layout it answers in.
    LinkProfile profile;

    // On the line beside it (StationLine): a station at each of these link
    // addresses too, and one address that stops answering silentAfterMs
    // after the start for silentForMs (0: to the end).
    std::vector<std::uint16_t> moreAddresses;
    std::optional<std::uint16_t> silentAddress;
    std::int64_t silentAfterMs = 0;
    std::int64_t silentForMs = 0;
};

}  // namespace tc101
