#pragma once

// Helpers shared by the outstation tests: a hand-driven clock, the master's
// default requests, and frames as hex text.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "outstation/outstation.h"
#include "protocol/frame.h"
#include "protocol/hex_text.h"
#include "protocol/requests.h"

namespace tc101::testing_support {

using Bytes = std::vector<std::uint8_t>;

// The control fields the master sends by default (FCB never set).
inline constexpr std::uint8_t kLinkStatusRequest = 0x49;
inline constexpr std::uint8_t kClass1Request = 0x5A;
inline constexpr std::uint8_t kClass2Request = 0x5B;
inline constexpr std::uint8_t kResetLink = 0x40;
inline constexpr std::uint8_t kFcb = 0x20;

inline Bytes Hex(const std::string& text) { return HexTextToBytes(ToUpperAscii(NormalizeHexText(text))); }
inline std::string Text(const Bytes& bytes) { return BytesToHexText(bytes); }

inline Bytes Fixed(std::uint8_t control, std::uint8_t address = 1) {
    const auto frame = BuildFixedFrame(control, address);
    return {frame.begin(), frame.end()};
}

inline Bytes Interrogation(std::uint8_t control = kInterrogationControl, std::uint8_t address = 1,
                           std::uint8_t cause = kCauseActivation, std::uint8_t qualifier = kQoiStation,
                           std::uint8_t commonAddress = 1) {
    const Bytes asdu{kTypeInterrogation, 1, cause, commonAddress, 0, 0, qualifier};
    return BuildVariableFrame(control, address, asdu);
}

// Milliseconds the test moves on by hand.
struct ManualClock {
    std::shared_ptr<ClockReading> now = std::make_shared<ClockReading>();
    StationClock Reader() const {
        return [reading = now] { return *reading; };
    }
    void Advance(std::int64_t ms) {
        now->steadyMs += ms;
        now->localMsOfDay += ms;
    }
};

}  // namespace tc101::testing_support
