// The "Lobby" tab: sending chat lines, the chat, users and system-message polls,
// and "Clear all".
#include "common/gamestate.h"
#include "lobby/centraldb.h"
#include "lobby/frmmulti.h"
#include "platform/dialogs.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>

namespace {

// Puts a poll's text into its box, only when it differs from the text put there
// last (the box's own text may read back otherwise: line and paragraph separators,
// lone CRs, characters the box uses itself); then selects the last character,
// which brings the end into view. The box shows the text as plain text: nothing
// in it is taken for markup.
void showPolled(QTextEdit* box, const QString& composed, QString& shown) {
    if (composed == shown) return;
    shown = composed;
    box->clear();
    box->setPlainText(QString(composed).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    if (composed.isEmpty()) return;
    QTextCursor cursor(box->document());
    const int length = box->toPlainText().size();
    cursor.setPosition(length - 1);
    cursor.setPosition(length, QTextCursor::KeepAnchor);
    box->setTextCursor(cursor);
}

} // namespace

void frmmulti::cmdlobbysend_Click() {
    const QString regel = txtlobbysturen->text();
    if (regel.isEmpty()) return;
    gMyConn().Execute(QStringLiteral("INSERT INTO vdrx_messages (van,naar,bericht,servertime) "
                                     "VALUES(?,'all',?,now());"),
                      {state().gebruikersnaam, regel});
    const DbError error = gMyConn().Error();
    if (error.Number != 0) {
        // The line stays in the input box, to be sent again.
        if (error.maybeStored)
            CheckChange(QStringLiteral("Your message"));
        else
            MsgBox(QStringLiteral("Your message was not sent: ") + error.Description);
        txtlobbysturen->setFocus();
        return;
    }
    txtlobbysturen->clear();
    txtlobbysturen->setFocus();
}

// A tick that comes while the previous one still runs is dropped, and a slow
// tick is followed by a full interval rather than at once. A lost connection is
// opened again by gMyConn itself; the tick does not wait for that.
void frmmulti::tmrlobbychat_Timer() {
    if (lobbyPollRunning_) return;
    const DbConnection::TimedPoll poll(gMyConn());
    lobbyPollRunning_ = true;
    QElapsedTimer took;
    took.start();
    controleeropberichten();
    controleeroponlinegebruikers();
    lobbyPollRunning_ = false;
    if (tmrlobbychat->isActive() && took.elapsed() >= tmrlobbychat->interval())
        tmrlobbychat->start();
}

// Each poll leaves its box as it is when its statement fails.
// Without the server's time of the login, the chat starts at the first poll that
// reads the server's time.
void frmmulti::controleeropberichten() {
    QString& servertijd = state().servertijd;
    if (servertijd.isEmpty()) servertijd = serverNow(gMyConn());
    if (chatReader_.poll(gMyConn(), servertijd))
        showPolled(txtlobbychat, chatReader_.text(), shownChat_);
}

void frmmulti::controleeroponlinegebruikers() {
    QString text;
    if (pollLobbyUsers(gMyConn(), text)) showPolled(txtlobbyonline, text, shownUsers_);
}

void frmmulti::controleeropsysteemberichten() {
    QString text;
    if (pollSystemMessages(gMyConn(), state().gebruikersnaam, text))
        showPolled(txtsystemmessages, text, shownSystem_);
}

void frmmulti::Command12_Click() {
    gMyConn().Execute(
        QStringLiteral("update vdrx_systemmessages set gelezen = 'ja' where naar = ?"),
        {state().gebruikersnaam});
    CheckError();
    controleeropsysteemberichten();
    if (txtsystemmessages->toPlainText().isEmpty())
        txtsystemmessages->setPlainText(QStringLiteral("<none>"));
}
