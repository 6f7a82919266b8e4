#include "export/export_ui.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#include "export/export_file_name.h"
#include "export/workbook_writer.h"
#include "widgets/application.h"
#include "widgets/message_box.h"

namespace tc101 {

namespace {

constexpr int kQueryTimeoutMs = 3000;

const QString kSpreadsheetMimeType = QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.sheet");

// Holds the busy cursor for one scope; released before any box is shown.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { Release(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
    void Release() {
        if (held_) QApplication::restoreOverrideCursor();
        held_ = false;
    }

private:
    bool held_ = true;
};

// false when xdg-mime answers that no program is registered for the type;
// true when one is, or when there is no xdg-mime to ask.
bool HandlerMayExist(const QString& mimeType) {
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), mimeType});
    if (!query.waitForStarted(kQueryTimeoutMs)) return true;
    if (!query.waitForFinished(kQueryTimeoutMs)) {
        query.kill();
        query.waitForFinished(kQueryTimeoutMs);
        return true;
    }
    if (query.exitStatus() != QProcess::NormalExit) return true;
    return !query.readAllStandardOutput().trimmed().isEmpty();
}

// Qt gives an empty path when TMPDIR names no folder; the file must not
// land in the working folder then.
QString TemporaryFolder() {
    const QString folder = QDir::tempPath();
    return folder.isEmpty() ? QStringLiteral("/tmp") : folder;
}

}  // namespace

bool OpenWithDesktop(const QString& file) {
    if (file.endsWith(QStringLiteral(".xlsx")) && !HandlerMayExist(kSpreadsheetMimeType)) return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

ExportOutcome ExportAndOpen(std::span<const SheetSource> sheets, const QString& folder, const FileOpener& open) {
    ExportOutcome outcome;
    const std::filesystem::path path =
        ProposedExportPath(LocalNow(), folder.toStdString(), [](const std::filesystem::path& candidate) {
            std::error_code ignored;
            return std::filesystem::exists(candidate, ignored);
        });
    outcome.file = QString::fromStdString(path.string());
    try {
        WriteWorkbook(path, sheets);
    } catch (const ExportError& error) {
        outcome.message = QString::fromUtf8(error.what());
        return outcome;
    }
    outcome.result = open(outcome.file) ? ExportOutcome::Result::Opened : ExportOutcome::Result::NotOpened;
    return outcome;
}

QString NotOpenedText(const QString& file) {
    return QStringLiteral("没有程序能打开这个电子表格，文件保存在：\n") + QDir::toNativeSeparators(file);
}

void ExportToExcel(std::span<const SheetSource> sheets, QWidget* parent, const FileOpener& open) {
    BusyCursor busy;
    const ExportOutcome outcome = ExportAndOpen(sheets, TemporaryFolder(), open);
    busy.Release();
    switch (outcome.result) {
    case ExportOutcome::Result::Opened:
        break;
    case ExportOutcome::Result::NotOpened:
        ShowInformation(parent, NotOpenedText(outcome.file), QStringLiteral("系统提示"));
        break;
    case ExportOutcome::Result::Failed:
        ShowError(parent, ErrorBoxText(outcome.message));
        break;
    }
}

void ExportToExcel(const Table& yc, const Table& yx, const Table& sj, QWidget* parent) {
    const auto sheets = ValueTableSheets(yc, yx, sj);
    ExportToExcel(sheets, parent);
}

void ExportToExcel(const ValueTables& tables, QWidget* parent) {
    ExportToExcel(tables.GrdYC, tables.GrdYX, tables.GrdSJ, parent);
}

}  // namespace tc101
