#include "serial/line_events.h"

#include <sys/ioctl.h>

#include "serial/comm_notice.h"

namespace tc101 {

std::uint32_t ErrorMaskBetween(const LineCounts& before, const LineCounts& after) {
    std::uint32_t mask = 0;
    if (after.bufOverrun != before.bufOverrun) mask |= kCeRxOver;
    if (after.overrun != before.overrun) mask |= kCeOverrun;
    if (after.parity != before.parity) mask |= kCeRxParity;
    if (after.frame != before.frame) mask |= kCeFrame;
    if (after.brk != before.brk) mask |= kCeBreak;
    return mask;
}

LineErrorCounts ErrorCountsBetween(const LineCounts& before, const LineCounts& after) {
    // The counters wrap; unsigned subtraction keeps the step right.
    return LineErrorCounts{.parity = after.parity - before.parity,
                           .framing = after.frame - before.frame,
                           .overrun = (after.overrun - before.overrun) + (after.bufOverrun - before.bufOverrun),
                           .breaks = after.brk - before.brk};
}

std::uint32_t ModemMaskBetween(const LineCounts& before, const LineCounts& after) {
    std::uint32_t mask = 0;
    if (after.dcd != before.dcd) mask |= kModemCarrierChanged;
    if (after.rng != before.rng) mask |= kModemRing;
    return mask;
}

std::uint32_t ModemMaskBetween(int linesBefore, int linesAfter) {
    std::uint32_t mask = 0;
    if ((linesBefore ^ linesAfter) & TIOCM_CAR) mask |= kModemCarrierChanged;
    if ((linesAfter & TIOCM_RNG) && !(linesBefore & TIOCM_RNG)) mask |= kModemRing;
    return mask;
}

}  // namespace tc101
