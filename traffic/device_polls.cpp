#include "traffic/device_polls.h"

#include <algorithm>
#include <utility>

namespace tc101 {

void DevicePolls::Follow(std::span<const std::int64_t> addresses, const PollCycle& live) {
    if (std::equal(addresses.begin(), addresses.end(), devices_.begin(), devices_.end(),
                   [](std::int64_t address, const Device& device) { return device.address == address; }))
        return;
    devices_.clear();
    for (const std::int64_t address : addresses) {
        Device device;
        device.address = address;
        device.watch.SetLostAfter(lostAfter_);
        device.parked.SetStandardLink(live.StandardLink());
        device.parked.SetLinkOctets(live.LinkOctets());
        devices_.push_back(std::move(device));
    }
    current_ = 0;
    turnTaken_ = false;
}

void DevicePolls::SetLostAfter(int requests) {
    lostAfter_ = requests;
    for (Device& device : devices_) device.watch.SetLostAfter(requests);
}

DevicePolls::Device* DevicePolls::TakeTimedOut(const PollCycle& live) {
    if (devices_.empty()) return nullptr;
    Device& device = devices_[current_];
    if (!device.awaiting || live.ReplyReceived() || live.SilentTicks() < kMaxSilentTicks) return nullptr;
    device.awaiting = false;
    return &device;
}

void DevicePolls::NextTurn(PollCycle& live) {
    if (devices_.size() < 2 || !turnTaken_ || devices_[current_].awaiting) return;
    const std::size_t next = (current_ + 1) % devices_.size();
    // The settings reach only the live cycle: the next one takes them over.
    devices_[next].parked.SetStandardLink(live.StandardLink());
    devices_[next].parked.SetLinkOctets(live.LinkOctets());
    std::swap(live, devices_[current_].parked);
    std::swap(live, devices_[next].parked);
    current_ = next;
    turnTaken_ = false;
}

void DevicePolls::Polled() {
    if (devices_.empty()) return;
    devices_[current_].awaiting = true;
    turnTaken_ = true;
}

DevicePolls::Device* DevicePolls::Answered() {
    if (devices_.empty() || !devices_[current_].awaiting) return nullptr;
    devices_[current_].awaiting = false;
    return &devices_[current_];
}

}  // namespace tc101
