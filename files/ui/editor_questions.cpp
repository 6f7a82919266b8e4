#include "files/ui/editor_questions.h"

#include "widgets/application.h"
#include "widgets/message_box.h"

namespace tc101 {

bool ConfirmRowDelete(QWidget* parent, int row) {
    const QString question = QString::fromUtf16(u"确定删除第 ") + QString::number(row) + QString::fromUtf16(u" 行纪录?");
    return AskYesNo(parent, question, QString::fromUtf16(kSystemPrompt)) == Answer::Yes;
}

bool MayCloseAfterAsking(QWidget* parent, const QString& question, const std::function<void()>& save) {
    switch (AskYesNoCancel(parent, question, QString::fromUtf16(kSystemPromptFullWidth))) {
        case Answer::Cancel: return false;
        case Answer::Yes:
            try {
                save();
            } catch (const std::exception& error) {
                ShowException(error);
                return false;
            }
            return true;
        default: return true;
    }
}

}  // namespace tc101
