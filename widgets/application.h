#pragma once

// The application object: the top-level error handler of every command.
// An exception that escapes an event handler is shown in an error box and the
// program keeps running.

#include <exception>

#include <QApplication>
#include <QString>

#include "widgets/message_box.h"

namespace tc101 {

inline constexpr char16_t kApplicationTitle[] = u"澄风101规约调试工具V2.8";

// The text of the error box: a full stop is appended when the message's last
// character sorts after ".".
QString ErrorBoxText(const QString& message);

// The error box of the top-level handler for one exception.
void ShowException(const std::exception& error);

// Runs a command (a button's or menu item's handler) and shows an error it
// meets as the top-level handler would, without unwinding through Qt's own
// event code, which is not exception-safe. notify() stays the last net.
template <typename Command>
void RunCommand(Command&& command) {
    try {
        command();
    } catch (const std::exception& error) {
        ShowException(error);
    }
}

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
