#include "traffic/ui/traffic_log.h"

#include <chrono>

#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QMenu>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QUrl>

#include "files/app_paths.h"
#include "files/file_io.h"
#include "protocol/explain/explanation_text.h"
#include "traffic/session_capture.h"
#include "traffic/ui/log_text.h"
#include "widgets/message_box.h"
#include "widgets/save_file_dialog.h"

namespace tc101 {

namespace {

constexpr int kLogFontPixels = 13;
// The explanation's colour: apart from the account's red and the frames' blue and green.
constexpr QColor kExplanationColour(128, 0, 128);

QTextCharFormat FormatOf(LogColour colour) {
    const LogRgb rgb = ColourRgb(colour);
    QTextCharFormat format;
    format.setForeground(QColor(rgb.red, rgb.green, rgb.blue));
    return format;
}

QString ChooseLogFile(QWidget* parent, const QString& proposedName) {
    return ChooseSaveFile(parent, {QStringLiteral(u"文本文件*.txt (*.txt)"), QStringLiteral("txt")}, proposedName);
}

void OpenWithDesktop(const QString& path) { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }

}  // namespace

TrafficLog::TrafficLog(QWidget* parent)
    : QPlainTextEdit(parent), chooseSaveFile_(ChooseLogFile), openFile_(OpenWithDesktop) {
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
    explanationFormat_.setForeground(kExplanationColour);
    BuildPopupMenu();
}

TrafficLog::~TrafficLog() = default;

void TrafficLog::BuildPopupMenu() {
    PopupMenu2 = new QMenu(this);
    C1 = PopupMenu2->addAction(QStringLiteral(u"清除报文(&C)"), this, &TrafficLog::ClearLog);
    A1 = PopupMenu2->addAction(QStringLiteral(u"全选(&A)"), this, &QPlainTextEdit::selectAll);
    F1 = PopupMenu2->addAction(QStringLiteral(u"复制(&F)"), this, &QPlainTextEdit::copy);
    S2 = PopupMenu2->addAction(QStringLiteral(u"保存(&S)"), this, &TrafficLog::S2Click);
    PopupMenu2->addSeparator();
    O1 = PopupMenu2->addAction(QStringLiteral(u"打开日志文件夹"), this, &TrafficLog::OpenLogFolder);
    O1->setVisible(false);
    X1 = PopupMenu2->addAction(QStringLiteral(u"详细解析"));
    X1->setCheckable(true);
}

bool TrafficLog::Explaining() const { return X1->isChecked(); }

void TrafficLog::SetExplaining(bool on) { X1->setChecked(on); }

void TrafficLog::ScrollLogToEnd() {
    // Replies arrive while the user types elsewhere or reads a selection here.
    if (textCursor().hasSelection()) return;
    moveCursor(QTextCursor::End);
    ensureCursorVisible();
}

void TrafficLog::AppendLine(LogColour colour, const QString& text) {
    AppendText(formats_[static_cast<std::size_t>(colour)], text);
}

void TrafficLog::AppendText(const QTextCharFormat& format, const QString& text) {
    const bool selection = textCursor().hasSelection();
    const bool caretAtEnd = !selection && textCursor().atEnd();
    const int anchor = textCursor().anchor();
    const int position = textCursor().position();
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
    // A selection reaching the end would otherwise take in the new lines.
    if (selection && (textCursor().anchor() != anchor || textCursor().position() != position)) {
        QTextCursor kept(document());
        kept.setPosition(anchor);
        kept.setPosition(position, QTextCursor::KeepAnchor);
        setTextCursor(kept);
    }
    // The view's own cursor follows the lines removed before it.
    DropOldestLines();
    if (caretAtEnd) {
        moveCursor(QTextCursor::End);
        ensureCursorVisible();
    }
    Capture(text);
}

void TrafficLog::DropOldestLines() {
    qsizetype length = TextLength();
    if (length <= kLogCharacterLimit + kLogTrimSlack) return;
    int removed = 0;
    for (QTextBlock block = document()->firstBlock(); block.next().isValid(); block = block.next()) {
        const qsizetype lineLength = block.length() + 1;  // its text and CR LF
        if (length - lineLength < kLogCharacterLimit) break;
        length -= lineLength;
        removed += block.length();
    }
    if (removed == 0) return;
    QTextCursor cursor(document());
    cursor.setPosition(removed, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

void TrafficLog::CaptureSessionTo(std::filesystem::path folder) {
    captureFolder_ = std::move(folder);
    O1->setVisible(!captureFolder_.empty());
}

std::filesystem::path TrafficLog::CaptureFile() const { return capture_ ? capture_->Path() : std::filesystem::path(); }

void TrafficLog::Capture(const QString& text) {
    if (captureFolder_.empty() || captureFailed_) return;
    try {
        if (!capture_) capture_ = std::make_unique<SessionCapture>(captureFolder_, std::chrono::system_clock::now());
        capture_->Append(text.toStdString());
    } catch (const std::exception& error) {
        // Said once, in the log itself: a box at every reply would stop the work.
        captureFailed_ = true;
        capture_.reset();
        AppendLine(LogColour::Red, QStringLiteral(u"报文记录文件写入失败，本次运行不再记录：") + QString::fromUtf8(error.what()));
    }
}

void TrafficLog::OpenLogFolder() {
    std::error_code ignored;
    std::filesystem::create_directories(captureFolder_, ignored);
    openFile_(QString::fromStdString(captureFolder_.string()));
}

void TrafficLog::AppendBlock(LogColour colour, const std::vector<std::string>& lines) {
    QString text;
    for (const std::string& line : lines) {
        text += QString::fromStdString(line);
        text += QLatin1Char('\n');
    }
    AppendLine(colour, text);
}

void TrafficLog::Line(LogColour colour, std::string_view text) {
    ScrollLogToEnd();
    AppendLine(colour, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void TrafficLog::Account(const std::vector<std::string>& lines) {
    ScrollLogToEnd();
    AppendBlock(LogColour::Red, lines);
}

void TrafficLog::ReceivedAccount(std::span<const std::uint8_t> block, std::chrono::system_clock::time_point,
                                 const std::vector<std::string>& lines) {
    ScrollLogToEnd();
    AppendAccount(lines, block);
}

void TrafficLog::AppendAccount(const std::vector<std::string>& lines, std::span<const std::uint8_t> octets) {
    if (!Explaining()) {
        AppendBlock(LogColour::Red, lines);
        return;
    }
    const std::vector<std::string> blocks = ExplanationUnderAccount(octets, lines.size(), explainOptions_);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        AppendLine(LogColour::Red, lines[i]);
        QString block = QString::fromStdString(blocks[i]);
        if (block.endsWith(QLatin1Char('\n'))) block.chop(1);
        if (!block.isEmpty()) AppendText(explanationFormat_, block);
    }
    // The empty line every account ends with.
    AppendLine(LogColour::Red, QString());
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
    O1->setVisible(!captureFolder_.empty());
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
