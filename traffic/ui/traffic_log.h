#pragma once

// Memo1, the traffic log: a coloured, line-oriented view. Every entry is
// appended in one edit block with one shared character format per colour,
// so an entry costs its own size however long the log has grown. No undo
// history is kept: the log only grows, and an undo stack would grow with it.

#include <array>
#include <functional>
#include <string>
#include <vector>

#include <QPlainTextEdit>
#include <QTextCharFormat>

#include "traffic/log_lines.h"

class QAction;
class QMenu;

namespace tc101 {

// A received block clears a log longer than this (line breaks counted as CR LF).
inline constexpr qsizetype kLogCharacterLimit = 50000;
// A manual analysis clears a log holding more lines than this.
inline constexpr int kLogLineLimit = 5000;

class TrafficLog : public QPlainTextEdit {
    Q_OBJECT
public:
    // Asks where to save; an empty answer cancels. The default shows a save dialog.
    using SaveFileChooser = std::function<QString(QWidget* parent, const QString& proposedName)>;
    // Opens a saved file with the desktop's program for it.
    using FileOpener = std::function<void(const QString& path)>;

    explicit TrafficLog(QWidget* parent = nullptr);

    // Run by every writer before it appends: focus (when shown), caret at the
    // end, last line in view.
    void ScrollLogToEnd();
    // The text as new last line(s) in the colour; a text ending with a line
    // break leaves one empty line after it.
    void AppendLine(LogColour colour, const QString& text);
    void AppendLine(LogColour colour, const std::string& text) { AppendLine(colour, QString::fromStdString(text)); }
    // An account: each line followed by a line break, as one entry.
    void AppendBlock(LogColour colour, const std::vector<std::string>& lines);
    void ClearLog();

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
    // Shows all four items when the log holds text, none otherwise.
    void PopupMenu2Popup();

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

    std::array<QTextCharFormat, 4> formats_;
    SaveFileChooser chooseSaveFile_;
    FileOpener openFile_;
};

}  // namespace tc101
