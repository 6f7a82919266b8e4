#pragma once

// The simulated outstation as a state machine: a received block in, the
// reply frames out. It plays the secondary station of an unbalanced link:
// link status and reset, class 1 and class 2 queues with the access demand
// bit, general interrogation, spontaneous data made on an injected clock,
// and optionally the frame count bit rules of the standard link procedure.

#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

#include "outstation/point_model.h"
#include "outstation/station_asdu.h"
#include "outstation/station_clock.h"
#include "outstation/station_commands.h"
#include "outstation/station_config.h"
#include "protocol/balanced_link.h"
#include "protocol/frame_layout.h"

namespace tc101 {

using Frame = std::vector<std::uint8_t>;

// How many data units a queue holds; spontaneous data due while a queue is
// full is not made (the point keeps its value), as a unit's buffer overflows.
inline constexpr std::size_t kMaxQueuedAsdus = 256;

// Longest pause between two blocks that may still carry one frame.
inline constexpr std::int64_t kFramePauseMs = 50;

struct StationCounters {
    std::int64_t framesHandled = 0;  // ours, checksum right, from the primary station
    std::int64_t framesIgnored = 0;  // other address, bad checksum, secondary frames
    std::int64_t repeats = 0;        // replies sent again for an untoggled frame count bit
    // Balanced mode: repeats are its own frames sent again for want of an answer.
    std::int64_t duplicates = 0;  // the master's frames received again
    std::int64_t lost = 0;        // times its link counted as lost
};

class Outstation {
public:
    Outstation(const StationConfig& config, StationClock clock);

    // Handles every frame of the block (a frame cut at the block's end is
    // completed by a block that follows within kFramePauseMs) and returns the
    // replies in sending order.
    std::vector<Frame> Receive(std::span<const std::uint8_t> block);
    // Makes the spontaneous data that has come due.
    void Advance();
    // Balanced mode: the time passed. Starts the link, sends what is due
    // (data as user data with confirmation, repeats, the idle test) and
    // returns those frames; nothing in unbalanced mode.
    std::vector<Frame> Poll();
    bool Balanced() const { return link_.has_value(); }
    // The balanced link's counters (zeros in unbalanced mode).
    LinkCounters LinkCountersOf() const { return link_ ? link_->Counters() : LinkCounters{}; }

    std::size_t Class1Waiting() const { return class1_.size(); }
    std::size_t Class2Waiting() const { return class2_.size(); }
    const PointModel& Points() const { return points_; }
    StationCounters Counters() const;

private:
    std::optional<Frame> HandleFrame(std::span<const std::uint8_t> frame, bool variable);
    std::optional<Frame> HandleFixed(std::uint8_t control);
    std::optional<Frame> HandleUserData(std::uint8_t control, std::span<const std::uint8_t> asdu);
    // Applies the frame count bit rules around producing a reply.
    template <typename Produce>
    std::optional<Frame> WithFrameCount(std::uint8_t control, Produce produce);

    // Queues the answer to an interrogation command; returns its confirmation.
    Asdu Interrogate(std::span<const std::uint8_t> command);
    // The same with the confirmation queued as class 1 data.
    void QueueInterrogation(std::span<const std::uint8_t> command);
    Frame ServeClassRequest(bool class1);
    // A control command: its confirmation, the rest queued as class 1 data.
    Asdu Command(std::span<const std::uint8_t> asdu);

    Frame Ack() const;
    Frame FixedReply(std::uint8_t function) const;
    Frame UserData(std::uint8_t function, const Asdu& asdu) const;
    std::uint8_t AccessDemand() const;

    void KeepTail(std::span<const std::uint8_t> data, std::size_t from);
    bool CouldBeFrameStart(std::span<const std::uint8_t> data, std::size_t at) const;
    // The header fields of the units it sends, with this originator.
    AsduFields Fields(std::uint8_t originator) const;
    void MakeDue(std::int64_t& next, std::int64_t every, std::int64_t now, std::size_t queued, bool events);
    // The balanced half (outstation_balanced.cpp).
    std::vector<Frame> ReceiveBalanced(std::span<const std::uint8_t> data);
    void Deliver(std::span<const std::uint8_t> frame);
    std::vector<Frame> CarryOut(BalancedLink::Outputs& out);
    bool Silent() const;
    bool IsOurInterrogation(std::span<const std::uint8_t> asdu) const;

    StationConfig config_;
    FrameLayout layout_;
    std::uint32_t linkAddress_;
    std::uint32_t commonAddress_;
    StationClock clock_;
    PointModel points_;
    std::deque<Asdu> class1_;
    std::deque<Asdu> class2_;
    std::int64_t nextChangeMs_ = 0;
    std::int64_t nextEventMs_ = 0;
    ClockReading now_;

    // Frame count bit state (strict mode): unknown until the first reset or
    // the first frame with FCV set.
    bool fcbKnown_ = false;
    bool expectedFcb_ = true;
    Frame lastReply_;

    // The start of a frame cut at the end of the last block, and when it came.
    std::vector<std::uint8_t> tail_;
    std::int64_t tailAtMs_ = 0;
    StationCounters counters_;
    StationCommands commands_;
    std::optional<BalancedLink> link_;
    std::int64_t startMs_ = 0;
    int userDataSeen_ = 0;
};

}  // namespace tc101
