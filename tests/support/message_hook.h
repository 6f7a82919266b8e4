#pragma once

// Answers the program's message boxes in tests and remembers what they said.

#include <deque>
#include <vector>

#include "widgets/application.h"

namespace tc101::testing {

class MessageRecorder {
public:
    MessageRecorder() {
        App()->SetMessageBoxHook([this](const MessageBoxRequest& request) {
            shown.push_back(request);
            const bool question = request.kind == BoxKind::YesNo || request.kind == BoxKind::YesNoCancel;
            if (!question || answers.empty()) return Answer::Ok;
            const Answer answer = answers.front();
            answers.pop_front();
            return answer;
        });
    }
    ~MessageRecorder() { App()->SetMessageBoxHook({}); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    static Application* App() { return qobject_cast<Application*>(QCoreApplication::instance()); }

    std::vector<MessageBoxRequest> shown;
    std::deque<Answer> answers;  // for the questions, in order
};

}  // namespace tc101::testing
