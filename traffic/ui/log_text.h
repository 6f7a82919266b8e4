#pragma once

// The log's text as it leaves the program: the blank test of the context
// menu and the exit copy, the proposed name of a saved log and the bytes of
// a log file (UTF-8, CR LF after every line).

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace tc101 {

inline constexpr char kExitCopyFileName[] = "default.txt";

// True when nothing but blanks and control characters is left after trimming.
bool IsBlankLogText(const QString& text);

// "yyyymmddhhmmss" of the moment, 24-hour clock.
QString ProposedLogFileName(const QDateTime& moment);

// The date and time line a saved log ends with: the locale's short date and
// its long time without the zone.
QString SavedLogDateLine(const QDateTime& moment);

// The plain text's lines, each followed by CR LF, then lastLine (if not null)
// the same way.
QByteArray LogFileBytes(const QString& plainText, const QString& lastLine = QString());

}  // namespace tc101
