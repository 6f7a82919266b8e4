// The port commands, the status bar and the serial component's events over a
// pseudo-terminal pair.

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QTimer>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "app/window/main_window.h"
#include "window_parts.h"
#include "serial/port_settings.h"
#include "support/pty_harness.h"
#include "support/config_dir.h"
#include "support/message_hook.h"
#include "traffic/ui/traffic_log.h"
#include "support/wait_for.h"

namespace tc101 {
namespace {

using testing_support::PtyPair;

class MainWindowPortTest : public testing::ConfigDirTest {
protected:
    IniFile Comset() const { return IniFile(File("comset.ini")); }
    QStringList Panels(const TfrmZh& window) const {
        QStringList texts;
        for (int i = 0; i < 6; ++i) texts << window.StatusPanelText(i);
        return texts;
    }
    void ExpectCommands(const TfrmZh& window, bool open) const {
        const testing::WindowParts ui(window);
        EXPECT_EQ(ui.BtnOpenCom->isEnabled(), !open);
        EXPECT_EQ(ui.btnPortSet->isEnabled(), !open);
        EXPECT_EQ(ui.btnCloseCom->isEnabled(), open);
        for (const QWidget* control : std::initializer_list<const QWidget*>{
                 ui.BtnZZ, ui.Btn1J, ui.Btn2J, ui.BtnLL, ui.BtnSend, ui.cekSend2, ui.cbxMlzz})
            EXPECT_EQ(control->isEnabled(), open) << control->metaObject()->className();
    }
    testing::MessageRecorder boxes;
};

TEST_F(MainWindowPortTest, ClosedStateShowsTheStoredSettings) {
    TfrmZh window;
    window.show();
    EXPECT_EQ(Panels(window), (QStringList{QStringLiteral(u" 端口:COM1"), QStringLiteral(u" 波特率:9600"),
                                           QStringLiteral(u" 数据位:8"), QStringLiteral(u" 效验位:无"),
                                           QStringLiteral(u" 停止位:1"), QStringLiteral(u" 端口状态: 关闭 ")}));
    ExpectCommands(window, false);
    // Each panel is as wide as its text: a longer port name widens panel 0.
    const int narrow = window.StatusPanel(0)->width();
    Comset().WriteString(kComSetSection, kKeyPort, "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A9XYZ-if00-port0");
    window.ShowPortState(false);
    EXPECT_GT(window.StatusPanel(0)->width(), narrow);
}

TEST_F(MainWindowPortTest, AbsentPortAtStartShowsTheErrorBoxAndStaysClosed) {
    IniFile comset = Comset();
    comset.WriteBool(kComSetSection, kKeyAutoOpen, true);
    comset.WriteString(kComSetSection, kKeyPort, "/dev/tc101-no-such-port");
    TfrmZh window;
    window.show();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, BoxKind::Error);
    EXPECT_EQ(boxes.shown[0].caption, QStringLiteral(u"澄风101规约调试工具V2.8"));
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("Error opening serial port. /dev/tc101-no-such-port: No such file or directory."));
    EXPECT_FALSE(window.PortOpen());
    EXPECT_FALSE(window.Comm().IsOpen());
    EXPECT_EQ(window.StatusPanelText(5), QStringLiteral(u" 端口状态: 关闭 "));
    ExpectCommands(window, false);
}

TEST_F(MainWindowPortTest, OpenReceiveAndClose) {
    PtyPair pty;
    IniFile comset = Comset();
    comset.WriteString(kComSetSection, kKeyPort, pty.SlaveName());
    comset.WriteInteger(kComSetSection, kKeyByteSize, 7);
    comset.WriteInteger(kComSetSection, kKeyParity, 2);
    comset.WriteInteger(kComSetSection, kKeyRecieveDelay, 20);
    TfrmZh window;
    const testing::WindowParts ui(window);
    window.show();
    ui.BtnOpenCom->trigger();
    ASSERT_TRUE(window.PortOpen());
    ExpectCommands(window, true);
    EXPECT_EQ(window.StatusPanelText(0), QStringLiteral(u" 端口:") + QString::fromStdString(pty.SlaveName()));
    EXPECT_EQ(window.StatusPanelText(2), QStringLiteral(u" 数据位:7"));
    EXPECT_EQ(window.StatusPanelText(3), QStringLiteral(u" 效验位:偶"));
    EXPECT_EQ(window.StatusPanelText(5), QStringLiteral(u" 端口状态: 打开 "));

    window.Cycle().Sent();
    pty.Write({0x68, 0x0C, 0x0C, 0x68, 0x08, 0x01, 0x15, 0x82, 0x14, 0x01, 0x01, 0x40, 0xE8, 0x03, 0x18, 0xFC,
               0xF5, 0x16});
    ASSERT_TRUE(testing::WaitFor([&] { return window.ReplyReceived(); }));
    EXPECT_TRUE(ui.Memo1->toPlainText().startsWith(QStringLiteral("Rx:68 0C 0C 68 08 01 15 82")));
    EXPECT_EQ(window.Tables().GrdYC.Cell(kFirstDeviceCol, 1), "1000");
    EXPECT_EQ(window.NextRequest(), MasterRequest::Class2);

    ui.btnCloseCom->trigger();
    EXPECT_FALSE(window.PortOpen());
    EXPECT_FALSE(window.Comm().IsOpen());
    ExpectCommands(window, false);
    EXPECT_EQ(window.StatusPanelText(5), QStringLiteral(u" 端口状态: 关闭 "));
}

