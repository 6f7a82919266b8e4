#pragma once

// The window side of the export: writes the workbook to a new file in the
// temporary folder under the busy cursor, then hands it to the desktop's
// spreadsheet program. When no program takes it, an information box gives
// the file's path; when it cannot be written, the error box names the file
// and the reason.

#include <QString>

#include <functional>
#include <span>

#include "export/sheet_layout.h"
#include "protocol/value_tables.h"

class QWidget;

namespace tc101 {

// Asks the desktop to open a file; false when no program will.
using FileOpener = std::function<bool(const QString& file)>;

// The desktop's default program for the file, through QDesktopServices.
// A spreadsheet file with no registered program is reported as not opened
// rather than handed to a launcher that would fail silently.
bool OpenWithDesktop(const QString& file);

struct ExportOutcome {
    enum class Result { Opened, NotOpened, Failed };
    Result result = Result::Failed;
    QString file;     // the workbook written (or meant to be written)
    QString message;  // the reason, when Failed
};

// Writes the sheets to a new file in folder and offers it to open. No boxes.
ExportOutcome ExportAndOpen(std::span<const SheetSource> sheets, const QString& folder, const FileOpener& open);

// The text of the information box for a workbook that no program opened.
QString NotOpenedText(const QString& file);

// The menu command: ExportAndOpen into the temporary folder with the busy
// cursor, then the box its outcome asks for.
void ExportToExcel(std::span<const SheetSource> sheets, QWidget* parent, const FileOpener& open = OpenWithDesktop);

// The main window's "转换为&Excel": the three value tables in export order.
void ExportToExcel(const Table& yc, const Table& yx, const Table& sj, QWidget* parent);
void ExportToExcel(const ValueTables& tables, QWidget* parent);

}  // namespace tc101
