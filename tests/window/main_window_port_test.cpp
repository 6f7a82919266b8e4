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
#include "serial/port_settings.h"
#include "serial/pty_harness.h"
#include "shell/config_dir.h"
#include "shell/message_hook.h"
#include "traffic/ui/traffic_log.h"
#include "shell/wait_for.h"

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
        EXPECT_EQ(window.BtnOpenCom->isEnabled(), !open);
        EXPECT_EQ(window.btnPortSet->isEnabled(), !open);
        EXPECT_EQ(window.btnCloseCom->isEnabled(), open);
        for (const QWidget* control : std::initializer_list<const QWidget*>{
                 window.BtnZZ, window.Btn1J, window.Btn2J, window.BtnLL, window.BtnSend, window.cekSend2, window.cbxMlzz})
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
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("Error opening serial port."));
    EXPECT_FALSE(window.PortOpen);
    EXPECT_FALSE(window.Comm1.IsOpen());
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
    window.show();
    window.BtnOpenCom->trigger();
    ASSERT_TRUE(window.PortOpen);
    ExpectCommands(window, true);
    EXPECT_EQ(window.StatusPanelText(0), QStringLiteral(u" 端口:") + QString::fromStdString(pty.SlaveName()));
    EXPECT_EQ(window.StatusPanelText(2), QStringLiteral(u" 数据位:7"));
    EXPECT_EQ(window.StatusPanelText(3), QStringLiteral(u" 效验位:偶"));
    EXPECT_EQ(window.StatusPanelText(5), QStringLiteral(u" 端口状态: 打开 "));

    window.Cycle().Sent();
    pty.Write({0x68, 0x0C, 0x0C, 0x68, 0x08, 0x01, 0x15, 0x82, 0x14, 0x01, 0x01, 0x40, 0xE8, 0x03, 0x18, 0xFC,
               0xF5, 0x16});
    ASSERT_TRUE(testing::WaitFor([&] { return window.ReplyReceived(); }));
    EXPECT_TRUE(window.Memo1->toPlainText().startsWith(QStringLiteral("Rx:68 0C 0C 68 08 01 15 82")));
    EXPECT_EQ(window.Tables().GrdYC.Cell(kFirstDeviceCol, 1), "1000");
    EXPECT_EQ(window.NextRequest(), MasterRequest::Class2);

    window.btnCloseCom->trigger();
    EXPECT_FALSE(window.PortOpen);
    EXPECT_FALSE(window.Comm1.IsOpen());
    ExpectCommands(window, false);
    EXPECT_EQ(window.StatusPanelText(5), QStringLiteral(u" 端口状态: 关闭 "));
}

TEST_F(MainWindowPortTest, CommandPageChangeStopsTheRunningTimers) {
    PtyPair pty;
    Comset().WriteString(kComSetSection, kKeyPort, pty.SlaveName());
    TfrmZh window;
    window.show();
    window.BtnOpenCom->trigger();
    ASSERT_TRUE(window.PortOpen);
    window.cbxMlzz->click();
    EXPECT_TRUE(window.TimerZZ->isActive());
    EXPECT_FALSE(window.BtnLL->isEnabled());
    EXPECT_FALSE(window.txtInteval1->isEnabled());
    window.PageControl2->setCurrentIndex(1);
    EXPECT_FALSE(window.cbxMlzz->isChecked());
    EXPECT_FALSE(window.TimerZZ->isActive());
    EXPECT_TRUE(window.BtnLL->isEnabled());
    EXPECT_TRUE(window.txtInteval1->isEnabled());

    window.cekSend2->click();
    EXPECT_TRUE(window.Timer1->isActive());
    EXPECT_FALSE(window.BtnSend->isEnabled());
    EXPECT_FALSE(window.BtnUpdate->isEnabled());
    window.PageControl2->setCurrentIndex(2);
    EXPECT_FALSE(window.cekSend2->isChecked());
    EXPECT_FALSE(window.Timer1->isActive());
    EXPECT_TRUE(window.BtnSend->isEnabled());
    EXPECT_TRUE(window.BtnUpdate->isEnabled());
}

TEST_F(MainWindowPortTest, VanishedDeviceClosesThePortAndSaysSoInRed) {
    PtyPair pty;
    Comset().WriteString(kComSetSection, kKeyPort, pty.SlaveName());
    TfrmZh window;
    window.show();
    window.BtnOpenCom->trigger();
    ASSERT_TRUE(window.PortOpen);
    window.cbxMlzz->setChecked(true);
    window.cbxMlzzClick();
    ASSERT_TRUE(window.TimerZZ->isActive());

    pty.CloseMaster();
    ASSERT_TRUE(testing::WaitFor([&] { return !window.PortOpen; }));
    EXPECT_FALSE(window.Comm1.IsOpen());
    EXPECT_FALSE(window.TimerZZ->isActive());
    EXPECT_FALSE(window.cbxMlzz->isChecked());
    ExpectCommands(window, false);
    EXPECT_EQ(window.StatusPanelText(5), QStringLiteral(u" 端口状态: 关闭 "));
    const QString log = window.Memo1->toPlainText();
    EXPECT_TRUE(log.contains(QString::fromStdString(pty.SlaveName()))) << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral(u"端口已关闭"))) << log.toStdString();
}

}  // namespace
}  // namespace tc101
