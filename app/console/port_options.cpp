#include "app/console/port_options.h"

#include <array>
#include <cstdint>
#include <limits>
#include <string>

namespace tc101::console {

namespace {

constexpr std::int64_t kMaxUnsigned32 = std::numeric_limits<std::uint32_t>::max();
// A frame delay of -1 is the all-ones time-out: bytes go up as they arrive.
constexpr std::int64_t kMinFrameDelay = -1;

// In the order of the stored list indexes.
constexpr std::array<std::string_view, 5> kParityWords{"none", "odd", "even", "mark", "space"};
constexpr std::array<std::string_view, 3> kStopBitsWords{"1", "1.5", "2"};

std::int64_t IndexOf(std::span<const std::string_view> words, std::string_view word) {
    for (std::size_t i = 0; i < words.size(); ++i)
        if (words[i] == word) return static_cast<std::int64_t>(i);
    return -1;  // not reached: Args::Choice took only listed words
}

}  // namespace

PortSettings TakePortOptions(Args& args, PortSettings stored) {
    if (auto port = args.Value("--port")) {
        if (port->empty()) throw UsageError("--port needs a port name");
        stored.port = *port;
    }
    if (auto baud = args.Integer("--baud", 1, kMaxUnsigned32)) stored.baudRate = *baud;
    if (auto bits = args.Integer("--data-bits", kMinDataBits, kMaxDataBits)) stored.dataBits = *bits;
    if (auto parity = args.Choice("--parity", kParityWords)) stored.parity = IndexOf(kParityWords, *parity);
    if (auto stop = args.Choice("--stop-bits", kStopBitsWords)) stored.stopBits = IndexOf(kStopBitsWords, *stop);
    if (auto delay = args.Integer("--frame-delay", kMinFrameDelay, kMaxUnsigned32)) {
        if (!FrameDelayUsable(*delay))
            throw UsageError("--frame-delay must be -1 or 1 or more: " + std::to_string(*delay) +
                             " would deliver only full 2048-octet blocks");
        stored.recieveDelay = *delay;
    }
    if (auto timeout = args.Integer("--connect-timeout", 1, std::numeric_limits<std::int32_t>::max()))
        stored.connectTimeoutMs = *timeout;
    return stored;
}

PortSettings TakePortOptions(Args& args) { return TakePortOptions(args, ReadPortSettings(ComSetFile())); }

PortSettings TakeMasterPortOptions(Args& args) {
    PortSettings settings = TakePortOptions(args);
    if (args.Flag("--frame-complete")) settings.frameComplete = true;
    return settings;
}

}  // namespace tc101::console
