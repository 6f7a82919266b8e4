#pragma once

// One station's link layer on a balanced line: both stations are primary.
// As primary it initialises its own direction (request status of link,
// reset of remote link), then sends user data with confirmation, FCB
// alternating per confirmed frame, tests an idle line, repeats a frame that
// gets no answer and, after the retries, counts the link lost and starts
// again. As secondary it answers the other station's frames: status of link,
// acknowledgements, a repeated FCB acknowledged again but not delivered.
// A pure state machine: events in (a frame, the time, data to send), what to
// do out; the owner sends, logs and decodes.

#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

#include "protocol/link_profile.h"

namespace tc101 {

struct BalancedLinkConfig {
    // DIR of the frames this station sends: the master 1, the outstation 0.
    bool dir = true;
    int linkOctets = 1;
    // Link address of our primary frames (and of the other's answers to them).
    std::uint32_t sendAddress = 1;
    // Link address of the other's primary frames (and of our answers to them).
    std::uint32_t receiveAddress = 1;
    BalancedSettings settings;
};

// The config of a station in a profile: the master (DIR 1) towards the
// outstation at `address`, or the outstation (DIR 0) at `address`.
BalancedLinkConfig MasterLinkConfig(std::uint32_t address, const LinkProfile& profile);
BalancedLinkConfig OutstationLinkConfig(std::uint32_t address, const LinkProfile& profile);

enum class LinkAction : std::uint8_t {
    Send,       // put `frame` on the line (ours: a primary frame or an answer)
    Deliver,    // `frame` is the other's new user data: decode it
    Duplicate,  // `frame` repeats the other's last user data: acknowledged again, not delivered
    Repeat,     // no answer in time: the Send that follows is `attempt`'s repetition
    Lost,       // no answer after the retries: the link starts again
    Up,         // our direction is initialised (again, after a loss)
    Confirmed,  // our user data `frame` was acknowledged
};

// Which of our primary frames a Send or Repeat carries; None for an answer.
enum class LinkRequest : std::uint8_t { None, LinkStatus, ResetRemoteLink, TestLink, UserData };

struct LinkOutput {
    LinkAction action = LinkAction::Send;
    LinkRequest request = LinkRequest::None;
    std::vector<std::uint8_t> frame;
    int attempt = 0;

    friend bool operator==(const LinkOutput&, const LinkOutput&) = default;
};

// What the link saw, for statistics.
struct LinkCounters {
    std::int64_t repeats = 0;     // our frames sent again
    std::int64_t lost = 0;        // times the link was counted lost
    std::int64_t duplicates = 0;  // the other's frames received again
    std::int64_t unexpected = 0;  // frames that fit nothing awaited (wrong address, checksum, direction)

    friend bool operator==(const LinkCounters&, const LinkCounters&) = default;
};

class BalancedLink {
public:
    using Outputs = std::vector<LinkOutput>;

    explicit BalancedLink(const BalancedLinkConfig& config);

    // Starts (or restarts) the initialisation of our direction.
    void Start(std::int64_t nowMs, Outputs& out);
    // One whole frame from the line (fixed, variable or E5).
    void Received(std::span<const std::uint8_t> frame, std::int64_t nowMs, Outputs& out);
    // The time passed: repeats, loss, the idle test.
    void Tick(std::int64_t nowMs, Outputs& out);
    // An ASDU to send as user data with confirmation, once the link is up
    // and what was queued before is confirmed.
    void SendUserData(std::span<const std::uint8_t> asdu, std::int64_t nowMs, Outputs& out);
    // A request status of link by hand: sent now unless a frame awaits its answer.
    void RequestLinkStatus(std::int64_t nowMs, Outputs& out);

    bool Started() const { return state_ != State::Idle; }
    bool Up() const { return state_ == State::Up; }
    // Whether an ASDU waits (or awaits its confirmation).
    std::size_t UserDataWaiting() const { return queue_.size() + (pending_ && pending_->request == LinkRequest::UserData); }
    // When Tick has something to do; nothing when it has not.
    std::optional<std::int64_t> NextDue() const;
    const LinkCounters& Counters() const { return counters_; }
    const BalancedLinkConfig& Config() const { return config_; }

private:
    enum class State : std::uint8_t { Idle, AwaitStatus, AwaitReset, Up };

    struct Pending {
        LinkRequest request = LinkRequest::None;
        std::vector<std::uint8_t> frame;
        std::vector<std::uint8_t> asdu;  // user data: the ASDU, requeued after a loss
        std::int64_t sentAtMs = 0;
        int attempts = 0;
    };

    void SendPrimary(LinkRequest request, std::uint8_t function, bool withFcv, std::span<const std::uint8_t> asdu,
                     std::int64_t nowMs, Outputs& out);
    void SendNextUserData(std::int64_t nowMs, Outputs& out);
    void Answered(std::uint8_t function, bool singleChar, std::int64_t nowMs, Outputs& out);
    void AsSecondary(std::span<const std::uint8_t> frame, bool variable, std::int64_t nowMs, Outputs& out);
    void Answer(std::uint8_t function, Outputs& out) const;
    std::uint8_t Control(bool primary, std::uint8_t function) const;

    BalancedLinkConfig config_;
    State state_ = State::Idle;
    std::optional<Pending> pending_;
    std::deque<std::vector<std::uint8_t>> queue_;
    bool nextFcb_ = true;
    bool lost_ = false;
    std::int64_t lastTrafficMs_ = 0;
    // The other's frame count bit: the FCB of its last accepted frame with FCV.
    std::optional<bool> otherFcb_;
    std::vector<std::uint8_t> lastAnswer_;
    LinkCounters counters_;
};

}  // namespace tc101
