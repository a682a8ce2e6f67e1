#include "platform/dialogs.h"

#include <QTextStream>

namespace {
DialogHandlers& handlers() {
    static DialogHandlers h;
    return h;
}
} // namespace

QString appTitle() {
    return QStringLiteral("Vondrix");
}

int MsgBox(const QString& text, MsgIcon icon, const QString& title, MsgButtons buttons) {
    const MessageRequest request{text, title.isEmpty() ? appTitle() : title, icon, buttons};
    if (handlers().msgBox) return handlers().msgBox(request);
    QTextStream(stderr) << request.title << ": " << text << Qt::endl;
    return buttons == MsgButtons::YesNo ? vbYes : vbOK;
}

QString InputBox(const QString& prompt, const QString& title, const QString& defaultText) {
    const QString t = title.isEmpty() ? appTitle() : title;
    if (handlers().inputBox) return handlers().inputBox(prompt, t, defaultText);
    QTextStream(stderr) << t << ": " << prompt << Qt::endl;
    return defaultText;
}

void setDialogHandlers(DialogHandlers h) {
    handlers() = std::move(h);
}
