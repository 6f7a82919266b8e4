#include "widgets/message_box.h"

#include <QMessageBox>

#include "widgets/application.h"

namespace tc101 {

namespace {

Answer FromButton(QMessageBox::StandardButton button, Answer closed) {
    switch (button) {
        case QMessageBox::Ok: return Answer::Ok;
        case QMessageBox::Yes: return Answer::Yes;
        case QMessageBox::No: return Answer::No;
        case QMessageBox::Cancel: return Answer::Cancel;
        default: return closed;
    }
}

Answer Show(QWidget* parent, const MessageBoxRequest& request) {
    if (const auto* app = qobject_cast<Application*>(QCoreApplication::instance())) {
        if (const auto& hook = app->MessageBoxHookFunction()) return hook(request);
    }
    switch (request.kind) {
        case BoxKind::Information:
            QMessageBox::information(parent, request.caption, request.text);
            return Answer::Ok;
        case BoxKind::Error:
            QMessageBox::critical(parent, request.caption, request.text);
            return Answer::Ok;
        case BoxKind::YesNo:
            return FromButton(QMessageBox::question(parent, request.caption, request.text,
                                                    QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes),
                              Answer::No);
        case BoxKind::YesNoCancel:
            return FromButton(
                QMessageBox::question(parent, request.caption, request.text,
                                      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes),
                Answer::Cancel);
    }
    return Answer::Cancel;
}

}  // namespace

void ShowInformation(QWidget* parent, const QString& text, const QString& caption) {
    Show(parent, {BoxKind::Information, caption, text});
}

void ShowError(QWidget* parent, const QString& text) {
    Show(parent, {BoxKind::Error, QString::fromUtf16(kApplicationTitle), text});
}

Answer AskYesNo(QWidget* parent, const QString& text, const QString& caption) {
    return Show(parent, {BoxKind::YesNo, caption, text});
}

Answer AskYesNoCancel(QWidget* parent, const QString& text, const QString& caption) {
    return Show(parent, {BoxKind::YesNoCancel, caption, text});
}

}  // namespace tc101
