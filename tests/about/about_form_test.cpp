#include "about/about_form.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QtTest/QTest>

#include "support/message_hook.h"
#include "support/wait_for.h"

namespace tc101 {
namespace {


AboutProbes FixedProbes(QList<QUrl>* opened = nullptr) {
    return {[] { return 123.45678; }, [] { return std::uint64_t{2} << 30; },
            [] { return OsVersion{"Linux", 6, 1, 0, "Debian GNU/Linux 12 (bookworm)"}; },
            [opened](const QUrl& url) {
                if (opened) *opened << url;
                return true;
            }};
}

// The application object of the tests is the program's own, titled as it is.
class About : public ::testing::Test {};

TEST_F(About, CreationFillsEveryLine) {
    TAboutfrm form(nullptr, FixedProbes());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("关于[澄风101规约调试工具V2.8]"));
    EXPECT_EQ(form.ProductName->text(), QStringLiteral("软件名称：澄风101规约调试工具V2.8"));
    EXPECT_EQ(form.Version->text(), QStringLiteral("2.8"));
    EXPECT_FALSE(form.lblMaker->text().isEmpty());
    EXPECT_EQ(form.lblMemory->text(), QStringLiteral("可用内存：2,097,152 KB"));
    EXPECT_EQ(form.lableCpu->text(), QStringLiteral("CPU频率：123.46 MHz"));
    EXPECT_EQ(form.lblOs->text(), QStringLiteral("操作系统：Linux 6.1 (Build 0: Debian GNU/Linux 12 (bookworm))"));
    EXPECT_FALSE(form.ProgramIcon->pixmap().isNull());
    EXPECT_EQ(form.size(), QSize(362, 245));
    EXPECT_EQ(form.btnClose->text(), QStringLiteral("&Close"));
}

TEST_F(About, AFailingProbeIsReportedOnceAndLeavesTheLinesAfterItAsDesigned) {
    AboutProbes probes = FixedProbes();
    probes.cpuMhz = [] { return 0.0; };
    probes.memoryBytes = []() -> std::uint64_t { throw std::runtime_error("sysinfo failed"); };
    testing::MessageRecorder boxes;
    TAboutfrm form(nullptr, probes);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption, QStringLiteral("提示"));
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("某些信息不能取得"));
    EXPECT_EQ(form.lableCpu->text(), QStringLiteral("CPU频率：0.00 MHz"));
    EXPECT_EQ(form.Version->text(), QStringLiteral("2.8"));
    EXPECT_EQ(form.lblMemory->text(), QStringLiteral("可用内存："));
    EXPECT_EQ(form.lblOs->text(), QStringLiteral("操作系统："));
}

bool LooksHot(const QLabel* label) {
    return label->font().bold() && label->font().underline() &&
           label->palette().color(QPalette::WindowText) == QColor(Qt::blue) &&
           label->cursor().shape() == Qt::PointingHandCursor;
}

bool LooksPlain(const QLabel* label) {
    return !label->font().bold() && !label->font().underline() &&
           label->palette().color(QPalette::WindowText) == QColor(Qt::black) &&
           label->cursor().shape() == Qt::ArrowCursor;
}

TEST_F(About, ThePointerMovingFromOneLinkStraightToTheOtherMovesTheHighlight) {
    TAboutfrm form(nullptr, FixedProbes());
    EXPECT_TRUE(LooksPlain(form.lblweb));
    EXPECT_TRUE(LooksPlain(form.lblmail));

    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(form.lblweb, &enter);
    EXPECT_TRUE(LooksHot(form.lblweb));
    EXPECT_TRUE(LooksPlain(form.lblmail));

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(form.lblweb, &leave);
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), QPointF(2, 2), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(form.lblmail, &move);
    EXPECT_TRUE(LooksPlain(form.lblweb));
    EXPECT_TRUE(LooksHot(form.lblmail));
}

TEST_F(About, PressingALinkOpensItsHint) {
    QList<QUrl> opened;
    TAboutfrm form(nullptr, FixedProbes(&opened));
    QTest::mousePress(form.lblweb, Qt::LeftButton);
    QTest::mousePress(form.lblmail, Qt::LeftButton);
    ASSERT_EQ(opened.size(), 2);
    EXPECT_TRUE(opened[0].isLocalFile());
    EXPECT_TRUE(opened[0].toLocalFile().endsWith(QStringLiteral("README.md")));
    EXPECT_EQ(opened[1].scheme(), QStringLiteral("mailto"));
}

TEST_F(About, ALinkThatCannotBeOpenedSaysTheNetworkSettingsAreWrong) {
    struct Case {
        const char* label;
        QString hint;
        std::function<bool(const QUrl&)> open;
        bool reported;
    };
    const Case cases[] = {
        {"target merely not opened", QStringLiteral("https://example.invalid/"), [](const QUrl&) { return false; },
         false},
        {"opener raises", QStringLiteral("https://example.invalid/"),
         [](const QUrl&) -> bool { throw std::runtime_error("no shell"); }, true},
        {"no address", QString(), [](const QUrl&) { return true; }, true},
    };
    for (const Case& c : cases) {
        AboutProbes probes = FixedProbes();
        probes.openUrl = c.open;
        TAboutfrm form(nullptr, probes);
        form.lblweb->setToolTip(c.hint);
        testing::MessageRecorder boxes;
        QTest::mousePress(form.lblweb, Qt::LeftButton);
        if (c.reported) {
            ASSERT_EQ(boxes.shown.size(), 1u) << c.label;
            EXPECT_EQ(boxes.shown[0].caption, QStringLiteral("系统提示！")) << c.label;
            EXPECT_EQ(boxes.shown[0].text, QStringLiteral("网络设置有问题")) << c.label;
        } else {
            EXPECT_TRUE(boxes.shown.empty()) << c.label;
        }
    }
}

TEST_F(About, CloseReleasesTheBox) {
    QPointer<TAboutfrm> form = new TAboutfrm(nullptr, FixedProbes());
    form->show();
    QTest::mouseClick(form->btnClose, Qt::LeftButton);
    EXPECT_TRUE(testing::WaitFor([&] { return form.isNull(); }, 5000));
}

}  // namespace
}  // namespace tc101
