#include "app/window/main_window.h"
#include "window_parts.h"

#include <functional>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QTreeWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTextCursor>
#include <QTimer>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "about/about_form.h"
#include "files/comset_keys.h"
#include "app/window/window_settings.h"
#include "serial/port_settings.h"
#include "support/config_dir.h"
#include "support/message_hook.h"
#include "support/wait_for.h"
#include "traffic/ui/explanation_tree.h"
#include "traffic/ui/log_text.h"
#include "traffic/ui/traffic_log.h"
#include "widgets/grid_view.h"
#include "widgets/table_model.h"

namespace tc101 {
namespace {

class MainWindowTest : public testing::ConfigDirTest {
protected:
    IniFile Comset() const { return IniFile(File("comset.ini")); }
    std::unique_ptr<TfrmZh> Shown() {
        auto window = std::make_unique<TfrmZh>();
        window->show();
        return window;
    }
    testing::MessageRecorder boxes;
};

TEST_F(MainWindowTest, FirstStartWithoutSettings) {
    auto window = Shown();
    const testing::WindowParts ui(*window);
    EXPECT_EQ(window->windowTitle(), QStringLiteral(u"澄风101规约调试工具V2.9"));
    EXPECT_TRUE(ui.Memo1->isVisible());
    EXPECT_TRUE(ui.BtnClear->isVisible());
    EXPECT_EQ(ui.PageControl2->currentIndex(), 0);
    EXPECT_FALSE(window->Splitter1Visible());
    EXPECT_FALSE(ui.Notebook1->isVisible());
    EXPECT_EQ(ui.txtAdd->value(), 1);
    EXPECT_EQ(ui.txtInteval1->value(), 1000);
    EXPECT_EQ(ui.txtInteval2->value(), 1000);
    EXPECT_FALSE(window->PortOpen());
    EXPECT_TRUE(window->ReplyReceived());
    EXPECT_TRUE(boxes.shown.empty());
    window->close();
    // The first close creates the file.
    EXPECT_EQ(Comset().ReadInteger(kZhSection, kPageIndexKey, -1), 0);
    EXPECT_EQ(Comset().ReadInteger(kDefaultSendSection, kAddressKey, -1), 1);
}

TEST_F(MainWindowTest, MenuInItsOrder) {
    TfrmZh window;
    const testing::WindowParts ui(window);
    QStringList captions;
    for (const QAction* item : window.menuBar()->actions()) captions << item->text();
    EXPECT_EQ(captions, (QStringList{QStringLiteral(u"打开端口(&O)"), QStringLiteral(u"关闭端口(&G)"), QStringLiteral(u"端口设置(&P)"), QStringLiteral(u"遥测遥信设置(&S)"),
                                     QStringLiteral(u"主站报文设置(&B)"), QStringLiteral(u"规约参数(&C)"), QStringLiteral(u"控制命令(&K)"), QStringLiteral(u"清除报文(&Q)"), QStringLiteral(u"转换为&Excel"), QStringLiteral(u"帮助(&H)"),
                                     QStringLiteral(u"退出(&X)")}));
    EXPECT_TRUE(ui.BtnExcel->isEnabled());
    EXPECT_TRUE(ui.A3->isEnabled());
}

TEST_F(MainWindowTest, RatioTitleTellsHowTheRatioIsApplied) {
    TfrmZh window;
    const testing::WindowParts ui(window);
    EXPECT_EQ(ui.GrdYC->model()->headerData(kYcRatioCol - 1, Qt::Horizontal, Qt::ToolTipRole),
              QStringLiteral(u"显示值 = 原始值 ÷ 比例"));
    EXPECT_FALSE(ui.GrdYC->model()->headerData(kYcRatioCol - 2, Qt::Horizontal, Qt::ToolTipRole).isValid());
}

TEST_F(MainWindowTest, StoredPageOneShowsTheSendListAndSettingsSurviveARestart) {
    IniFile comset = Comset();
    comset.WriteInteger(kZhSection, kPageIndexKey, 1);
    comset.WriteInteger(kDefaultSendSection, kAddressKey, 7);
    comset.WriteInteger(kDefineSendSection, kTimeInteval1Key, 300);
    comset.WriteBool(kDefineSendSection, kIsCircleKey, true);
    {
        auto window = Shown();
        const testing::WindowParts ui(*window);
        EXPECT_EQ(ui.PageControl2->currentIndex(), 1);
        EXPECT_TRUE(ui.Notebook1->isVisible());
        EXPECT_EQ(ui.Notebook1->currentWidget(), ui.GrdSend);
        EXPECT_EQ(ui.txtAdd->value(), 7);
        EXPECT_EQ(ui.txtInteval1->value(), 300);
        EXPECT_TRUE(ui.cekCircle->isChecked());
        ui.PageControl2->setCurrentIndex(2);
        EXPECT_TRUE(ui.Notebook1->currentWidget()->isAncestorOf(ui.memoAna));
        ui.PageControl2->setCurrentIndex(0);
        EXPECT_FALSE(ui.Notebook1->isVisible());
        ui.txtAdd->setValue(9);
        window->close();
    }
    EXPECT_EQ(Comset().ReadInteger(kDefaultSendSection, kAddressKey, -1), 9);
    EXPECT_EQ(Comset().ReadInteger(kZhSection, kPageIndexKey, -1), 0);
}

TEST_F(MainWindowTest, HiddenLogHidesItsMenuItemAndStillWritesTheHeight) {
    IniFile comset = Comset();
    comset.WriteBool(kBaowenSection, kBseeKey, false);
    comset.WriteInteger(kBaowenSection, kHeightKey, 333);
    auto window = Shown();
    const testing::WindowParts ui(*window);
    EXPECT_FALSE(ui.Memo1->isVisible());
    EXPECT_FALSE(ui.BtnClear->isVisible());
    window->Comm1ReceiveData(std::array<std::uint8_t, 1>{0xE5}.data(), 1);
    EXPECT_FALSE(ui.Memo1->IsBlank());
    window->close();
    EXPECT_EQ(Comset().ReadInteger(kBaowenSection, kHeightKey, -1), 100);
}

TEST_F(MainWindowTest, FunctionKeysSelectTheTablePagesWhateverHasTheFocus) {
    IniFile comset = Comset();
    comset.WriteInteger(kZhSection, kPageIndexKey, 1);
    auto window = Shown();
    const testing::WindowParts ui(*window);
    QApplication::setActiveWindow(window.get());
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int page;
    };
    const Case cases[] = {{Qt::Key_F3, Qt::NoModifier, 1},
                          {Qt::Key_F4, Qt::ControlModifier, 2},
                          {Qt::Key_F2, Qt::ShiftModifier | Qt::AltModifier, 0}};
    for (QWidget* focus : {static_cast<QWidget*>(ui.GrdSend), static_cast<QWidget*>(ui.Memo1),
                           static_cast<QWidget*>(ui.txtAdd)}) {
        focus->setFocus();
        for (const Case& c : cases) {
            QTest::keyClick(focus, c.key, c.modifiers);
            EXPECT_EQ(ui.PageControl1->currentIndex(), c.page) << focus->metaObject()->className();
        }
    }
}

TEST_F(MainWindowTest, TableMenuOffersClearOnlyWhenThereIsSomethingToClear) {
    auto window = Shown();
    const testing::WindowParts ui(*window);
    window->PopupMenu1Popup();
    EXPECT_FALSE(ui.C2->isVisible());
    const std::array<std::uint8_t, 18> reply = {0x68, 0x0C, 0x0C, 0x68, 0x08, 0x01, 0x15, 0x82, 0x14,
                                                0x01, 0x01, 0x40, 0xE8, 0x03, 0x18, 0xFC, 0xF5, 0x16};
    window->Comm1ReceiveData(reply.data(), reply.size());
    window->PopupMenu1Popup();
    EXPECT_TRUE(ui.C2->isVisible());
    ui.C2->trigger();
    EXPECT_EQ(window->Tables().GrdYC.ColCount(), kFirstDeviceCol);
    EXPECT_EQ(ui.GrdYC->Model()->columnCount(), kFirstDeviceCol - 1);
    EXPECT_EQ(ui.GrdYC->toolTip(), QStringLiteral(u"遥测量"));
    EXPECT_EQ(ui.GrdSJ->toolTip(), QStringLiteral(u"事件纪录"));
}

TEST_F(MainWindowTest, AnalysisPageWritesTheLog) {
    auto window = Shown();
    const testing::WindowParts ui(*window);
    ui.PageControl2->setCurrentIndex(2);
    ui.memoAna->setPlainText(QStringLiteral("10 0b 01 0c 16"));
    ui.BtnAnalyze->click();
    EXPECT_TRUE(ui.Memo1->toPlainText().contains(QStringLiteral(u"链路完好")));
    EXPECT_EQ(window->NextRequest(), MasterRequest::LinkStatus);
}

// 报文详解: the tree after 分析(&T), copied as text; the log shows the
// explanation only once "详细解析" is ticked, in its own colour.
TEST_F(MainWindowTest, AnalysisPageShowsTheExplanationTree) {
    auto window = Shown();
    const testing::WindowParts ui(*window);
    auto* tree = testing::Part<ExplanationTree>(*window, "TreeAna");
    ui.PageControl2->setCurrentIndex(2);
    ui.memoAna->setPlainText(QStringLiteral("10 0b 01 0c 16 68 09 09 68 53 01 64 01 06 01 00 00 14 D4 16"));
    ui.BtnAnalyze->click();
    ASSERT_TRUE(tree->isVisible());
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    const QTreeWidgetItem* interrogation = tree->topLevelItem(1);
    ASSERT_NE(interrogation, nullptr);
    EXPECT_TRUE(interrogation->text(0).endsWith(QStringLiteral("14 D4 16")));
    ASSERT_EQ(interrogation->childCount(), 2);
    EXPECT_TRUE(interrogation->isExpanded());
    const QTreeWidgetItem* asdu = interrogation->child(1);
    ASSERT_NE(asdu, nullptr);
    QTreeWidgetItem* object = asdu->child(4);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->text(0), QStringLiteral(u"信息对象 IOA=0: QOI=20"));
    EXPECT_FALSE(ui.Memo1->toPlainText().contains(QStringLiteral(u"链路层")));

