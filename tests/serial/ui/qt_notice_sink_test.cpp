// Notices from the serial threads reach the component's events on the GUI
// thread, in order, and none is delivered after the sink has gone.

#include <QCoreApplication>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "serial/comm.h"
#include "serial/notice_queue.h"
#include "serial/port_settings.h"
#include "serial/ui/qt_notice_sink.h"
#include "support/pty_harness.h"

namespace tc101 {
namespace {

using namespace testing_support;

constexpr int kWaitMs = 3000;

// The GUI side of a window: the sink first, so the component (which joins
// its threads) is destroyed before it.
struct GuiPort {
    GuiPort() {
        SetComm1Properties(comm);
        comm.OnReceiveData = [this](const std::uint8_t* data, std::uint16_t count) {
            onGuiThread = onGuiThread && QThread::currentThread() == qApp->thread();
            blocks.emplace_back(data, data + count);
        };
        comm.OnRequestHangup = [this] {
            onGuiThread = onGuiThread && QThread::currentThread() == qApp->thread();
            ++hangups;
        };
    }
    std::size_t Received() const {
        std::size_t total = 0;
        for (const auto& b : blocks) total += b.size();
        return total;
    }

    QtNoticeSink sink{comm};
    TComm comm{sink};
    std::vector<Bytes> blocks;
    int hangups = 0;
    bool onGuiThread = true;
};

class QtNoticeSinkOnPty : public testing::Test {
protected:
    void Open(std::uint32_t frameDelayMs) {
        port.comm.SetCommName(pty.SlaveName());
        port.comm.SetReadIntervalTimeout(frameDelayMs);
        port.comm.OpenPort();
    }
    PtyPair pty;
    GuiPort port;
};

TEST_F(QtNoticeSinkOnPty, BlocksArriveOnTheGuiThreadInOrder) {
    Open(20);
    const std::vector<Bytes> frames = {{0x10, 0x0B, 0x01, 0x0C, 0x16}, {0xE5}, Pattern(300), Pattern(2048 + 7, 3)};
    Bytes sent;
    for (const auto& frame : frames) {
        pty.Write(frame);
        sent.insert(sent.end(), frame.begin(), frame.end());
        // Longer than the frame delay, so each write is a block of its own.
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return port.Received() == sent.size(); }, kWaitMs));
    Bytes joined;
    for (const auto& b : port.blocks) joined.insert(joined.end(), b.begin(), b.end());
    EXPECT_EQ(joined, sent);
    // The last frame is longer than one read: 2048 bytes, then the rest.
    EXPECT_EQ(port.blocks.size(), frames.size() + 1);
    EXPECT_EQ(port.blocks.front(), frames.front());
    EXPECT_TRUE(port.onGuiThread);
}

TEST_F(QtNoticeSinkOnPty, APeerThatGoesAwayArrivesAsHangup) {
    Open(20);
    pty.Write(Pattern(6));
    ASSERT_TRUE(QTest::qWaitFor([&] { return port.Received() == 6; }, kWaitMs));
    pty.CloseMaster();
    ASSERT_TRUE(QTest::qWaitFor([&] { return port.hangups == 1; }, kWaitMs));
    EXPECT_TRUE(port.onGuiThread);
    port.comm.ClosePort();
}

// Notices posted from two threads at once keep each thread's order, and
// nothing runs before the event loop does.
TEST(QtNoticeSink, KeepsTheOrderOfEachPostingThread) {
    NoticeQueue unused;
    TComm comm(unused);
    QtNoticeSink sink(comm);
    std::vector<std::uint32_t> seen;
    bool onGuiThread = true;
    comm.OnModemStateChange = [&](std::uint32_t bits) {
        onGuiThread = onGuiThread && QThread::currentThread() == qApp->thread();
        seen.push_back(bits);
    };
    constexpr std::uint32_t kPerThread = 2000;
    constexpr std::uint32_t kSecondThread = 1u << 16;
    auto poster = [&sink](std::uint32_t base) {
        for (std::uint32_t i = 0; i < kPerThread; ++i) sink.Post(NotifyModem{base + i});
    };
    std::thread a(poster, 0);
    std::thread b(poster, kSecondThread);
    a.join();
    b.join();
    EXPECT_TRUE(seen.empty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return seen.size() == 2 * kPerThread; }, kWaitMs));
    std::uint32_t nextA = 0;
    std::uint32_t nextB = kSecondThread;
    for (std::uint32_t bits : seen) {
        if (bits < kSecondThread) {
            ASSERT_EQ(bits, nextA++);
        } else {
            ASSERT_EQ(bits, nextB++);
        }
    }
    EXPECT_TRUE(onGuiThread);
}

TEST(QtNoticeSink, NoticesQueuedForADestroyedSinkAreDropped) {
    NoticeQueue unused;
    TComm comm(unused);
    int delivered = 0;
    comm.OnReceiveData = [&](const std::uint8_t*, std::uint16_t) { ++delivered; };
    comm.OnSendDataEmpty = [&] { ++delivered; };
    {
        auto sink = std::make_unique<QtNoticeSink>(comm);
        std::thread worker([&] {
            sink->Post(NotifyData{{1, 2, 3, 0}});
            sink->Post(NotifyTxEmpty{});
        });
        worker.join();
    }
    QCoreApplication::processEvents();
    QTest::qWait(20);
    EXPECT_EQ(delivered, 0);
}

}  // namespace
}  // namespace tc101
