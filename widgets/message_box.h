#pragma once

// The one way the program talks to the user in a box: information boxes,
// Yes/No and Yes/No/Cancel questions and the error box of the top-level
// handler. A hook set on the application object answers instead of a user.

#include <functional>

#include <QString>

class QWidget;

namespace tc101 {

// The two captions of the information boxes; each window uses the one its
// texts were written with.
inline constexpr char16_t kSystemPrompt[] = u"系统提示!";
inline constexpr char16_t kSystemPromptFullWidth[] = u"系统提示！";

enum class BoxKind { Information, Error, YesNo, YesNoCancel };
enum class Answer { Ok, Yes, No, Cancel };

struct MessageBoxRequest {
    BoxKind kind;
    QString caption;
    QString text;
};

using MessageBoxHook = std::function<Answer(const MessageBoxRequest&)>;

// Information icon, OK button.
void ShowInformation(QWidget* parent, const QString& text, const QString& caption);
// Stop icon, OK button, captioned with the application title.
void ShowError(QWidget* parent, const QString& text);
// Question icon; Yes or No (closing the box answers No).
Answer AskYesNo(QWidget* parent, const QString& text, const QString& caption);
// Question icon; Yes, No or Cancel (closing the box answers Cancel).
Answer AskYesNoCancel(QWidget* parent, const QString& text, const QString& caption);

}  // namespace tc101