    tree->setCurrentItem(object);
    tree->CopyItem->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(),
              QStringLiteral(u"信息对象 IOA=0: QOI=20\n  QOI [14]: 召唤限定词=20 站召唤(总召唤)\n"));

    ui.Memo1->X1->setChecked(true);
    ui.BtnAnalyze->click();
    const QString log = ui.Memo1->toPlainText();
    EXPECT_TRUE(log.contains(QStringLiteral(u"【1#链路完好】\n  链路层 (link)\n    固定帧长帧")));
    EXPECT_TRUE(log.endsWith(QStringLiteral(u"      QOI [14]: 召唤限定词=20 站召唤(总召唤)\n")));
    QTextCursor explanation = ui.Memo1->document()->find(QStringLiteral(u"链路层 (link)"));
    EXPECT_EQ(explanation.charFormat().foreground().color(), QColor(128, 0, 128));
}

TEST_F(MainWindowTest, ExitWritesTheLogToDefaultTxt) {
    auto window = Shown();
    window->Comm1ReceiveData(std::array<std::uint8_t, 1>{0xE5}.data(), 1);
    window->close();
    QFile file(QString::fromStdString(File("default.txt").string()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("Rx:E5  ("));
}

// Replies and requests while the user works elsewhere: the focus stays, a
// selection in the log stays, and 清除报文(&Q) empties the view only.
TEST_F(MainWindowTest, TrafficLeavesTheFocusAndASelectionAndClearingKeepsTheCapture) {
    auto window = Shown();
    const testing::WindowParts ui(*window);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const std::uint8_t e5 = 0xE5;
    window->Comm1ReceiveData(&e5, 1);
    const std::pair<int, QWidget*> targets[] = {{0, ui.txtAdd}, {2, ui.memoAna}};
    for (const auto& [page, target] : targets) {
        ui.PageControl2->setCurrentIndex(page);
        target->setFocus();
        ASSERT_TRUE(testing::WaitFor([&] { return QApplication::focusWidget() == target; }, 2000)) << page;
        window->SendLinkStatusRequest();
        window->Comm1ReceiveData(&e5, 1);
        EXPECT_EQ(QApplication::focusWidget(), target) << page;
    }
    QTextCursor selection(ui.Memo1->document());
    selection.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    ui.Memo1->setTextCursor(selection);
    const QString selected = selection.selectedText();
    ASSERT_TRUE(selected.startsWith(QStringLiteral("Rx:E5  (")));
    window->Comm1ReceiveData(&e5, 1);
    EXPECT_EQ(ui.Memo1->textCursor().selectedText(), selected);

    const QString all = ui.Memo1->toPlainText();
    ui.BtnClear->trigger();
    EXPECT_TRUE(ui.Memo1->toPlainText().isEmpty());
    QFile capture(QString::fromStdString(ui.Memo1->CaptureFile().string()));
    ASSERT_TRUE(capture.open(QIODevice::ReadOnly));
    EXPECT_EQ(capture.readAll(), LogFileBytes(all));
    EXPECT_EQ(ui.Memo1->CaptureFile().parent_path(), File("logs"));
}

// 帮助(&H) → 关于(&A), then closed as a user closes it: the box goes, the
// window lives on and still writes its log at exit.
TEST_F(MainWindowTest, TheAboutBoxOpenedFromTheMenuClosesWithoutHarm) {
    const std::pair<const char*, std::function<void(TAboutfrm&)>> closers[] = {
        {"Escape", [](TAboutfrm& box) { QTest::keyClick(&box, Qt::Key_Escape); }},
        {"button", [](TAboutfrm& box) { QTest::mouseClick(box.btnClose, Qt::LeftButton); }},
    };
    for (const auto& [how, closeBox] : closers) {
        auto window = Shown();
        const testing::WindowParts ui(*window);
        window->Comm1ReceiveData(std::array<std::uint8_t, 1>{0xE5}.data(), 1);
        QAction* about = nullptr;
        for (QAction* item : ui.A2->actions())
            if (item->text() == QStringLiteral(u"关于(&A)")) about = item;
        ASSERT_NE(about, nullptr);
        QPointer<TAboutfrm> box;
        std::function<void()> closeWhenShown = [&, close = closeBox] {
            box = qobject_cast<TAboutfrm*>(QApplication::activeModalWidget());
            if (!box) return QTimer::singleShot(10, closeWhenShown);
            close(*box);
        };
        QTimer::singleShot(0, closeWhenShown);
        about->trigger();
        EXPECT_TRUE(box.isNull()) << how;  // released by itself, as it is built to be
        window->close();
        QFile file(QString::fromStdString(File("default.txt").string()));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << how;
        EXPECT_TRUE(file.readAll().startsWith("Rx:E5  (")) << how;
        QFile::remove(file.fileName());
    }
}

}  // namespace
}  // namespace tc101
