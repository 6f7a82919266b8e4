// "控制命令(&K)" in the main window, offscreen, against the simulator over the
// demo's link, in the narrow and the wide profile and on a balanced link:
// each command type's exchange through the dialog's buttons, a negative
// confirmation, a selection that runs out before its execute, silence, and a
// command while the master simulation polls. The step outcomes show in the
// dialog and in the log.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/demo/demo_window.h"
#include "app/demo/pty_link.h"
#include "app/window/main_window.h"
#include "demo_window_fixture.h"
#include "outstation/station_runner.h"
#include "serial/port_settings.h"
#include "support/config_dir.h"
#include "support/find_part.h"
#include "support/message_hook.h"
#include "support/wait_for.h"
#include "traffic/ui/command_dialog.h"
#include "traffic/ui/traffic_log.h"

namespace tc101::demo {
namespace {

using testing::Part;

// Long enough that a loaded machine still executes in time, short enough to wait out.
constexpr std::int64_t kSelectTimeoutMs = 2000;
const QString kRunning = QStringLiteral(u"进行中…");

enum class Object { None, Yx, Yc, Unknown };

struct DialogCase {
    const char* name;
    CommandType type;
    Object object;
    int point;
    const char* value;  // the state's item for sc/dc, else the value box; "" leaves it
    std::vector<const char*> buttons;  // pressed in turn, each after the last one's result
    int pauseMs;  // between the presses
    const char* result;
    std::vector<const char*> steps;  // the dialog's step lines, also in the log
};

const DialogCase kCases[] = {
    {"sc select, execute", CommandType::Single, Object::Yx, 3, "1", {"btnSelect", "btnExecute"}, 0, "结果: 确认",
     {"选择: 确认 (COT 7)", "执行: 确认 (COT 7)", "执行: 终止 (COT 10)"}},
    {"dc select, execute", CommandType::Double, Object::Yx, 2, "0", {"btnSelect", "btnExecute"}, 0, "结果: 确认",
     {"选择: 确认 (COT 7)", "执行: 确认 (COT 7)", "执行: 终止 (COT 10)"}},
    {"se-nva", CommandType::SetNormalised, Object::Yc, 1, "0.25", {"btnSelect", "btnExecute"}, 0, "结果: 确认",
     {"选择: 确认 (COT 7)", "执行: 确认 (COT 7)", "执行: 终止 (COT 10)"}},
    {"se-sva", CommandType::SetScaled, Object::Yc, 2, "-1234", {"btnSelect", "btnExecute"}, 0, "结果: 确认",
     {"选择: 确认 (COT 7)", "执行: 确认 (COT 7)", "执行: 终止 (COT 10)"}},
    {"se-float", CommandType::SetFloat, Object::Yc, 3, "321.5", {"btnSelect", "btnExecute"}, 0, "结果: 确认",
     {"选择: 确认 (COT 7)", "执行: 确认 (COT 7)", "执行: 终止 (COT 10)"}},
    {"cs", CommandType::ClockSync, Object::None, 0, "", {"btnExecute"}, 0, "结果: 确认", {"激活: 确认 (COT 7)"}},
    {"ci", CommandType::CounterInterrogation, Object::None, 0, "5", {"btnExecute"}, 0, "结果: 确认",
     {"激活: 确认 (COT 7)", "激活: 终止 (COT 10)"}},
    {"rd", CommandType::Read, Object::Yx, 4, "", {"btnExecute"}, 0, "结果: 确认", {"激活: 确认 (COT 5)"}},
    {"ts", CommandType::Test, Object::None, 0, "", {"btnExecute"}, 0, "结果: 确认", {"激活: 确认 (COT 7)"}},
    {"rp", CommandType::ResetProcess, Object::None, 0, "1", {"btnExecute"}, 0, "结果: 确认", {"激活: 确认 (COT 7)"}},
    {"select, cancel", CommandType::Single, Object::Yx, 1, "1", {"btnSelect", "btnCancel"}, 0, "结果: 确认",
     {"选择: 确认 (COT 7)", "撤销: 确认 (COT 9)"}},
    {"direct execute refused", CommandType::Double, Object::Yx, 1, "1", {"btnDirect"}, 0, "结果: 否定确认 (COT 7)",
     {"执行: 否定确认 (COT 7)"}},
    {"unknown object", CommandType::Single, Object::Unknown, 0, "1", {"btnSelect"}, 0, "结果: 否定确认 (COT 47)",
     {"选择: 否定确认 (COT 47)"}},
    {"selection runs out", CommandType::Single, Object::Yx, 5, "1", {"btnSelect", "btnExecute"},
     static_cast<int>(kSelectTimeoutMs) + 300, "结果: 否定确认 (COT 7)",
     {"选择: 确认 (COT 7)", "执行: 否定确认 (COT 7)"}},
};

struct ProfileCase {
    FieldSizes sizes;
    ObjectDecoding decoding;
    int address;
    LinkMode mode = LinkMode::Unbalanced;
};
const ProfileCase kProfiles[] = {{{1, 1, 1, 2}, ObjectDecoding::Legacy, 7},
                                 {{2, 2, 2, 3}, ObjectDecoding::Standard, 257},
                                 {{1, 1, 1, 2}, ObjectDecoding::Legacy, 7, LinkMode::Balanced}};

using CommandDialogTest = DemoWindowFixture;

std::uint32_t ObjectAddress(const LinkProfile& profile, Object object, int point) {
    const bool standard = profile.decoding == ObjectDecoding::Standard;
    switch (object) {
        case Object::Yx: return (standard ? profile.yxBase : 1) + static_cast<std::uint32_t>(point - 1);
        case Object::Yc: return (standard ? profile.ycBase : 1) + static_cast<std::uint32_t>(point - 1);
        case Object::Unknown: return 0x3333;
        case Object::None: break;
    }
    return 0;
}

QStringList Items(const QListWidget& list) {
    QStringList items;
    for (int row = 0; row < list.count(); ++row) items << list.item(row)->text();
    return items;
}

TEST_F(CommandDialogTest, EachTypeThroughTheDialogInBothProfiles) {
    for (const ProfileCase& p : kProfiles) {
        LinkProfile profile;
        profile.sizes = p.sizes;
        profile.decoding = p.decoding;
        profile.mode = p.mode;
        const bool balanced = p.mode == LinkMode::Balanced;
        SCOPED_TRACE(FieldSizesText(p.sizes) + (balanced ? " balanced" : ""));
        const PtyLink link;
        StationConfig config;
        config.address = static_cast<std::uint16_t>(p.address);
        config.changeEveryMs = 0;
        config.eventEveryMs = 0;
        config.selectTimeoutMs = kSelectTimeoutMs;
        config.profile = profile;
        StationRunner runner(config, StationPort(link.PortA()), [](const std::string&) {});
        runner.Start();

        TfrmZh window;
        window.SetSessionPort(link.PortB());
        window.show();
        DemoSession session;
        session.port = link.PortB();
        session.profile = profile;
        PrepareDemoWindow(window, session);
        ASSERT_TRUE(window.PortOpen());
        Part<QSpinBox>(window, "txtAdd")->setValue(p.address);
        Part<QAction>(window, "btnCommand")->trigger();
        auto* dialog = Part<CommandDialog>(window, "frmCommand");
        ASSERT_TRUE(dialog->isVisible());
        auto* type = Part<QComboBox>(*dialog, "cmbType");
        auto* steps = Part<QListWidget>(*dialog, "lstSteps");
        auto* result = Part<QLabel>(*dialog, "lblResult");
        const auto log = [memo = Part<TrafficLog>(window, "Memo1")] { return memo->toPlainText(); };
        const auto press = [&](const char* button) {
            auto* pushed = Part<QPushButton>(*dialog, button);
            EXPECT_TRUE(pushed->isEnabled()) << button;
            QTest::mouseClick(pushed, Qt::LeftButton);
            EXPECT_EQ(result->text(), kRunning) << button;
            return testing::WaitFor([&] { return result->text() != kRunning; }, 5000);
        };
        const auto fill = [&](CommandType command, Object object, int point, const char* value) {
            type->setCurrentIndex(type->findData(static_cast<int>(command)));
            if (object != Object::None)
                Part<QLineEdit>(*dialog, "txtIoa")->setText(QString::number(ObjectAddress(profile, object, point)));
            if (command == CommandType::Single || command == CommandType::Double)
                Part<QComboBox>(*dialog, "cmbState")->setCurrentIndex(QString::fromLatin1(value).toInt());
            else if (*value != '\0')
                Part<QLineEdit>(*dialog, "txtValue")->setText(QString::fromLatin1(value));
        };

        for (const DialogCase& c : kCases) {
            SCOPED_TRACE(c.name);
            steps->clear();
            fill(c.type, c.object, c.point, c.value);
            for (std::size_t i = 0; i < c.buttons.size(); ++i) {
                if (i > 0) QTest::qWait(c.pauseMs);
                ASSERT_TRUE(press(c.buttons[i])) << "no result; log:\n" << log().toStdString();
            }
            EXPECT_EQ(result->text(), QString::fromUtf8(c.result));
            QStringList expected;
            for (const char* step : c.steps) expected << QString::fromUtf8(step);
            EXPECT_EQ(Items(*steps), expected);
            for (const QString& step : expected) EXPECT_TRUE(log().contains(step)) << step.toStdString();
        }

        // The balanced link came up for the first command, without an interrogation.
        if (balanced) {
            EXPECT_TRUE(log().contains(QStringLiteral(u"%1# 链路建立").arg(p.address)));
            EXPECT_FALSE(log().contains(QStringLiteral(u"========总召")));
        }

        // While the master simulation polls, the command takes its ticks and
        // polling goes on after it (a balanced link is not polled).
        if (!balanced) {
            Part<QSpinBox>(window, "txtInteval1")->setValue(50);
            const auto polled = [&, from = log().size()] { return log().mid(from).count(QStringLiteral("========")) / 2; };
            QTest::mouseClick(Part<QCheckBox>(window, "cbxMlzz"), Qt::LeftButton);
            ASSERT_TRUE(testing::WaitFor([&] { return polled() >= 3; }, 5000));
            steps->clear();
            fill(CommandType::Single, Object::Yx, 6, "1");
            ASSERT_TRUE(press("btnSelect"));
            ASSERT_TRUE(press("btnExecute"));
            EXPECT_EQ(result->text(), QStringLiteral(u"结果: 确认"));
            EXPECT_EQ(Items(*steps).size(), 3);
            const qsizetype afterCommand = polled();
            ASSERT_TRUE(testing::WaitFor([&] { return polled() >= afterCommand + 3; }, 5000)) << "polling did not go on";
            QTest::mouseClick(Part<QCheckBox>(window, "cbxMlzz"), Qt::LeftButton);
        }

        // A device address nobody answers: the step runs out.
        Part<QSpinBox>(window, "txtAdd")->setValue(p.address + 1);
        Part<QSpinBox>(*dialog, "spnTimeout")->setValue(300);
        steps->clear();
        ASSERT_TRUE(press("btnSelect"));
        EXPECT_EQ(result->text(), QStringLiteral(u"结果: 超时"));
        EXPECT_EQ(Items(*steps), QStringList{QStringLiteral(u"选择: 超时 (300 ms)")});

        EXPECT_TRUE(boxes.shown.empty()) << boxes.shown.front().text.toStdString();
        EXPECT_FALSE(log().contains(QStringLiteral(u"效验有误")));
        window.close();
        runner.Stop();
        EXPECT_EQ(runner.Failure(), "");
    }
}

// Values the command cannot carry, and a closed port, are refused with a box before anything is sent.
TEST_F(CommandDialogTest, RefusesValuesThatCannotGo) {
    const PtyLink link;
    TfrmZh window;
    window.SetSessionPort(link.PortB());
    window.show();
    DemoSession session;
    session.port = link.PortB();
    PrepareDemoWindow(window, session);
    Part<QAction>(window, "btnCommand")->trigger();
    auto* dialog = Part<CommandDialog>(window, "frmCommand");
    auto* type = Part<QComboBox>(*dialog, "cmbType");
    struct Refusal {
        CommandType type;
        const char* ioa;
        const char* value;
        const char* box;
    };
    const Refusal refusals[] = {
        {CommandType::Single, "65536", "", "信息体地址 \"65536\" 不可用: 0 至 65535"},
        {CommandType::Single, "0x1G", "", "信息体地址 \"0x1G\" 不可用"},
        {CommandType::SetNormalised, "1", "1", "值 \"1\" 不可用: -1 至 1 (不含 1)"},
        {CommandType::SetScaled, "1", "32768", "值 \"32768\" 不可用: -32768 至 32767"},
        {CommandType::SetScaled, "1", "1.5", "值 \"1.5\" 不可用"},
        {CommandType::SetFloat, "1", "abc", "值 \"abc\" 不可用: 数值"},
        {CommandType::CounterInterrogation, "", "256", "值 \"256\" 不可用: QCC 0 至 255"},
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.box);
        boxes.shown.clear();
        type->setCurrentIndex(type->findData(static_cast<int>(r.type)));
        Part<QLineEdit>(*dialog, "txtIoa")->setText(QString::fromLatin1(r.ioa));
        if (*r.value != '\0') Part<QLineEdit>(*dialog, "txtValue")->setText(QString::fromLatin1(r.value));
        const auto sent = Part<TrafficLog>(window, "Memo1")->toPlainText();
        QTest::mouseClick(Part<QPushButton>(*dialog, r.type == CommandType::CounterInterrogation ? "btnExecute" : "btnSelect"),
                          Qt::LeftButton);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_TRUE(boxes.shown.front().text.startsWith(QString::fromUtf8(r.box))) << boxes.shown.front().text.toStdString();
        EXPECT_EQ(Part<TrafficLog>(window, "Memo1")->toPlainText(), sent);
    }
    // Nothing goes while the port is closed.
    boxes.shown.clear();
    type->setCurrentIndex(type->findData(static_cast<int>(CommandType::Test)));
    Part<QAction>(window, "btnCloseCom")->trigger();
    QTest::mouseClick(Part<QPushButton>(*dialog, "btnExecute"), Qt::LeftButton);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(boxes.shown.front().text.startsWith(QStringLiteral(u"端口未打开"))) << boxes.shown.front().text.toStdString();
    EXPECT_NE(Part<QLabel>(*dialog, "lblResult")->text(), kRunning);
    window.close();
}

}  // namespace
}  // namespace tc101::demo
