// The window on a serial device server's TCP port, with a listener on the
// loopback address as the server.

#include <sys/socket.h>

#include <QAction>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include "app/window/main_window.h"
#include "window_parts.h"
#include "serial/comms_error.h"
#include "serial/port_settings.h"
#include "serial/tcp_socket.h"
#include "support/config_dir.h"
#include "support/message_hook.h"
#include "support/wait_for.h"
#include "traffic/ui/traffic_log.h"

namespace tc101 {
namespace {

using namespace std::chrono_literals;

class MainWindowTcpTest : public testing::ConfigDirTest {};

// Open shows the port with a note that the line settings do nothing; the
// server closing is the unplugged adapter's hang-up; opening again reconnects.
TEST_F(MainWindowTcpTest, HangUpClosesAndOpeningAgainReconnects) {
    testing::MessageRecorder boxes;
    TcpListener server(TcpEndpoint{true, "127.0.0.1", "0"});
    const std::string name = "tcp:127.0.0.1:" + std::to_string(server.Port());
    IniFile comset(File("comset.ini"));
    comset.WriteString(kComSetSection, kKeyPort, name);
    comset.WriteInteger(kComSetSection, kKeyRecieveDelay, 20);
    TfrmZh window;
    const testing::WindowParts ui(window);
    window.show();
    for (int round = 0; round < 2; ++round) {
        ui.BtnOpenCom->trigger();
        ASSERT_TRUE(testing::WaitFor([&] { return window.PortOpen(); }));
        EXPECT_EQ(window.StatusPanelText(0), QStringLiteral(u" 端口:") + QString::fromStdString(name));
        EXPECT_EQ(window.StatusPanelText(5), QStringLiteral(u" 端口状态: 打开 (TCP连接: 线路参数不起作用) "));
        std::optional<UniqueFd> peer = server.Accept(3s);
        ASSERT_TRUE(peer);
        const std::uint8_t reply[] = {0x10, 0x0B, 0x01, 0x0C, 0x16};
        ASSERT_EQ(::send(peer->Get(), reply, sizeof reply, MSG_NOSIGNAL), static_cast<ssize_t>(sizeof reply));
        ASSERT_TRUE(testing::WaitFor([&] { return ui.Memo1->toPlainText().contains(QStringLiteral("Rx:10 0B 01 0C 16")); }));

        peer->Reset();
        ASSERT_TRUE(testing::WaitFor([&] { return !window.PortOpen(); })) << "round " << round;
        EXPECT_FALSE(window.Comm().IsOpen());
        EXPECT_EQ(window.StatusPanelText(5), QStringLiteral(u" 端口状态: 关闭 "));
        EXPECT_TRUE(ui.Memo1->toPlainText().endsWith(
            QStringLiteral(u"端口%1的设备已失效(适配器被拔出或设备故障)，端口已关闭。").arg(QString::fromStdString(name))));
    }
    EXPECT_TRUE(boxes.shown.empty());
}

// The connect runs off the window's thread: the window answers at once and
// shows the system's reason in a box once the time-out has passed.
TEST_F(MainWindowTcpTest, ConnectingLeavesTheWindowResponsive) {
    testing::MessageRecorder boxes;
    TcpListener server(TcpEndpoint{true, "127.0.0.1", "0"});
    std::vector<UniqueFd> waiting;  // a full queue makes the server drop further requests
    for (int i = 0; i < 8; ++i) {
        try {
            waiting.push_back(ConnectTcp({false, "127.0.0.1", std::to_string(server.Port())}, 100ms));
        } catch (const ECommsError&) {
            break;
        }
    }
    IniFile comset(File("comset.ini"));
    comset.WriteString(kComSetSection, kKeyPort, "tcp:127.0.0.1:" + std::to_string(server.Port()));
    comset.WriteInteger(kComSetSection, kKeyConnectTimeout, 500);
    TfrmZh window;
    const testing::WindowParts ui(window);
    window.show();
    QElapsedTimer clock;
    clock.start();
    ui.BtnOpenCom->trigger();
    EXPECT_LT(clock.elapsed(), 250);
    EXPECT_FALSE(ui.BtnOpenCom->isEnabled());
    EXPECT_EQ(window.StatusPanelText(5), QStringLiteral(u" 端口状态: 正在连接 "));
    ASSERT_TRUE(testing::WaitFor([&] { return !boxes.shown.empty(); }));
    EXPECT_TRUE(boxes.shown.front().text.contains(QStringLiteral("Connection timed out"))) << boxes.shown.front().text.toStdString();
    EXPECT_FALSE(window.PortOpen());
    EXPECT_TRUE(ui.BtnOpenCom->isEnabled());
    EXPECT_EQ(window.StatusPanelText(5), QStringLiteral(u" 端口状态: 关闭 "));
}

}  // namespace
}  // namespace tc101
