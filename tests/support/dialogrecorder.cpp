#include "tests/support/dialogrecorder.h"

DialogRecorder::DialogRecorder() {
    setDialogHandlers({[this](const MessageRequest& r) {
                           messages.append(r);
                           return nextAnswer;
                       },
                       [this](const QString& prompt, const QString&, const QString&) {
                           prompts.append(prompt);
                           return inputAnswers.isEmpty() ? QString() : inputAnswers.takeFirst();
                       }});
}

DialogRecorder::~DialogRecorder() { setDialogHandlers({}); }

QStringList DialogRecorder::texts() const {
    QStringList out;
    for (const auto& m : messages) out.append(m.text);
    return out;
}

void DialogRecorder::clear() {
    messages.clear();
    prompts.clear();
}
