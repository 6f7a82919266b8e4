#pragma once

// Link monitoring of one device on the line: requests in a row that got no
// reply within the waiting rule, lost after a settable number of them until
// it answers again, and the time of its last answer.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace tc101 {

// Silent requests in a row after which a device counts as lost.
inline constexpr int kDefaultLostAfter = 3;
inline constexpr int kMaxLostAfter = 1000;

class DeviceWatch {
public:
    using Time = std::chrono::system_clock::time_point;
    enum class Change : std::uint8_t { None, Lost, Recovered };

    // Below 1 counts as 1.
    void SetLostAfter(int requests) { lostAfter_ = requests < 1 ? 1 : requests; }

    // A request went unanswered.
    Change Silent();
    // The device answered at this time.
    Change Answered(Time when);

    bool Lost() const { return lost_; }
    int SilentRequests() const { return silentRequests_; }
    std::optional<Time> LastAnswer() const { return lastAnswer_; }

private:
    int lostAfter_ = kDefaultLostAfter;
    int silentRequests_ = 0;
    bool lost_ = false;
    std::optional<Time> lastAnswer_;
};

// Log lines of link monitoring, the address as the banners show it:
// "N# 超时无应答", "N# 失联" and "N# 恢复应答".
std::string NoReplyText(std::int64_t address, int linkOctets);
std::string DeviceLostText(std::int64_t address, int linkOctets);
std::string DeviceBackText(std::int64_t address, int linkOctets);

// The tip of a device's cells: its last answer (local time), and whether it is lost.
std::string DeviceNote(const DeviceWatch& watch);

}  // namespace tc101
