#pragma once

// How the line properties reach a Linux tty: a pure translation into termios
// flags, the speed code for standard rates, and the modem lines to hold.
// Linux has no counterpart for DSR flow control and DSR sensitivity, for
// sending on while XOFF holds the receiver, for the XON/XOFF thresholds or
// for a chosen parity-error character (with ParityCheck a bad byte reads as
// 0): those properties are kept but change nothing on the line. DTR
// handshake holds DTR raised.

#include <termios.h>

#include <cstdint>
#include <optional>

#include "serial/comm_settings.h"

namespace tc101 {

// The termios for the line: raw mode, receiver on, modem status ignored for
// open and read, framing, parity and flow control from the properties. The
// speed fields and the c_cc entries other than the flow-control characters
// and the raw-read pair are kept from `current`.
termios MakeLineTermios(const termios& current, const LineSettings& line);

// The termios speed code of a standard rate, or nothing for a rate that needs
// the kernel's arbitrary-rate interface.
std::optional<speed_t> StandardSpeed(std::uint32_t baudRate);

// DTR and RTS as the properties hold them while the port is open.
struct ModemLines {
    bool dtr = false;
    bool rts = false;
    bool operator==(const ModemLines&) const = default;
};
ModemLines HeldModemLines(const LineSettings& line);
// DTR and RTS right after opening, before the line is set up: as held, but
// RTS low under RTS toggle, where it means "sending".
ModemLines OpeningModemLines(const LineSettings& line);

}  // namespace tc101
