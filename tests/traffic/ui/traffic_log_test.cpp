#include "traffic/ui/traffic_log.h"

#include <QAction>
#include <QMenu>
#include <QFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <filesystem>
#include <gtest/gtest.h>

#include "support/config_dir.h"
#include "support/message_hook.h"
#include "traffic/ui/log_text.h"

namespace tc101 {
namespace {

QString LogLineText(const TrafficLog& log, int line) { return log.document()->findBlockByNumber(line).text(); }

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
    ASSERT_EQ(log.PopupMenu2->actions().size(), 7);
    EXPECT_EQ(log.PopupMenu2->actions()[0]->text(), QStringLiteral(u"清除报文(&C)"));
    EXPECT_EQ(log.PopupMenu2->actions()[3]->text(), QStringLiteral(u"保存(&S)"));
    EXPECT_TRUE(log.PopupMenu2->actions()[4]->isSeparator());
    EXPECT_EQ(log.PopupMenu2->actions()[5], log.O1);
    EXPECT_EQ(log.O1->text(), QStringLiteral(u"打开日志文件夹"));
    // 详细解析: always offered, off at the start.
    EXPECT_EQ(log.PopupMenu2->actions()[6], log.X1);
    EXPECT_EQ(log.X1->text(), QStringLiteral(u"详细解析"));
    EXPECT_TRUE(log.X1->isCheckable() && log.X1->isVisible() && !log.Explaining());
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

// Every line the log is given lands in this run's capture file, whatever the
// view drops or the user clears; the folder item opens the folder.
TEST_F(TrafficLogFileTest, TheSessionCaptureKeepsEveryLine) {
    const std::filesystem::path folder = File("logs");
    TrafficLog log;
    log.CaptureSessionTo(folder);
    log.PopupMenu2Popup();
    EXPECT_TRUE(log.O1->isVisible());
    QString opened;
    log.SetFileOpener([&](const QString& path) { opened = path; });
    log.O1->trigger();
    EXPECT_EQ(opened.toStdString(), folder.string());

    const QStringList entries = {QStringLiteral(u"========总召1#========"), QStringLiteral("Rx:E5  (09:15:02:118)"),
                                 QStringLiteral(u"有效帧:E5\n\n"), QStringLiteral("a\r\nb")};
    QString all;
    for (const QString& entry : entries) {
        log.AppendLine(LogColour::Red, entry);
        all += (all.isEmpty() ? QString() : QStringLiteral("\n")) + QString(entry).remove(QLatin1Char('\r'));
    }
    const auto captured = [&] {
        QFile file(QString::fromStdString(log.CaptureFile().string()));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
    };
    ASSERT_EQ(log.CaptureFile().parent_path(), folder);
    EXPECT_EQ(captured(), LogFileBytes(log.toPlainText()));  // what default.txt would hold

    log.C1->trigger();
    EXPECT_TRUE(log.toPlainText().isEmpty());
    for (int i = 0; log.TextLength() < kLogCharacterLimit + kLogTrimSlack; ++i) {
        const QString line = QStringLiteral("Rx:%1").arg(i);
        log.AppendLine(LogColour::Green, line);
        all += QLatin1Char('\n') + line;
    }
    log.AppendLine(LogColour::Green, QStringLiteral("last"));
    all += QStringLiteral("\nlast");
    ASSERT_FALSE(log.toPlainText().startsWith(QStringLiteral("Rx:0\n")));
    EXPECT_EQ(captured(), LogFileBytes(all));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()), 1);
}

TEST_F(TrafficLogFileTest, ACaptureThatCannotBeWrittenIsReportedOnceInTheLog) {
    testing::MessageRecorder boxes;
    QFile blocker(QString::fromStdString(File("logs").string()));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));  // a file where the folder should be
    TrafficLog log;
    log.CaptureSessionTo(File("logs"));
    for (int i = 0; i < 3; ++i) log.AppendLine(LogColour::Green, QStringLiteral("Rx:E5"));
    EXPECT_EQ(log.LineCount(), 4);
    EXPECT_TRUE(LogLineText(log, 1).startsWith(QStringLiteral(u"报文记录文件写入失败"))) << LogLineText(log, 1).toStdString();
    EXPECT_EQ(ColourOfLine(log, 1), QColor(255, 0, 0));
    EXPECT_TRUE(log.CaptureFile().empty());
    EXPECT_TRUE(boxes.shown.empty());
}

}  // namespace
}  // namespace tc101
