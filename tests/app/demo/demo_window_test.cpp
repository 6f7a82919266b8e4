// The main window, offscreen, against the simulator over the demo's link:
// the master simulation at 50 ms runs the general interrogation, the tables
// hold the simulator's values scaled by the definitions, events arrive and
// no checksum fails. The session port leaves the stored settings alone.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QTimer>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "app/demo/demo_definitions.h"
#include "app/demo/demo_window.h"
#include "app/demo/pty_link.h"
#include "app/window/main_window.h"
#include "demo_window_fixture.h"
#include "files/table_file.h"
#include "files/ui/yc_yx_def_form.h"
#include "outstation/point_pattern.h"
#include "outstation/station_runner.h"
#include "protocol/measured_value.h"
#include "serial/port_settings.h"
#include "support/config_dir.h"
#include "support/find_part.h"
#include "support/message_hook.h"
#include "support/wait_for.h"
#include "traffic/ui/traffic_log.h"

namespace tc101::demo {
namespace {

constexpr int kYc = 10;
constexpr int kYx = 12;
constexpr std::uint32_t kSeed = 7;
constexpr int kPollIntervalMs = 50;
// Well after the interrogation at 50 ms ticks, well before the test's patience ends.
constexpr std::int64_t kEventEveryMs = 1500;
// A link address of two octets.
constexpr int kWideAddress = 257;

int DeviceColumn(const Table& table, int address) {
    const std::string title = std::to_string(address) + "#设备";
    for (int col = kFirstDeviceCol; col < table.ColCount(); ++col)
        if (table.Cell(col, 0) == title) return col;
    return -1;
}

class DemoWindowTest : public DemoWindowFixture {
protected:
    // Stand-in definitions written where the test keeps its files.
    DemoSession Session(const PtyLink& link) const {
        ValueTables tables;
        FillDemoYcDefinitions(tables.GrdYC, kYc);
        FillDemoYxDefinitions(tables.GrdYX, kYx);
        SaveTableFile(tables.GrdYC, File("demo-yc.sen"));
        SaveTableFile(tables.GrdYX, File("demo-yx.sen"));
        DemoSession session;
        session.port = link.PortB();
        session.ycFile = File("demo-yc.sen");
        session.yxFile = File("demo-yx.sen");
        return session;
    }

    // The simulator of these tests: the stand-ins' counts, values that stay as interrogated.
    static StationConfig Station(const LinkProfile& profile, int address, std::int64_t eventEveryMs) {
        StationConfig config;
        config.ycCount = kYc;
        config.yxCount = kYx;
        config.seed = kSeed;
        config.changeEveryMs = 0;
        config.eventEveryMs = eventEveryMs;
        config.profile = profile;
        config.address = static_cast<std::uint16_t>(address);
        return config;
    }

