#pragma once

// The master station's poll decision, asked by the window's two timers and
// the console's ticks: the waiting rule (ReplyReceived, SilentTicks), the
// choice of the next request (NextRequest) and, when the standard link
// procedure is on, the frame count bit per link address and the reset of
// remote link. The station sends and logs; this class only decides. One
// thread drives it.

#include <bitset>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "protocol/poll_verdict.h"
#include "traffic/log_lines.h"

namespace tc101 {

// Ticks waited out without a reply before a timer sends anyway.
inline constexpr std::uint8_t kMaxSilentTicks = 3;

// What the reply that decides the next request was, for the standard link procedure.
enum class LinkReply : std::uint8_t { Other, LinkStatus, PositiveAck };
struct LinkReplyReading {
    LinkReply kind = LinkReply::Other;
    bool acd = false;  // class 1 data waiting (a fixed acknowledgement's ACD bit)
};
// The last frame of the block that sets a verdict, read as the analyser reads
// it: a secondary fixed frame with a good checksum, a variable frame, or E5.
// Fixed frames carry a link address of linkOctets octets.
LinkReplyReading ReadLinkReply(std::span<const std::uint8_t> block, int linkOctets = 1);

// The request NextRequest stands for: 0 link status, 1 class 1, 2 class 2,
// 3 general interrogation; any other value nothing.
std::optional<MasterRequest> RequestForVerdict(PollVerdict verdict);

// The frame with its FCB bit set or cleared and its checksum recomputed; a
// frame that is neither a whole fixed nor a whole variable frame comes back as it was.
std::vector<std::uint8_t> WithFcb(std::span<const std::uint8_t> frame, bool fcb, int linkOctets = 1);

class PollCycle {
public:
    // The standard link procedure (bwset.ini StandardLink); off: the frames and
    // the sequence of the plain master.
    void SetStandardLink(bool on) { standardLink_ = on; }
    bool StandardLink() const { return standardLink_; }
    // Octets of the link address in the frames sent and received (1 or 2).
    void SetLinkOctets(int octets) { linkOctets_ = octets; }
    int LinkOctets() const { return linkOctets_; }

    // "模拟主站(&M)" ticked while the port is open: begin with request status of link.
    void StartSimulation();
    // "连续发送(&T)" ticked while the port is open.
    void StartContinuous() { replyReceived_ = true; }

    // The waiting rule of both timers. False: this tick waits (counted);
    // true: send now, then call Sent() once the send went through.
    bool TickMaySend();
    // After a timed send: SilentTicks := 0, ReplyReceived := false.
    void Sent();
    // A command frame went out at a tick: counts as sent; an acknowledgement
    // of it asks for class 1 or 2 as ACD says.
    void CommandSent() {
        lastSent_.reset();
        Sent();
    }
    // A send-list message went out (step 6 of sending it).
    void MessageSent() { replyReceived_ = false; }

    // A master simulation tick: the request to send now, or nothing (waiting,
    // or a NextRequest that stands for none). Counts as sent when it answers.
    std::optional<MasterRequest> SimulationTick();

    // A received block that is not empty, with the analyser's verdict for it.
    void ReplyArrived(std::span<const std::uint8_t> block, PollVerdict verdict);

    // The octets to put on the line for a master request frame as built from
    // the settings: with the standard link procedure a frame with FCV gets the
    // address's next FCB (which then flips) and a reset of remote link makes
    // the next FCB 1; otherwise the frame as built.
    std::vector<std::uint8_t> FrameToSend(std::span<const std::uint8_t> built);

    bool ReplyReceived() const { return replyReceived_; }
    std::uint8_t SilentTicks() const { return silentTicks_; }
    // The next request of the simulation (the standard link procedure may choose a reset).
    std::optional<MasterRequest> NextRequest() const { return next_; }
    // The FCB the next request with FCV to this link address carries.
    bool NextFcb(std::uint16_t linkAddress) const { return nextFcb_[linkAddress]; }

private:
    static constexpr std::size_t kLinkAddresses = 65536;

    bool standardLink_ = false;
    int linkOctets_ = 1;
    bool replyReceived_ = true;
    std::uint8_t silentTicks_ = 0;
    std::optional<MasterRequest> next_ = MasterRequest::LinkStatus;
    std::optional<MasterRequest> lastSent_;
    std::bitset<kLinkAddresses> nextFcb_;
};

}  // namespace tc101
