#include "app/window/help_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "support/message_hook.h"

namespace tc101 {
namespace {

class HelpFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        previous_ = QDir::currentPath();
        QDir::setCurrent(folder_.path());
    }
    void TearDown() override { QDir::setCurrent(previous_); }

    QTemporaryDir folder_;
    QString previous_;
};

TEST_F(HelpFileTest, ShippedHelpStandsInForAMissingChmAndCanBeWrittenAgain) {
    for (int time = 0; time < 2; ++time) {
        const QString path = HelpFileToOpen();
        ASSERT_FALSE(path.isEmpty());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(QString::fromUtf8(file.readAll()).contains(QStringLiteral(u"报文分析(N)")));
    }
}

TEST_F(HelpFileTest, ChmOfTheCurrentDirectoryWins) {
    QFile chm(QDir(folder_.path()).filePath(QStringLiteral("tc101ToolHlp.chm")));
    ASSERT_TRUE(chm.open(QIODevice::WriteOnly));
    chm.close();
    EXPECT_EQ(HelpFileToOpen(), QFileInfo(chm).absoluteFilePath());
}

// Without a program that opens it, a box gives the path to open by hand.
TEST_F(HelpFileTest, WithoutABrowserABoxNamesTheFile) {
    for (const bool opens : {true, false}) {
        testing::MessageRecorder boxes;
        QUrl asked;
        OpenHelp(nullptr, [&](const QUrl& url) {
            asked = url;
            return opens;
        });
        ASSERT_TRUE(asked.isLocalFile());
        ASSERT_EQ(boxes.shown.size(), opens ? 0u : 1u);
        if (!opens) {
            EXPECT_EQ(boxes.shown[0].kind, BoxKind::Information);
            EXPECT_TRUE(boxes.shown[0].text.endsWith(QStringLiteral(u"帮助文件在:\n") + asked.toLocalFile()))
                << boxes.shown[0].text.toStdString();
        }
    }
}

}  // namespace
}  // namespace tc101
