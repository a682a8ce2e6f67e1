#pragma once

#include <QString>
#include <functional>

// Message boxes and the input box. The program installs the widget versions at
// start-up; tests install a sink that records what would have been shown.

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { Ok, OkCancel, YesNo };

// Return values as the program compares them.
constexpr int vbOK = 1;
constexpr int vbCancel = 2;
constexpr int vbYes = 6;
constexpr int vbNo = 7;

// The title of message boxes that do not name one.
QString appTitle();

// title empty = appTitle()
int MsgBox(const QString& text, MsgIcon icon = MsgIcon::None, const QString& title = {},
           MsgButtons buttons = MsgButtons::Ok);
// Returns what the user typed, or "" when cancelled.
QString InputBox(const QString& prompt, const QString& title = {}, const QString& defaultText = {});

struct MessageRequest {
    QString text;
    QString title;
    MsgIcon icon;
    MsgButtons buttons;
};

struct DialogHandlers {
    std::function<int(const MessageRequest&)> msgBox;
    std::function<QString(const QString& prompt, const QString& title, const QString& defaultText)>
        inputBox;
};
// Empty handlers fall back to printing on stderr and answering OK / "".
void setDialogHandlers(DialogHandlers handlers);
