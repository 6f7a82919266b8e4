#include "traffic/ui/traffic_log.h"

#include <QAction>
#include <QMenu>
#include <QFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <gtest/gtest.h>

#include "shell/config_dir.h"
#include "shell/message_hook.h"

namespace tc101 {
namespace {

QColor ColourOfLine(const TrafficLog& log, int line) {
    const QTextBlock block = log.document()->findBlockByNumber(line);
    return block.begin().fragment().charFormat().foreground().color();
}

TEST(TrafficLogTest, EachEntryBecomesLinesInItsColour) {
    TrafficLog log;
    log.AppendLine(LogColour::Black, std::string("========总召1#========"));
    log.AppendLine(LogColour::Blue, QStringLiteral("TX:10 49 01 4A 16  (09:15:02:117)"));
    log.AppendBlock(LogColour::Red, {"a", "b"});
    log.AppendLine(LogColour::Green, QStringLiteral("Rx:E5  (09:15:02:118)"));
    EXPECT_EQ(log.toPlainText(), QStringLiteral(u"========总召1#========\nTX:10 49 01 4A 16  (09:15:02:117)\na\nb\n\n"
                                                u"Rx:E5  (09:15:02:118)"));
    EXPECT_EQ(ColourOfLine(log, 0), QColor(0, 0, 0));
    EXPECT_EQ(ColourOfLine(log, 1), QColor(0, 0, 255));
    EXPECT_EQ(ColourOfLine(log, 2), QColor(255, 0, 0));
    EXPECT_EQ(ColourOfLine(log, 3), QColor(255, 0, 0));
    EXPECT_EQ(ColourOfLine(log, 5), QColor(0, 128, 0));
    EXPECT_EQ(log.LineCount(), 6);
    // 5 line breaks of two characters each.
    EXPECT_EQ(log.TextLength(), log.toPlainText().size() + 5);
}

TEST(TrafficLogTest, AppendingKeepsNoUndoHistory) {
    TrafficLog log;
    for (int i = 0; i < 100; ++i) log.AppendLine(LogColour::Green, QStringLiteral("Rx:E5"));
    EXPECT_FALSE(log.document()->isUndoAvailable());
    EXPECT_EQ(log.LineCount(), 100);
}

TEST(TrafficLogTest, ContextMenuShowsItsItemsOnlyWhenTheLogHoldsText) {
    struct Case {
        const char16_t* text;
        bool shown;
    };
    for (const Case& c : {Case{u"", false}, Case{u"  \n \n", false}, Case{u"Rx:E5", true}}) {
        TrafficLog log;
        log.setPlainText(QString::fromUtf16(c.text));
        log.PopupMenu2Popup();
        for (const QAction* item : {log.C1, log.A1, log.F1, log.S2}) EXPECT_EQ(item->isVisible(), c.shown);
    }
    TrafficLog log;
    ASSERT_EQ(log.PopupMenu2->actions().size(), 4);
    EXPECT_EQ(log.PopupMenu2->actions()[0]->text(), QStringLiteral(u"清除报文(&C)"));
    EXPECT_EQ(log.PopupMenu2->actions()[3]->text(), QStringLiteral(u"保存(&S)"));
}

class TrafficLogFileTest : public testing::ConfigDirTest {};

TEST_F(TrafficLogFileTest, SaveProposesTheStampNameEndsWithTheMomentAndOpensTheFile) {
    QTemporaryDir folder;
    TrafficLog log;
    log.AppendBlock(LogColour::Red, {"有效帧"});
    QString proposed;
    QString opened;
    log.SetSaveFileChooser([&](QWidget*, const QString& name) {
        proposed = name;
        return folder.filePath(name);
    });
    log.SetFileOpener([&](const QString& path) { opened = path; });
    const QDateTime moment(QDate(2026, 3, 7), QTime(21, 5, 9));
    log.SaveLogAt(moment);
    EXPECT_EQ(proposed, QStringLiteral("20260307210509.txt"));
    EXPECT_EQ(opened, folder.filePath(proposed));
    QFile file(opened);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith(QStringLiteral(u"有效帧\r\n\r\n").toUtf8()));
    EXPECT_TRUE(bytes.endsWith(QByteArray("21:05:09\r\n"))) << bytes.toStdString();
}

TEST_F(TrafficLogFileTest, CancelledOrFailedSaveLeavesTheLogAndOpensNothing) {
    testing::MessageRecorder boxes;
    TrafficLog log;
    log.AppendLine(LogColour::Green, QStringLiteral("Rx:E5"));
    bool opened = false;
    log.SetFileOpener([&](const QString&) { opened = true; });
    log.SetSaveFileChooser([](QWidget*, const QString&) { return QString(); });
    log.S2Click();
    log.SetSaveFileChooser([](QWidget*, const QString&) { return QStringLiteral("/nonexistent-folder/x.txt"); });
    log.S2Click();
    EXPECT_FALSE(opened);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, BoxKind::Error);
    EXPECT_EQ(log.toPlainText(), QStringLiteral("Rx:E5"));
}

TEST_F(TrafficLogFileTest, ExitCopyIsWrittenOnlyForALogWithText) {
    TrafficLog log;
    log.setPlainText(QStringLiteral(" \n "));
    log.WriteExitCopy();
    EXPECT_FALSE(QFile::exists(QString::fromStdString(File("default.txt").string())));
    log.setPlainText(QStringLiteral("Rx:E5\nx"));
    log.WriteExitCopy();
    QFile file(QString::fromStdString(File("default.txt").string()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("Rx:E5\r\nx\r\n"));
}

}  // namespace
}  // namespace tc101
