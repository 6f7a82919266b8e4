#include "app/window/help_file.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

namespace tc101 {

namespace {
constexpr char kShippedHelp[] = ":/help/tc101tool-help.html";
}  // namespace

QString HelpFileToOpen() {
    const QFileInfo chm(QDir::current(), QString::fromLatin1(kHelpFileName));
    if (chm.exists()) return chm.absoluteFilePath();
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
    const QString target = QDir(folder).filePath(QStringLiteral("tc101tool-help.html"));
    QFile::remove(target);
    if (!QFile::copy(QString::fromLatin1(kShippedHelp), target)) return {};
    // Resources copy read-only; the next start must be able to replace it.
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    return target;
}

void OpenHelp() {
    const QString path = HelpFileToOpen();
    if (!path.isEmpty()) QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace tc101
