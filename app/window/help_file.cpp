#include "app/window/help_file.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

#include "widgets/message_box.h"

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

void OpenHelp(QWidget* parent, const HelpOpener& open) {
    const QString path = HelpFileToOpen();
    if (path.isEmpty() || open(QUrl::fromLocalFile(path))) return;
    ShowInformation(parent, QString::fromUtf16(u"没有可打开帮助文件的程序(浏览器), 帮助文件在:\n") + path,
                    QString::fromUtf16(kSystemPrompt));
}

}  // namespace tc101