TEST_F(MainWindowPortTest, CommandPageChangeStopsTheRunningTimers) {
    PtyPair pty;
    Comset().WriteString(kComSetSection, kKeyPort, pty.SlaveName());
    TfrmZh window;
    const testing::WindowParts ui(window);
    window.show();
    ui.BtnOpenCom->trigger();
    ASSERT_TRUE(window.PortOpen());
    // Each box, ticked on its own page, is unticked by the change to the next page.
    const struct {
        QCheckBox* box;
        QTimer* timer;
        std::initializer_list<QWidget*> lockedWhileTicked;
        int nextPage;
    } cases[] = {
        {ui.cbxMlzz, ui.TimerZZ, {ui.BtnLL, ui.txtInteval1}, 1},
        {ui.cekSend2, ui.Timer1, {ui.BtnSend, ui.BtnUpdate}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box->text().toStdString());
        c.box->click();
        EXPECT_TRUE(c.timer->isActive());
        for (const QWidget* control : c.lockedWhileTicked) EXPECT_FALSE(control->isEnabled());
        ui.PageControl2->setCurrentIndex(c.nextPage);
        EXPECT_FALSE(c.box->isChecked());
        EXPECT_FALSE(c.timer->isActive());
        for (const QWidget* control : c.lockedWhileTicked) EXPECT_TRUE(control->isEnabled());
    }
}

TEST_F(MainWindowPortTest, VanishedDeviceClosesThePortAndSaysSoInRed) {
    PtyPair pty;
    Comset().WriteString(kComSetSection, kKeyPort, pty.SlaveName());
    TfrmZh window;
    const testing::WindowParts ui(window);
    window.show();
    ui.BtnOpenCom->trigger();
    ASSERT_TRUE(window.PortOpen());
    ui.cbxMlzz->setChecked(true);
    window.cbxMlzzClick();
    ASSERT_TRUE(ui.TimerZZ->isActive());

    pty.CloseMaster();
    ASSERT_TRUE(testing::WaitFor([&] { return !window.PortOpen(); }));
    EXPECT_FALSE(window.Comm().IsOpen());
    EXPECT_FALSE(ui.TimerZZ->isActive());
    EXPECT_FALSE(ui.cbxMlzz->isChecked());
    ExpectCommands(window, false);
    EXPECT_EQ(window.StatusPanelText(5), QStringLiteral(u" 端口状态: 关闭 "));
    const QString log = ui.Memo1->toPlainText();
    EXPECT_TRUE(log.contains(QString::fromStdString(pty.SlaveName()))) << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral(u"端口已关闭"))) << log.toStdString();
}

// What makes the port look dead or the line garbled shows in red: a stored
// frame delay that cannot work (the port opens with 100 ms), line errors with
// their counts (one line a second at most) and a write the time-outs ended.
TEST_F(MainWindowPortTest, TroubleOnThePortShowsInTheLog) {
    PtyPair pty;
    Comset().WriteString(kComSetSection, kKeyPort, pty.SlaveName());
    Comset().WriteInteger(kComSetSection, kKeyRecieveDelay, 0);
    TfrmZh window;
    const testing::WindowParts ui(window);
    window.show();
    ui.BtnOpenCom->trigger();
    ASSERT_TRUE(window.PortOpen());
    EXPECT_EQ(window.Comm().ReadIntervalTimeout(), 100u);

    const auto lines = [&](const char* start) {
        return ui.Memo1->toPlainText().split(QLatin1Char('\n')).filter(QString::fromUtf8(start)).size();
    };
    EXPECT_EQ(lines("帧中断延时 0 毫秒无效(只能收到满 2048 字节的块), 端口按 100 毫秒打开"), 1);

    const auto post = [&](CommNotice notice) { window.NoticeSinkForTests().Post(std::move(notice)); };
    post(NotifyError{kCeRxParity | kCeFrame, LineErrorCounts{.parity = 3, .framing = 1, .overrun = 0, .breaks = 0}});
    ASSERT_TRUE(testing::WaitFor([&] { return lines("线路错误: 校验错 3, 帧错 1, 溢出 0, 中断信号 0") == 1; }));
    // Within the second they are added up and shown when it is over.
    for (int i = 0; i < 5; ++i) post(NotifyError{kCeOverrun, LineErrorCounts{.parity = 0, .framing = 0, .overrun = 2, .breaks = 0}});
    QTest::qWait(100);
    EXPECT_EQ(lines("线路错误"), 1);
    EXPECT_TRUE(testing::WaitFor([&] { return lines("线路错误: 校验错 0, 帧错 0, 溢出 10, 中断信号 0") == 1; }, 2000));
    EXPECT_EQ(lines("线路错误"), 2);

    post(NotifyWriteTimeout{.written = 4, .requested = 15});
    EXPECT_TRUE(testing::WaitFor([&] { return lines("写超时: 15 个字节只写出 4 个, 其余已丢弃") == 1; }));
    // The frame delay line came once, at the open.
    EXPECT_EQ(lines("帧中断延时"), 1);
}

}  // namespace
}  // namespace tc101
