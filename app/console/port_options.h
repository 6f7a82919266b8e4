#pragma once

// The port options every console command that opens a port takes:
// --port, --baud, --data-bits, --parity, --stop-bits, --frame-delay. Each one
// given replaces the stored setting of comset.ini (section ComSet) for this
// run only; nothing is written back.

#include <string_view>

#include "app/console/args.h"
#include "serial/port_settings.h"

namespace tc101::console {

// For a usage line.
inline constexpr std::string_view kPortOptionsSynopsis =
    "[--port NAME] [--baud N] [--data-bits 5-8] [--parity none|odd|even|mark|space]\n"
    "            [--stop-bits 1|1.5|2] [--frame-delay MS] [--connect-timeout MS]";

// For a --help text: one line per option, then where the unset ones come from.
inline constexpr std::string_view kPortOptionsHelp =
    "  --port NAME        serial port: COM1 is /dev/ttyS0, COM2 /dev/ttyS1, ...; a path\n"
    "                     (/dev/ttyUSB0, /dev/serial/by-id/...) or a name under /dev (ttyUSB0);\n"
    "                     tcp:HOST:PORT for a serial device server's raw TCP port\n"
    "  --baud N           baud rate (any rate the adapter takes, e.g. 1200, 9600, 115200)\n"
    "  --data-bits N      5, 6, 7 or 8\n"
    "  --parity P         none, odd, even, mark or space\n"
    "  --stop-bits S      1, 1.5 or 2 (Linux sends 1.5 as 2)\n"
    "  --frame-delay MS   silence in milliseconds that ends a received block;\n"
    "                     -1 delivers bytes as soon as they arrive; 0 is refused\n"
    "  --connect-timeout MS  how long a tcp: port may take to connect (default 3000)\n"
    "  Port options not given come from comset.ini (section ComSet) in the settings\n"
    "  folder, as the main window's port settings store them (port, BaudRate,\n"
    "  ByteSize, Parity, StopBits, RecieveDelay); TC101_CONFIG_DIR chooses the folder.\n";

// For the --help text of the commands that play the master.
inline constexpr std::string_view kFrameCompleteHelp =
    "  --frame-complete   deliver a received block as soon as it holds only whole frames,\n"
    "                     without waiting for the frame delay (default: FrameComplete of\n"
    "                     section ComSet, off)\n";

// Takes the port options out of args over the given settings.
PortSettings TakePortOptions(Args& args, PortSettings stored);
// Over the settings stored in comset.ini.
PortSettings TakePortOptions(Args& args);
// Those and --frame-complete, for the commands that play the master.
PortSettings TakeMasterPortOptions(Args& args);

}  // namespace tc101::console
