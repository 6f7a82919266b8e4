// What reaches the tty, call by call: the modem lines set right after the
// open, and one write per frame from the console master.

#include <sys/ioctl.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "app/console/console_master.h"
#include "support/pty_harness.h"
#include "syscall_log.h"

namespace tc101 {
namespace {

using namespace testing_support;

std::vector<SysCall> Only(const std::vector<SysCall>& calls, const std::string& name) {
    std::vector<SysCall> found;
    for (const SysCall& c : calls)
        if (c.name == name) found.push_back(c);
    return found;
}

// Open raises DTR and RTS; they must be set as stored before the port is
// set up any further (only the exclusive lock may come first).
TEST(PortSyscalls, TheStoredModemLinesFollowTheOpenAtOnce) {
    struct Case {
        TDtrControl dtr;
        TRtsControl rts;
        unsigned long dtrCall;
        unsigned long rtsCall;
    };
    const Case cases[] = {
        {TDtrControl::DtrDisable, TRtsControl::RtsDisable, TIOCMBIC, TIOCMBIC},
        {TDtrControl::DtrEnable, TRtsControl::RtsEnable, TIOCMBIS, TIOCMBIS},
        {TDtrControl::DtrHandshake, TRtsControl::RtsHandshake, TIOCMBIS, TIOCMBIS},
        // Under RTS toggle a raised RTS means "sending".
        {TDtrControl::DtrDisable, TRtsControl::RtsTransmissionAvailable, TIOCMBIC, TIOCMBIC},
    };
    PtyPair pty;
    for (const Case& c : cases) {
        CommHarness h;
        h.comm.SetCommName(pty.SlaveName());
        h.comm.SetDtrControl(c.dtr);
        h.comm.SetRtsControl(c.rts);
        WatchDevice(pty.SlaveName());
        h.comm.OpenPort();
        h.comm.ClosePort();
        const std::vector<SysCall> calls = WatchedCalls();
        ASSERT_GE(calls.size(), 4u);
        EXPECT_EQ(calls[0].name, "open");
        EXPECT_EQ(calls[1].name, "flock");
        EXPECT_EQ(calls[2].name, "ioctl");
        EXPECT_EQ(calls[2].request, c.dtrCall);
        EXPECT_EQ(calls[2].bits, TIOCM_DTR);
        EXPECT_EQ(calls[3].name, "ioctl");
        EXPECT_EQ(calls[3].request, c.rtsCall);
        EXPECT_EQ(calls[3].bits, TIOCM_RTS);
    }
}

// FT1.2 allows no idle time inside a frame: the longest frame and a request
// each leave in one write.
TEST(PortSyscalls, TheConsoleMasterWritesEachFrameOnce) {
    PtyPair pty;
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    {
        console::InterruptSignals interrupts;
        ValueTables tables;
        console::ConsoleLog log(out, false);
        console::ConsoleMaster master(log, tables, interrupts, DecodingSettings{});
        PortSettings settings;
        settings.port = pty.SlaveName();
        WatchDevice(pty.SlaveName());
        master.Open(settings);

        MasterSettings linkStatus;
        linkStatus.shortValues[0] = 0x49;
        master.Station().SetSettings(linkStatus);
        Bytes longest(255, 0x68);
        master.Station().SendMessage(OutgoingMessage{"68 ...", longest});
        EXPECT_EQ(pty.Read(255).size(), 255u);
        const Bytes request{0x10, 0x49, 0x01, 0x4A, 0x16};
        master.Station().SendRequest(MasterRequest::LinkStatus, 1);
        EXPECT_EQ(pty.Read(5), request);
        master.Close();
    }
    std::fclose(out);
    std::vector<std::size_t> sizes;
    for (const SysCall& c : Only(WatchedCalls(), "write")) sizes.push_back(c.count);
    EXPECT_EQ(sizes, (std::vector<std::size_t>{255, 5}));
}

}  // namespace
}  // namespace tc101
