#include "app/shell/application.h"

#include <exception>

namespace tc101 {

QString ErrorBoxText(const QString& message) {
    if (!message.isEmpty() && message.back() > QLatin1Char('.')) return message + QLatin1Char('.');
    return message;
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QString::fromUtf16(kApplicationTitle));
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowError(nullptr, ErrorBoxText(QString::fromUtf8(error.what())));
    }
    return true;
}

}  // namespace tc101
