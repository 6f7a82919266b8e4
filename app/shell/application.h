#pragma once

// The application object: the top-level error handler of every command.
// An exception that escapes an event handler is shown in an error box and the
// program keeps running.

#include <QApplication>
#include <QString>

#include "app/shell/message_box.h"

namespace tc101 {

inline constexpr char16_t kApplicationTitle[] = u"澄风101规约调试工具V2.8";

// The text of the error box: a full stop is appended when the message's last
// character sorts after ".".
QString ErrorBoxText(const QString& message);

class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Lets tests (and later a scripted run) answer message boxes instead of
    // a user; an empty hook shows real boxes.
    void SetMessageBoxHook(MessageBoxHook hook) { messageBoxHook_ = std::move(hook); }
    const MessageBoxHook& MessageBoxHookFunction() const { return messageBoxHook_; }

private:
    MessageBoxHook messageBoxHook_;
};

}  // namespace tc101
