#include "serial/line_termios.h"

#include <gtest/gtest.h>
#include <sys/ioctl.h>

#include <cstring>

#include "serial/comm_notice.h"
#include "serial/line_events.h"

namespace tc101 {
namespace {

// A tty fresh from the kernel: canonical, echoing, output processing on.
termios CookedTermios() {
    termios t{};
    t.c_iflag = ICRNL | IXON | IMAXBEL | BRKINT;
    t.c_oflag = OPOST | ONLCR;
    t.c_lflag = ICANON | ECHO | ECHOE | ISIG | IEXTEN;
    t.c_cflag = CS7 | PARENB | HUPCL;
    t.c_cc[VMIN] = 0;
    t.c_cc[VEOF] = 4;
    return t;
}

// Comm1's line: DTR and RTS off, no flow control, 8N1.
LineSettings Comm1Line() {
    LineSettings line;
    line.DtrControl = TDtrControl::DtrDisable;
    line.TxContinueOnXoff = false;
    line.Outx_XonXoffFlow = false;
    line.Inx_XonXoffFlow = false;
    line.RtsControl = TRtsControl::RtsDisable;
    line.XonChar = 0;
    line.XoffChar = 0;
    return line;
}

TEST(LineTermios, RawReceiverOnAndKeepsWhatItDoesNotOwn) {
    const termios t = MakeLineTermios(CookedTermios(), Comm1Line());
    EXPECT_EQ(t.c_iflag, 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(t.c_cflag, CS8 | CLOCAL | CREAD | HUPCL);
    EXPECT_EQ(t.c_cc[VMIN], 1);
    EXPECT_EQ(t.c_cc[VEOF], 4);
}

struct FramingCase {
    TByteSize byteSize;
    TParity parity;
    TStopBits stopBits;
    tcflag_t cflag;  // the framing bits expected
};

class LineFraming : public testing::TestWithParam<FramingCase> {};

TEST_P(LineFraming, DataBitsParityAndStopBits) {
    LineSettings line = Comm1Line();
    line.ByteSize = GetParam().byteSize;
    line.Parity = GetParam().parity;
    line.StopBits = GetParam().stopBits;
    const termios t = MakeLineTermios(CookedTermios(), line);
    EXPECT_EQ(t.c_cflag & (CSIZE | PARENB | PARODD | CMSPAR | CSTOPB), GetParam().cflag);
}

INSTANTIATE_TEST_SUITE_P(Cases, LineFraming,
                         testing::Values(FramingCase{TByteSize::_8, TParity::None, TStopBits::_1, CS8},
                                         FramingCase{TByteSize::_5, TParity::Odd, TStopBits::_2, CS5 | PARENB | PARODD | CSTOPB},
                                         FramingCase{TByteSize::_6, TParity::Even, TStopBits::_1_5, CS6 | PARENB | CSTOPB},
                                         FramingCase{TByteSize::_7, TParity::Mark, TStopBits::_1, CS7 | PARENB | PARODD | CMSPAR},
                                         FramingCase{TByteSize::_8, TParity::Space, TStopBits::_1, CS8 | PARENB | CMSPAR}));

TEST(LineTermios, AByteSizeOutsideTheListFallsBackToEightBits) {
    LineSettings line = Comm1Line();
    line.ByteSize = static_cast<TByteSize>(7);
    const termios t = MakeLineTermios(CookedTermios(), line);
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
}

TEST(LineTermios, FlowControlAndItsCharacters) {
    LineSettings line = Comm1Line();
    line.Outx_XonXoffFlow = true;
    line.XonChar = 0x11;
    line.XoffChar = 0x13;
    line.ParityCheck = true;
    termios t = MakeLineTermios(CookedTermios(), line);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF | INPCK), IXON | INPCK);
    EXPECT_EQ(t.c_cc[VSTART], 0x11);
    EXPECT_EQ(t.c_cc[VSTOP], 0x13);
    EXPECT_EQ(t.c_cflag & CRTSCTS, 0u);

    line.Inx_XonXoffFlow = true;
    line.Outx_XonXoffFlow = false;
    line.RtsControl = TRtsControl::RtsHandshake;
    t = MakeLineTermios(CookedTermios(), line);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF), IXOFF);
    EXPECT_EQ(t.c_cflag & CRTSCTS, CRTSCTS);

    line = Comm1Line();
    line.Outx_CtsFlow = true;
    EXPECT_EQ(MakeLineTermios(CookedTermios(), line).c_cflag & CRTSCTS, CRTSCTS);
}

TEST(LineTermios, StandardSpeedsAndTheRest) {
    EXPECT_EQ(StandardSpeed(9600), std::optional<speed_t>(B9600));
    EXPECT_EQ(StandardSpeed(115200), std::optional<speed_t>(B115200));
    EXPECT_EQ(StandardSpeed(50), std::optional<speed_t>(B50));
    EXPECT_EQ(StandardSpeed(12345), std::nullopt);
    EXPECT_EQ(StandardSpeed(0), std::nullopt);  // B0 would drop the line
}

TEST(LineTermios, ModemLinesHeldAsTheControlsSay) {
    LineSettings line;
    EXPECT_EQ(HeldModemLines(line), (ModemLines{.dtr = true, .rts = true}));
    EXPECT_EQ(HeldModemLines(Comm1Line()), (ModemLines{.dtr = false, .rts = false}));
    line.DtrControl = TDtrControl::DtrHandshake;
    line.RtsControl = TRtsControl::RtsTransmissionAvailable;
    EXPECT_EQ(HeldModemLines(line), (ModemLines{.dtr = true, .rts = true}));
}

TEST(LineEvents, CountersThatGrewBecomeErrorAndModemBits) {
    const LineCounts before{.frame = 1, .parity = 2, .overrun = 3, .brk = 4, .bufOverrun = 5, .dcd = 6, .rng = 7};
    EXPECT_EQ(ErrorMaskBetween(before, before), 0u);
    EXPECT_EQ(ModemMaskBetween(before, before), 0u);

    LineCounts after = before;
    after.frame++;
    after.brk++;
    EXPECT_EQ(ErrorMaskBetween(before, after), kCeFrame | kCeBreak);
    after = before;
    after.parity++;
    after.overrun++;
    after.bufOverrun++;
    EXPECT_EQ(ErrorMaskBetween(before, after), kCeRxParity | kCeOverrun | kCeRxOver);
    after.dcd += 2;
    after.rng++;
    EXPECT_EQ(ModemMaskBetween(before, after), kModemCarrierChanged | kModemRing);
    // A counter that wrapped still counts as a change.
    LineCounts wrapped = before;
    wrapped.frame = 0xFFFFFFFFu;
    EXPECT_EQ(ErrorMaskBetween(wrapped, before), kCeFrame);
}

TEST(LineEvents, ModemLinesWithoutCounters) {
    EXPECT_EQ(ModemMaskBetween(0, TIOCM_CAR), kModemCarrierChanged);
    EXPECT_EQ(ModemMaskBetween(TIOCM_CAR, 0), kModemCarrierChanged);
    EXPECT_EQ(ModemMaskBetween(0, TIOCM_RNG), kModemRing);
    EXPECT_EQ(ModemMaskBetween(TIOCM_RNG, 0), 0u);  // the ring ending is no new ring
    EXPECT_EQ(ModemMaskBetween(TIOCM_DSR, TIOCM_CTS), 0u);
}

}  // namespace
}  // namespace tc101
