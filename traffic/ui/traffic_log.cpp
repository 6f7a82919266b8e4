#include "traffic/ui/traffic_log.h"

#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMenu>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QUrl>

#include "app/shell/message_box.h"
#include "files/app_paths.h"
#include "files/file_io.h"
#include "traffic/ui/log_text.h"

namespace tc101 {

namespace {

constexpr int kLogFontPixels = 13;

QTextCharFormat FormatOf(LogColour colour) {
    const LogRgb rgb = ColourRgb(colour);
    QTextCharFormat format;
    format.setForeground(QColor(rgb.red, rgb.green, rgb.blue));
    return format;
}

QString ChooseWithDialog(QWidget* parent, const QString& proposedName) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral(u"文本文件*.txt (*.txt)"));
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    dialog.selectFile(proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

void OpenWithDesktop(const QString& path) { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }

}  // namespace

TrafficLog::TrafficLog(QWidget* parent)
    : QPlainTextEdit(parent), chooseSaveFile_(ChooseWithDialog), openFile_(OpenWithDesktop) {
    setObjectName(QStringLiteral("Memo1"));
    setUndoRedoEnabled(false);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont font(QStringLiteral(u"新宋体"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(kLogFontPixels);
    setFont(font);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Text, Qt::black);
    setPalette(colours);
    for (const LogColour colour : {LogColour::Black, LogColour::Blue, LogColour::Green, LogColour::Red})
        formats_[static_cast<std::size_t>(colour)] = FormatOf(colour);
    BuildPopupMenu();
}

void TrafficLog::BuildPopupMenu() {
    PopupMenu2 = new QMenu(this);
    C1 = PopupMenu2->addAction(QStringLiteral(u"清除报文(&C)"), this, &TrafficLog::ClearLog);
    A1 = PopupMenu2->addAction(QStringLiteral(u"全选(&A)"), this, &QPlainTextEdit::selectAll);
    F1 = PopupMenu2->addAction(QStringLiteral(u"复制(&F)"), this, &QPlainTextEdit::copy);
    S2 = PopupMenu2->addAction(QStringLiteral(u"保存(&S)"), this, &TrafficLog::S2Click);
}

void TrafficLog::ScrollLogToEnd() {
    if (isVisible()) setFocus(Qt::OtherFocusReason);
    moveCursor(QTextCursor::End);
    ensureCursorVisible();
}

void TrafficLog::AppendLine(LogColour colour, const QString& text) {
    const QTextCharFormat& format = formats_[static_cast<std::size_t>(colour)];
    const bool caretAtEnd = textCursor().atEnd();
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.beginEditBlock();
    bool first = document()->isEmpty();
    for (const QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        if (!first) cursor.insertBlock(QTextBlockFormat(), format);
        first = false;
        QStringView visible = line;
        if (visible.endsWith(QLatin1Char('\r'))) visible.chop(1);
        if (!visible.isEmpty()) cursor.insertText(visible.toString(), format);
    }
    cursor.endEditBlock();
    // What the End key posted by ScrollLogToEnd does once the entry is in.
    if (caretAtEnd) {
        moveCursor(QTextCursor::End);
        ensureCursorVisible();
    }
}

void TrafficLog::AppendBlock(LogColour colour, const std::vector<std::string>& lines) {
    QString text;
    for (const std::string& line : lines) {
        text += QString::fromStdString(line);
        text += QLatin1Char('\n');
    }
    AppendLine(colour, text);
}

void TrafficLog::ClearLog() { clear(); }

qsizetype TrafficLog::TextLength() const {
    // characterCount holds one separator per block; a line break is two characters on disk.
    const QTextDocument* doc = document();
    return doc->characterCount() - 1 + (doc->blockCount() - 1);
}

int TrafficLog::LineCount() const { return document()->blockCount(); }

bool TrafficLog::IsBlank() const { return IsBlankLogText(toPlainText()); }

void TrafficLog::PopupMenu2Popup() {
    const bool any = !IsBlank();
    for (QAction* item : {C1, A1, F1, S2}) item->setVisible(any);
}

void TrafficLog::contextMenuEvent(QContextMenuEvent* event) {
    PopupMenu2Popup();
    PopupMenu2->exec(event->globalPos());
}

void TrafficLog::S2Click() { SaveLogAt(QDateTime::currentDateTime()); }

void TrafficLog::SaveLogAt(const QDateTime& moment) {
    const QString path = chooseSaveFile_(this, ProposedLogFileName(moment) + QStringLiteral(".txt"));
    if (path.isEmpty()) return;
    try {
        const QByteArray bytes = LogFileBytes(toPlainText(), SavedLogDateLine(moment));
        WriteFileAtomically(path.toStdString(), std::string_view(bytes.constData(), bytes.size()));
    } catch (const std::exception& error) {
        ShowError(this, QString::fromUtf8(error.what()));
        return;
    }
    openFile_(path);
}

void TrafficLog::WriteExitCopy() const {
    const QString text = toPlainText();
    if (IsBlankLogText(text)) return;
    const QByteArray bytes = LogFileBytes(text);
    WriteFileAtomically(AppFile(kExitCopyFileName), std::string_view(bytes.constData(), bytes.size()));
}

}  // namespace tc101
