#pragma once

// The devices the master simulation polls on one line, in turn: each has
// its own poll decision (link state, frame count bit, last verdict) and its
// own link monitoring. The station keeps one live PollCycle, the current
// device's; the others wait here until their turn. A device's turn ends when
// it answered or its request went unanswered within the waiting rule; with
// one device the live cycle never leaves, so polling goes on as it always did.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "traffic/device_watch.h"
#include "traffic/poll_cycle.h"

namespace tc101 {

class DevicePolls {
public:
    struct Device {
        std::int64_t address = 0;
        DeviceWatch watch;
        // A request went to it and no answer has come yet.
        bool awaiting = false;
        // Its poll decision while another device's is live.
        PollCycle parked;
    };

    // The list polled from the next tick; a list other than the last one
    // starts over at its first device, the live cycle going on for it.
    void Follow(std::span<const std::int64_t> addresses, const PollCycle& live);
    // Silent requests after which a device counts as lost (each device, now and later).
    void SetLostAfter(int requests);

    // At a tick: the current device, when its request has waited out the
    // waiting rule without an answer (it is no longer awaited).
    Device* TakeTimedOut(const PollCycle& live);
    // At a tick: the next device becomes current when the current one has had its turn.
    void NextTurn(PollCycle& live);
    // A request of the tick went to the current device.
    void Polled();
    // A reply arrived: the current device when it was awaited.
    Device* Answered();

    bool Empty() const { return devices_.empty(); }
    const Device& Current() const { return devices_[current_]; }
    const std::vector<Device>& Devices() const { return devices_; }

private:
    std::vector<Device> devices_;
    std::size_t current_ = 0;
    bool turnTaken_ = false;
    int lostAfter_ = kDefaultLostAfter;
};

}  // namespace tc101
