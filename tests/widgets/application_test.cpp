#include <stdexcept>

#include <QEvent>
#include <QMessageBox>
#include <QObject>
#include <QPushButton>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include "support/message_hook.h"
#include "widgets/application.h"

namespace tc101 {
namespace {

struct ErrorTextCase {
    const char* message;
    const char* shown;
};

TEST(ErrorBoxTextTest, AppendsFullStopAfterCharactersSortingAfterIt) {
    const ErrorTextCase cases[] = {
        {"Access denied", "Access denied."},
        {"Access denied.", "Access denied."},
        {"Error!", "Error!"},    // '!' sorts before '.'
        {"a,", "a,"},            // so does ','
        {"path/", "path/."},     // '/' sorts after
        {"数值错误", "数值错误."},  // every Chinese character sorts after
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorBoxText(QString::fromUtf8(c.message)), QString::fromUtf8(c.shown)) << c.message;
    }
}

// The program's application object puts Qt's standard buttons in Chinese.
TEST(ApplicationTest, StandardButtonsReadInChinese) {
    const std::pair<QMessageBox::StandardButton, const char16_t*> cases[] = {
        {QMessageBox::Yes, u"是"},      {QMessageBox::No, u"否"},     {QMessageBox::Cancel, u"取消"},
        {QMessageBox::Ok, u"确定"},     {QMessageBox::Close, u"关闭"},
    };
    QMessageBox box;
    for (const auto& [button, text] : cases) box.addButton(button);
    const QRegularExpression mnemonic(QStringLiteral(R"(\(&.\)|&)"));
    for (const auto& [button, text] : cases)
        EXPECT_EQ(box.button(button)->text().remove(mnemonic), QString::fromUtf16(text)) << box.button(button)->text().toStdString();
}

class Thrower : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) throw std::runtime_error("无法打开文件 send.sen");
        return QObject::event(e);
    }
};

TEST(ApplicationTest, EscapingExceptionIsShownAsErrorBoxAndProgramGoesOn) {
    testing::MessageRecorder boxes;
    Thrower target;
    QEvent event(QEvent::User);
    EXPECT_NO_THROW(QCoreApplication::sendEvent(&target, &event));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, BoxKind::Error);
    EXPECT_EQ(boxes.shown[0].caption, QString::fromUtf8("澄风101规约调试工具V2.8"));
    EXPECT_EQ(boxes.shown[0].text, QString::fromUtf8("无法打开文件 send.sen."));

    // The next event is delivered as usual.
    QEvent again(QEvent::User);
    QCoreApplication::sendEvent(&target, &again);
    EXPECT_EQ(boxes.shown.size(), 2u);
}

TEST(ApplicationTest, RunCommandShowsTheErrorAndReturns) {
    testing::MessageRecorder boxes;
    bool after = false;
    RunCommand([] { throw std::runtime_error("Access denied"); });
    RunCommand([&] { after = true; });
    EXPECT_TRUE(after);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, BoxKind::Error);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("Access denied."));
}

TEST(MessageBoxTest, HookSeesKindCaptionTextAndAnswers) {
    testing::MessageRecorder boxes;
    boxes.answers = {Answer::No, Answer::Cancel};
    ShowInformation(nullptr, QString::fromUtf8("召唤报文设置成功！"), QString::fromUtf16(kSystemPromptFullWidth));
    EXPECT_EQ(AskYesNo(nullptr, QStringLiteral("q1"), QString::fromUtf16(kSystemPrompt)), Answer::No);
    EXPECT_EQ(AskYesNoCancel(nullptr, QStringLiteral("q2"), QString::fromUtf16(kSystemPrompt)), Answer::Cancel);
    ASSERT_EQ(boxes.shown.size(), 3u);
    EXPECT_EQ(boxes.shown[0].kind, BoxKind::Information);
    EXPECT_EQ(boxes.shown[0].caption, QString::fromUtf8("系统提示！"));
    EXPECT_EQ(boxes.shown[1].kind, BoxKind::YesNo);
    EXPECT_EQ(boxes.shown[1].caption, QString::fromUtf8("系统提示!"));
    EXPECT_EQ(boxes.shown[2].kind, BoxKind::YesNoCancel);
}

}  // namespace
}  // namespace tc101
