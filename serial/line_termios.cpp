#include "serial/line_termios.h"

#include <array>
#include <utility>

namespace tc101 {
namespace {

constexpr std::array<tcflag_t, 4> kCharSizeFlags = {CS5, CS6, CS7, CS8};

tcflag_t ParityFlags(TParity parity) {
    switch (parity) {
    case TParity::None: return 0;
    case TParity::Odd: return PARENB | PARODD;
    case TParity::Even: return PARENB;
    case TParity::Mark: return PARENB | PARODD | CMSPAR;
    case TParity::Space: return PARENB | CMSPAR;
    }
    return 0;
}

constexpr std::array<std::pair<std::uint32_t, speed_t>, 31> kStandardSpeeds = {{
    {50, B50},           {75, B75},           {110, B110},         {134, B134},         {150, B150},
    {200, B200},         {300, B300},         {600, B600},         {1200, B1200},       {1800, B1800},
    {2400, B2400},       {4800, B4800},       {9600, B9600},       {19200, B19200},     {38400, B38400},
    {57600, B57600},     {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000},
    {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000}, {4000000, B4000000},
    {0, B0},
}};

}  // namespace

termios MakeLineTermios(const termios& current, const LineSettings& line) {
    termios t = current;
    // Raw: every byte passes unchanged, no echo, no signals, no line editing.
    t.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF |
                                         IXANY | INPCK | IGNPAR | IUCLC | IMAXBEL);
    t.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    t.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHOE | ECHOK | ECHONL | ICANON | ISIG | IEXTEN);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    t.c_cflag |= CLOCAL | CREAD;

    // An ordinal outside the list (a cast from a hand-edited value) falls back to 8 bits.
    const auto sizeIndex = static_cast<std::size_t>(line.ByteSize);
    t.c_cflag |= sizeIndex < kCharSizeFlags.size() ? kCharSizeFlags[sizeIndex] : CS8;
    t.c_cflag |= ParityFlags(line.Parity);
    // Linux has no 1.5 stop bits; the nearest it can do is 2.
    if (line.StopBits != TStopBits::_1) {
        t.c_cflag |= CSTOPB;
    }
    if (line.ParityCheck) {
        t.c_iflag |= INPCK;
    }
    if (line.Outx_CtsFlow || line.RtsControl == TRtsControl::RtsHandshake) {
        t.c_cflag |= CRTSCTS;
    }
    if (line.Outx_XonXoffFlow) {
        t.c_iflag |= IXON;
    }
    if (line.Inx_XonXoffFlow) {
        t.c_iflag |= IXOFF;
    }
    t.c_cc[VSTART] = static_cast<cc_t>(line.XonChar);
    t.c_cc[VSTOP] = static_cast<cc_t>(line.XoffChar);
    // The port is read non-blocking after poll(); these only matter to other readers.
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    return t;
}

std::optional<speed_t> StandardSpeed(std::uint32_t baudRate) {
    if (baudRate == 0) {
        return std::nullopt;  // B0 would hang up the line, not set a rate
    }
    for (const auto& [rate, code] : kStandardSpeeds) {
        if (rate == baudRate) {
            return code;
        }
    }
    return std::nullopt;
}

ModemLines HeldModemLines(const LineSettings& line) {
    return ModemLines{
        .dtr = line.DtrControl != TDtrControl::DtrDisable,
        .rts = line.RtsControl != TRtsControl::RtsDisable,
    };
}

ModemLines OpeningModemLines(const LineSettings& line) {
    ModemLines lines = HeldModemLines(line);
    if (line.RtsControl == TRtsControl::RtsTransmissionAvailable) {
        lines.rts = false;
    }
    return lines;
}

}  // namespace tc101
