#include "export/export_ui.h"

#include <gtest/gtest.h>

#include <fstream>

#include <QApplication>
#include <QTemporaryDir>

#include "widgets/application.h"
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

// Points the temporary folder somewhere else for one test.
class TemporaryFolderAt {
public:
    explicit TemporaryFolderAt(const QString& folder) : old_(qgetenv("TMPDIR")) { qputenv("TMPDIR", folder.toUtf8()); }
    ~TemporaryFolderAt() { qputenv("TMPDIR", old_); }
    TemporaryFolderAt(const TemporaryFolderAt&) = delete;
    TemporaryFolderAt& operator=(const TemporaryFolderAt&) = delete;

private:
    QByteArray old_;
};

// Answers the boxes and notes whether the busy cursor was still up.
struct BoxesSeen {
    BoxesSeen() {
        App()->SetMessageBoxHook([this](const MessageBoxRequest& request) {
            shown.push_back(request);
            cursorBusy.push_back(QApplication::overrideCursor() != nullptr);
            return Answer::Ok;
        });
    }
    ~BoxesSeen() { App()->SetMessageBoxHook({}); }
    BoxesSeen(const BoxesSeen&) = delete;
    BoxesSeen& operator=(const BoxesSeen&) = delete;
    static Application* App() { return qobject_cast<Application*>(QCoreApplication::instance()); }

    std::vector<MessageBoxRequest> shown;
    std::vector<bool> cursorBusy;
};

TEST_F(ExportUi, TheMenuCommandShowsThePathWhenNothingOpensIt) {
    const TemporaryFolderAt tmp(folder_.path());
    BoxesSeen boxes;
    ExportToExcel(sheets_, nullptr, [](const QString&) { return false; });

    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, BoxKind::Information);
    EXPECT_EQ(boxes.shown[0].caption, QStringLiteral("系统提示"));
    EXPECT_TRUE(boxes.shown[0].text.contains(folder_.path() + QStringLiteral("/遥测遥信_")))
        << boxes.shown[0].text.toStdString();
    EXPECT_FALSE(boxes.cursorBusy[0]);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ExportUi, TheMenuCommandSaysNothingWhenTheWorkbookOpens) {
    const TemporaryFolderAt tmp(folder_.path());
    BoxesSeen boxes;
    ExportToExcel(sheets_, nullptr, [](const QString&) { return true; });
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ExportUi, TheMenuCommandShowsTheErrorBoxWhenTheFileCannotBeWritten) {
    // A temporary folder that is a plain file.
    const QString plain = folder_.path() + QStringLiteral("/plain");
    std::ofstream(plain.toStdString()) << "x";
    const TemporaryFolderAt tmp(plain);
    BoxesSeen boxes;
    ExportToExcel(sheets_, nullptr, [](const QString&) { return true; });

    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, BoxKind::Error);
    EXPECT_TRUE(boxes.shown[0].text.contains(plain + QStringLiteral("/遥测遥信_")));
    EXPECT_TRUE(boxes.shown[0].text.endsWith(QStringLiteral("Not a directory.")))
        << boxes.shown[0].text.toStdString();
    EXPECT_FALSE(boxes.cursorBusy[0]);
}

}  // namespace
}  // namespace tc101
