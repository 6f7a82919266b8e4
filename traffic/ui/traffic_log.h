#pragma once

// Memo1, the traffic log: a coloured, line-oriented view. Every entry is
// appended in one edit block with one shared character format per colour,
// so an entry costs its own size however long the log has grown. No undo
// history is kept: an undo stack would grow with the log. The view keeps the
// newest lines; the session capture keeps them all.

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QPlainTextEdit>
#include <QTextCharFormat>

#include "protocol/explain/frame_explanation.h"
#include "traffic/log_lines.h"
#include "traffic/master_station.h"

class QAction;
class QMenu;

namespace tc101 {

class SessionCapture;

// The view keeps at least this many characters of its newest lines (line
// breaks counted as CR LF)...
inline constexpr qsizetype kLogCharacterLimit = 50000;
// ...and drops its oldest lines once it holds this many more, so trimming
// runs now and then rather than at every entry.
inline constexpr qsizetype kLogTrimSlack = 10000;

// The window's master station logs here: each entry scrolls to the end
// first, and the view keeps only its newest lines (the console keeps all).
class TrafficLog : public QPlainTextEdit, public MasterSink {
    Q_OBJECT
public:
    // Asks where to save; an empty answer cancels. The default shows a save dialog.
    using SaveFileChooser = std::function<QString(QWidget* parent, const QString& proposedName)>;
    // Opens a saved file with the desktop's program for it.
    using FileOpener = std::function<void(const QString& path)>;

    explicit TrafficLog(QWidget* parent = nullptr);
    ~TrafficLog() override;

    // Run by every writer before it appends: caret at the end, last line in
    // view. It never takes the focus, and a selection in the log stays.
    void ScrollLogToEnd();
    // The text as new last line(s) in the colour; a text ending with a line
    // break leaves one empty line after it. The oldest lines go once the view
    // passes its bound; a selection in the log stays.
    void AppendLine(LogColour colour, const QString& text);
    void AppendLine(LogColour colour, const std::string& text) { AppendLine(colour, QString::fromStdString(text)); }
    // An account: each line followed by a line break, as one entry.
    void AppendBlock(LogColour colour, const std::vector<std::string>& lines);
    // The station's entries: a line, or an account in red.
    void Line(LogColour colour, std::string_view text) override;
    void Account(const std::vector<std::string>& lines) override;
    void ReceivedAccount(std::span<const std::uint8_t> block, std::chrono::system_clock::time_point when,
                         const std::vector<std::string>& lines) override;
    // An account in red as one entry; with "详细解析" ticked, each line
    // followed by its frame's explanation in the explanation colour.
    void AppendAccount(const std::vector<std::string>& lines, std::span<const std::uint8_t> octets);

    // "详细解析" (off by default, not stored): explanations under the accounts.
    bool Explaining() const;
    void SetExplaining(bool on);
    // The field sizes the explanation (here and on the analysis page) uses.
    void SetExplanationOptions(const ExplainOptions& options) { explainOptions_ = options; }
    const ExplainOptions& ExplanationOptions() const { return explainOptions_; }
    // Empties the view; the session capture keeps its lines.
    void ClearLog();

    // From now on every appended line also goes to a capture file of its own
    // in folder, made at the first append. A failure to write is shown once,
    // as a red line, and capturing stops.
    void CaptureSessionTo(std::filesystem::path folder);
    const std::filesystem::path& CaptureFolder() const { return captureFolder_; }
    // The capture file of this run; empty before the first append or after a failure.
    std::filesystem::path CaptureFile() const;

    // Characters of the text with each line break counted as CR LF.
    qsizetype TextLength() const;
    int LineCount() const;
    bool IsBlank() const;

    // The context menu PopupMenu2 and its items.
    QMenu* PopupMenu2 = nullptr;
    QAction* C1 = nullptr;  // 清除报文(&C)
    QAction* A1 = nullptr;  // 全选(&A)
    QAction* F1 = nullptr;  // 复制(&F)
    QAction* S2 = nullptr;  // 保存(&S)
    QAction* O1 = nullptr;  // 打开日志文件夹
    QAction* X1 = nullptr;  // 详细解析, checkable
    // Shows the first four items when the log holds text, none otherwise;
    // the capture folder's item whenever there is one.
    void PopupMenu2Popup();
    void OpenLogFolder();

    // "保存(&S)": the moment is taken first, the file named from it and ended with it.
    void S2Click();
    void SaveLogAt(const QDateTime& moment);
    // The exit copy default.txt in the application folder; nothing for a
    // blank log. Throws FileError.
    void WriteExitCopy() const;

    void SetSaveFileChooser(SaveFileChooser chooser) { chooseSaveFile_ = std::move(chooser); }
    void SetFileOpener(FileOpener opener) { openFile_ = std::move(opener); }

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void BuildPopupMenu();
    void AppendText(const QTextCharFormat& format, const QString& text);
    void DropOldestLines();
    void Capture(const QString& text);

    std::array<QTextCharFormat, 4> formats_;
    QTextCharFormat explanationFormat_;
    ExplainOptions explainOptions_;
    std::filesystem::path captureFolder_;
    std::unique_ptr<SessionCapture> capture_;
    bool captureFailed_ = false;
    SaveFileChooser chooseSaveFile_;
    FileOpener openFile_;
};

}  // namespace tc101
