// The window on a serial device server's TCP port, with a listener on the
// loopback address as the server.

#include <sys/socket.h>

#include <QAction>
#include <gtest/gtest.h>

#include "app/window/main_window.h"
#include "serial/port_settings.h"
#include "serial/tcp_socket.h"
#include "shell/config_dir.h"
#include "shell/message_hook.h"
#include "shell/wait_for.h"
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
    window.show();
    for (int round = 0; round < 2; ++round) {
        window.BtnOpenCom->trigger();
        ASSERT_TRUE(window.PortOpen);
        EXPECT_EQ(window.StatusPanelText(0), QStringLiteral(u" 端口:") + QString::fromStdString(name));
        EXPECT_EQ(window.StatusPanelText(5), QStringLiteral(u" 端口状态: 打开 (TCP连接: 线路参数不起作用) "));
        std::optional<UniqueFd> peer = server.Accept(3s);
        ASSERT_TRUE(peer);
        const std::uint8_t reply[] = {0x10, 0x0B, 0x01, 0x0C, 0x16};
        ASSERT_EQ(::send(peer->Get(), reply, sizeof reply, MSG_NOSIGNAL), static_cast<ssize_t>(sizeof reply));
        ASSERT_TRUE(testing::WaitFor([&] { return window.Memo1->toPlainText().contains(QStringLiteral("Rx:10 0B 01 0C 16")); }));

        peer->Reset();
        ASSERT_TRUE(testing::WaitFor([&] { return !window.PortOpen; })) << "round " << round;
        EXPECT_FALSE(window.Comm1.IsOpen());
        EXPECT_EQ(window.StatusPanelText(5), QStringLiteral(u" 端口状态: 关闭 "));
        EXPECT_TRUE(window.Memo1->toPlainText().endsWith(
            QStringLiteral(u"端口%1的设备已失效(适配器被拔出或设备故障)，端口已关闭。").arg(QString::fromStdString(name))));
    }
    EXPECT_TRUE(boxes.shown.empty());
}

}  // namespace
}  // namespace tc101