    // The window on the link's other end, prepared as the demo prepares it.
    void Open(TfrmZh& window, const PtyLink& link, const LinkProfile& profile = {}) const {
        window.SetSessionPort(link.PortB());
        window.show();
        DemoSession session = Session(link);
        session.profile = profile;
        PrepareDemoWindow(window, session);
    }
};

TEST_F(DemoWindowTest, MasterSimulationFillsTheTablesWithTheSimulatorsValues) {
    const PtyLink link;
    StationRunner runner(Station({}, 1, kEventEveryMs), StationPort(link.PortA()), [](const std::string&) {});
    runner.Start();

    TfrmZh window;
    Open(window, link);
    ASSERT_TRUE(window.PortOpen()) << "the session port did not open";
    EXPECT_TRUE(boxes.shown.empty());
    testing::Part<QSpinBox>(window, "txtInteval1")->setValue(kPollIntervalMs);
    auto* simulate = testing::Part<QCheckBox>(window, "cbxMlzz");
    QTest::mouseClick(simulate, Qt::LeftButton);
    ASSERT_TRUE(simulate->isChecked());

    const auto log = [memo = testing::Part<TrafficLog>(window, "Memo1")] { return memo->toPlainText(); };
    ASSERT_TRUE(testing::WaitFor([&] { return log().contains(QStringLiteral(u"【1#总召结束】")); }, 5000))
        << "no end of the general interrogation; log:\n" << log().toStdString();

    const ValueTables& tables = window.Tables();
    const int yxCol = DeviceColumn(tables.GrdYX, 1);
    const int ycCol = DeviceColumn(tables.GrdYC, 1);
    ASSERT_GE(yxCol, 0) << "no 1#设备 column in GrdYX";
    ASSERT_GE(ycCol, 0) << "no 1#设备 column in GrdYC";
    for (int point = 1; point <= kYx; ++point)
        EXPECT_EQ(tables.GrdYX.Cell(yxCol, point), InitialTelesignal(kSeed, point) ? "合" : "分") << "telesignal " << point;
    for (int point = 1; point <= kYc; ++point) {
        const std::string& ratio = tables.Definition(ValuePage::Yc, kYcRatioCol, point);
        EXPECT_EQ(tables.GrdYC.Cell(ycCol, point), MeasuredValueText(InitialMeasuredValue(kSeed, point), ratio))
            << "measured value " << point << " (ratio " << ratio << ")";
    }

    // The first event toggles one telesignal: named from the definitions, with the new state's text.
    ASSERT_TRUE(testing::WaitFor([&] { return !tables.GrdSJ.Cell(kSjNameCol, 1).empty(); }, 5000))
        << "no event in GrdSJ";
    const int toggled = EventPoint(kSeed, 1, kYx);
    const char* state = InitialTelesignal(kSeed, toggled) ? "分" : "合";
    EXPECT_EQ(tables.GrdSJ.Cell(kSjNameCol, 1), "开关" + std::to_string(toggled));
    EXPECT_EQ(tables.GrdSJ.Cell(kSjStateCol, 1), state);
    EXPECT_EQ(tables.GrdYX.Cell(yxCol, toggled), state);

    EXPECT_FALSE(log().contains(QStringLiteral(u"效验有误"))) << log().toStdString();
    window.close();
    runner.Stop();
    EXPECT_EQ(runner.Failure(), "");
    EXPECT_EQ(runner.Counters().framesIgnored, 0);
}

// Other profiles on both ends, legacy and standard decoding, a link address
// beyond one octet where the link takes two: the status bar names the
// profile, the values land in their rows and the events are read.
TEST_F(DemoWindowTest, MasterSimulationInOtherProfilesFillsTheRightRows) {
    struct Case {
        FieldSizes sizes;
        ObjectDecoding decoding;
    };
    const Case cases[] = {
        {{1, 1, 1, 2}, ObjectDecoding::Standard}, {{1, 2, 2, 3}, ObjectDecoding::Legacy},
        {{1, 2, 2, 3}, ObjectDecoding::Standard}, {{2, 2, 2, 3}, ObjectDecoding::Standard},
        {{2, 2, 2, 3}, ObjectDecoding::Legacy},   {{2, 1, 1, 2}, ObjectDecoding::Legacy},
        {{1, 1, 2, 3}, ObjectDecoding::Standard}, {{2, 2, 1, 2}, ObjectDecoding::Legacy},
    };
    for (const Case& c : cases) {
        LinkProfile profile;
        profile.sizes = c.sizes;
        profile.decoding = c.decoding;
        const bool standard = c.decoding == ObjectDecoding::Standard;
        const std::string name = FieldSizesText(c.sizes) + (standard ? " standard" : " legacy");
        SCOPED_TRACE(name);
        const int address = c.sizes.linkAddress == 2 ? kWideAddress : 7;
        const PtyLink link;
        StationRunner runner(Station(profile, address, kEventEveryMs), StationPort(link.PortA()), [](const std::string&) {});
        runner.Start();

        TfrmZh window;
        Open(window, link, profile);
        ASSERT_TRUE(window.PortOpen());
        EXPECT_EQ(testing::Part<QLabel>(window, "ProfilePanel")->text(),
                  QString::fromStdString(" 规约:" + FieldSizesText(c.sizes) + (standard ? " 标准" : "")));
        testing::Part<QSpinBox>(window, "txtInteval1")->setValue(kPollIntervalMs);
        testing::Part<QSpinBox>(window, "txtAdd")->setValue(address);
        QTest::mouseClick(testing::Part<QCheckBox>(window, "cbxMlzz"), Qt::LeftButton);

        const auto log = [memo = testing::Part<TrafficLog>(window, "Memo1")] { return memo->toPlainText(); };
        const ValueTables& tables = window.Tables();
        const auto filled = [&] {
            const int col = DeviceColumn(tables.GrdYC, address);
            return col >= 0 && !tables.GrdYC.Cell(col, kYc).empty() && !tables.GrdSJ.Cell(kSjNameCol, 1).empty();
        };
        ASSERT_TRUE(testing::WaitFor(filled, 8000)) << "no values or no event; log:\n" << log().toStdString();
        const int yxCol = DeviceColumn(tables.GrdYX, address);
        const int ycCol = DeviceColumn(tables.GrdYC, address);
        ASSERT_GE(yxCol, 0) << "no device column in GrdYX";
        const int toggled = EventPoint(kSeed, 1, kYx);
        for (int point = 1; point <= kYx; ++point)
            EXPECT_EQ(tables.GrdYX.Cell(yxCol, point),
                      (InitialTelesignal(kSeed, point) != (point == toggled)) ? "合" : "分")
                << "telesignal " << point;
        for (int point = 1; point <= kYc; ++point)
            EXPECT_EQ(tables.GrdYC.Cell(ycCol, point), MeasuredValueText(InitialMeasuredValue(kSeed, point),
                                                                         tables.Definition(ValuePage::Yc, kYcRatioCol, point)))
                << "measured value " << point;
        EXPECT_EQ(tables.GrdSJ.Cell(kSjNameCol, 1), "开关" + std::to_string(toggled));
        EXPECT_FALSE(log().contains(QStringLiteral(u"效验有误"))) << log().toStdString();
        window.close();
        runner.Stop();
        EXPECT_EQ(runner.Counters().framesIgnored, 0);
    }
}

// 遥测遥信设置 in the demo edits the stand-ins the tables show; closing without
// saving writes nothing to the working folder and the tables keep them.
TEST_F(DemoWindowTest, PointEditorShowsTheStandIns) {
    const QString previous = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(File("").string()));
    const PtyLink link;
    {
        TfrmZh window;
        Open(window, link);
        std::string shownYc;
        std::string shownYx;
        QTimer::singleShot(0, [&] {
            auto* editor = qobject_cast<Tfrmyxycdef*>(QApplication::activeModalWidget());
            if (editor == nullptr) return;
            shownYc = editor->YcTable().Cell(kDefNameCol, 1);
            shownYx = editor->YxTable().Cell(kDefNameCol, 1);
            editor->close();
        });
        testing::Part<QAction>(window, "BtnYcYxDef")->trigger();
        EXPECT_EQ(shownYc, window.Tables().GrdYC.Cell(kDefNameCol, 1));
        EXPECT_EQ(shownYx, "开关1");
        EXPECT_EQ(window.Tables().GrdYX.Cell(kDefNameCol, 1), "开关1");
        window.close();
    }
    EXPECT_FALSE(std::filesystem::exists(File("yc.sen")));
    EXPECT_FALSE(std::filesystem::exists(File("yx.sen")));
    EXPECT_TRUE(boxes.shown.empty());
    QDir::setCurrent(previous);
}

// Both ends balanced: the window's simulation initialises the link, the
// station sends its interrogation data unsolicited and the tables fill;
// class 1 and class 2 requests are off. Also with no link address.
TEST_F(DemoWindowTest, BalancedLinkFillsTheTables) {
    struct Case {
        FieldSizes sizes;
        ObjectDecoding decoding;
    };
    const Case cases[] = {
        {{1, 1, 1, 2}, ObjectDecoding::Legacy},
        {{2, 2, 2, 3}, ObjectDecoding::Standard},
        {{0, 1, 1, 2}, ObjectDecoding::Legacy},
    };
    for (const Case& c : cases) {
        LinkProfile profile;
        profile.mode = LinkMode::Balanced;
        profile.sizes = c.sizes;
        profile.decoding = c.decoding;
        SCOPED_TRACE(FieldSizesText(c.sizes));
        const int address = c.sizes.linkAddress == 2 ? kWideAddress : 7;
        const int column = c.sizes.linkAddress == 0 ? 0 : address;
        const PtyLink link;
        StationRunner runner(Station(profile, address, 0), StationPort(link.PortA()), [](const std::string&) {});
        runner.Start();

        TfrmZh window;
        Open(window, link, profile);
        ASSERT_TRUE(window.PortOpen());
        EXPECT_TRUE(testing::Part<QLabel>(window, "ProfilePanel")->text().endsWith(QStringLiteral(u" 平衡")));
        EXPECT_FALSE(testing::Part<QPushButton>(window, "Btn1J")->isEnabled());
        EXPECT_FALSE(testing::Part<QPushButton>(window, "Btn2J")->isEnabled());
        EXPECT_TRUE(testing::Part<QPushButton>(window, "BtnZZ")->isEnabled());
        testing::Part<QSpinBox>(window, "txtInteval1")->setValue(kPollIntervalMs);
        testing::Part<QSpinBox>(window, "txtAdd")->setValue(address);
        QTest::mouseClick(testing::Part<QCheckBox>(window, "cbxMlzz"), Qt::LeftButton);

        const auto log = [memo = testing::Part<TrafficLog>(window, "Memo1")] { return memo->toPlainText(); };
        const ValueTables& tables = window.Tables();
        const auto filled = [&] {
            const int col = DeviceColumn(tables.GrdYC, column);
            return col >= 0 && !tables.GrdYC.Cell(col, kYc).empty();
        };
        ASSERT_TRUE(testing::WaitFor(filled, 8000)) << "no values; log:\n" << log().toStdString();
        EXPECT_TRUE(log().contains(QStringLiteral(u"链路建立"))) << log().toStdString();
        const int yxCol = DeviceColumn(tables.GrdYX, column);
        const int ycCol = DeviceColumn(tables.GrdYC, column);
        ASSERT_GE(yxCol, 0) << "no device column in GrdYX";
        for (int point = 1; point <= kYx; ++point)
            EXPECT_EQ(tables.GrdYX.Cell(yxCol, point), InitialTelesignal(kSeed, point) ? "合" : "分") << point;
        for (int point = 1; point <= kYc; ++point)
            EXPECT_EQ(tables.GrdYC.Cell(ycCol, point), MeasuredValueText(InitialMeasuredValue(kSeed, point),
                                                                         tables.Definition(ValuePage::Yc, kYcRatioCol, point)))
                << point;
        EXPECT_FALSE(log().contains(QStringLiteral(u"效验有误"))) << log().toStdString();
        window.close();
        runner.Stop();
        EXPECT_EQ(runner.Counters().framesIgnored, 0);
    }
}

TEST_F(DemoWindowTest, SessionPortOpensInsteadOfTheStoredOneAndIsNeverStored) {
    const PtyLink link;
    IniFile comset(File("comset.ini"));
    comset.WriteString(kComSetSection, kKeyPort, "/dev/tc101-no-such-port");
    struct Case {
        const char* what;
        bool autoOpen;
    } cases[] = {{"opened by the demo", false}, {"opened at show (AutoOpen)", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        comset.WriteBool(kComSetSection, kKeyAutoOpen, c.autoOpen);
        {
            TfrmZh window;
            window.SetSessionPort(link.PortB());
            window.show();
            EXPECT_EQ(window.PortOpen(), c.autoOpen);
            PrepareDemoWindow(window, DemoSession{link.PortB(), {}, {}, false, {}, {}});
            EXPECT_TRUE(window.PortOpen());
            EXPECT_EQ(window.Comm().CommName(), link.PortB());
            // Closing and opening again by the menu stays on the session port.
            window.btnCloseComClick();
            EXPECT_EQ(window.StatusPanelText(0).toStdString(), " 端口:" + link.PortB()) << "the closed state names the stored port";
            window.BtnOpenComClick();
            EXPECT_TRUE(window.Comm().IsOpen());
            EXPECT_EQ(window.Comm().CommName(), link.PortB());
            window.close();
        }
        EXPECT_TRUE(boxes.shown.empty()) << boxes.shown.front().text.toStdString();
        EXPECT_EQ(ReadPortSettings(comset).port, "/dev/tc101-no-such-port");
    }
}

}  // namespace
}  // namespace tc101::demo
