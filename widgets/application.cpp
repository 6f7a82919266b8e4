#include "widgets/application.h"

#include <exception>

#include <QLibraryInfo>
#include <QTranslator>

namespace tc101 {

QString ErrorBoxText(const QString& message) {
    if (!message.isEmpty() && message.back() > QLatin1Char('.')) return message + QLatin1Char('.');
    return message;
}

void ShowException(const std::exception& error) {
    ShowError(nullptr, ErrorBoxText(QString::fromUtf8(error.what())));
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QString::fromUtf16(kApplicationTitle));
    // Qt's own buttons and dialogs speak the program's language, not the
    // system's: 是/否/取消/确定/关闭. Without the file they stay in English.
    auto* translator = new QTranslator(this);
    if (translator->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        translator->load(QStringLiteral("qtbase_zh_CN"), applicationDirPath() + QStringLiteral("/translations")))
        installTranslator(translator);
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowException(error);
    }
    return true;
}

}  // namespace tc101
