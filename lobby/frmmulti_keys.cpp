// Key filters of the online window's text boxes. Each sees the typed character
// and may swallow it; keys that type nothing (arrows, shift) always pass.
#include "lobby/frmmulti.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

bool isEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

// The host address takes digits, "." and the other signs, but no letters.
bool refusedInAddress(QChar c) {
    const ushort code = c.unicode();
    return (code >= 58 && code <= 90) || (code >= 97 && code <= 125);
}

} // namespace

void frmmulti::installKeyFilters() {
    for (QObject* box : {txthostnaam, txtserverip, txtlobbysturen, txtusrpassword})
        box->installEventFilter(this);
    Combo1->installEventFilter(this);
}

bool frmmulti::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const QString typed = key->text();

    if (watched == txthostnaam) {
        if (!typed.isEmpty()) {
            txtmetpaswoord->setText(QStringLiteral("no"));
            adresingetypt = QStringLiteral("yes");
        }
        return false;
    }
    if (watched == txtserverip) return !typed.isEmpty() && refusedInAddress(typed.at(0));
    if (watched == txtusrpassword && isEnter(key)) {
        Command5_Click();
        return true;
    }
    // Enter in the chat input is not typed into it: it sends the line.
    if (watched == txtlobbysturen && isEnter(key)) {
        cmdlobbysend_Click();
        return true;
    }
    // The number of answers is picked from the list only; typing does nothing.
    if (watched == Combo1) return !typed.isEmpty();
    return QWidget::eventFilter(watched, event);
}
