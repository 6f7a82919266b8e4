#include "export/export_ui.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include "xlsx_reader.h"

namespace tc101 {
namespace {

struct Tables {
    Table yc{4, 2};
    Table yx{4, 2};
    Table sj{4, 2};
    Tables() { yc.SetCell(1, 1, "电压"); }
};

class ExportUi : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder_.isValid()); }
    std::filesystem::path Path(const QString& file) const { return file.toStdString(); }

    QTemporaryDir folder_;
    Tables tables_;
    std::array<SheetSource, 3> sheets_ = ValueTableSheets(tables_.yc, tables_.yx, tables_.sj);
};

TEST_F(ExportUi, WritesANewWorkbookInTheFolderAndOffersItToOpen) {
    QStringList offered;
    const auto opener = [&](const QString& file) {
        offered << file;
        return true;
    };
    const ExportOutcome first = ExportAndOpen(sheets_, folder_.path(), opener);
    const ExportOutcome second = ExportAndOpen(sheets_, folder_.path(), opener);

    EXPECT_EQ(first.result, ExportOutcome::Result::Opened);
    EXPECT_EQ(offered, (QStringList{first.file, second.file}));
    EXPECT_NE(first.file, second.file);
    EXPECT_TRUE(first.file.startsWith(folder_.path() + QStringLiteral("/遥测遥信_")));
    EXPECT_TRUE(first.file.endsWith(QStringLiteral(".xlsx")));
    const auto workbook = testing::ReadWorkbook(Path(first.file));
    ASSERT_EQ(workbook.size(), 3u);
    EXPECT_EQ(workbook[0].cells.at({1, 2}).text, " 电压 ");
}

TEST_F(ExportUi, AWorkbookNoProgramOpensIsKeptAndReported) {
    const ExportOutcome outcome = ExportAndOpen(sheets_, folder_.path(), [](const QString&) { return false; });
    EXPECT_EQ(outcome.result, ExportOutcome::Result::NotOpened);
    EXPECT_TRUE(std::filesystem::is_regular_file(Path(outcome.file)));
    EXPECT_TRUE(NotOpenedText(outcome.file).contains(outcome.file));
}

TEST_F(ExportUi, AnUnwritableFolderFailsWithTheFileAndReasonAndOpensNothing) {
    bool asked = false;
    const QString missing = folder_.path() + QStringLiteral("/没有");
    const ExportOutcome outcome = ExportAndOpen(sheets_, missing, [&](const QString&) { return asked = true; });
    EXPECT_EQ(outcome.result, ExportOutcome::Result::Failed);
    EXPECT_FALSE(asked);
    EXPECT_TRUE(outcome.message.contains(outcome.file)) << outcome.message.toStdString();
    EXPECT_TRUE(outcome.message.contains(QStringLiteral("No such file or directory")));
}

// The menu command's box comes after the busy cursor is gone, with the path.
TEST_F(ExportUi, TheMenuCommandShowsThePathWhenNothingOpensIt) {
    const QByteArray oldTmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", folder_.path().toUtf8());
    QString title, text;
    bool cursorBusyDuringBox = true;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        cursorBusyDuringBox = QApplication::overrideCursor() != nullptr;
        box->accept();
    });
    ExportToExcel(sheets_, nullptr, [](const QString&) { return false; });
    qputenv("TMPDIR", oldTmp);

    EXPECT_EQ(title, QStringLiteral("系统提示"));
    EXPECT_TRUE(text.contains(folder_.path() + QStringLiteral("/遥测遥信_"))) << text.toStdString();
    EXPECT_FALSE(cursorBusyDuringBox);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace tc101
