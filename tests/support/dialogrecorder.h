#pragma once

#include "platform/dialogs.h"

#include <QList>
#include <QStringList>

// Records message boxes and input boxes instead of showing them, and answers them.
// Installs itself for its lifetime.
class DialogRecorder {
public:
    DialogRecorder();
    ~DialogRecorder();
    DialogRecorder(const DialogRecorder&) = delete;
    DialogRecorder& operator=(const DialogRecorder&) = delete;

    QList<MessageRequest> messages;
    QStringList prompts;

    int nextAnswer = vbOK;          // what a message box returns
    QStringList inputAnswers;       // what the next input boxes return, in order

    QStringList texts() const;
    void clear();
};
