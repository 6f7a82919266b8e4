#include "traffic/ui/log_text.h"

#include <QLocale>
#include <QStringList>

namespace tc101 {

bool IsBlankLogText(const QString& text) {
    for (const QChar c : text)
        if (c > QLatin1Char(' ')) return false;
    return true;
}

QString ProposedLogFileName(const QDateTime& moment) { return moment.toString(QStringLiteral("yyyyMMddHHmmss")); }

QString SavedLogDateLine(const QDateTime& moment) {
    const QLocale locale = QLocale::system();
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QLatin1Char('t'));
    return locale.toString(moment.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           moment.time().toString(timeFormat.trimmed());
}

QByteArray LogFileBytes(const QString& plainText, const QString& lastLine) {
    static const QByteArray kLineBreak("\r\n");
    QStringList lines = plainText.split(QLatin1Char('\n'));
    if (!lastLine.isNull()) lines.append(lastLine);
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += line.toUtf8();
        bytes += kLineBreak;
    }
    return bytes;
}

}  // namespace tc101
