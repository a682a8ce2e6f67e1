// "Send" in the game chat: a chat line in a music round, a typed answer in a trivia round.
#include "game/Form1.h"

#include "common/gamestate.h"
#include "netgame/clientmodule.h"
#include "netgame/servermodule.h"
#include "netgame/triviauitbreiding.h"
#include "netgame/triviauitbreidingclient.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPointer>

void Form1::cmdchat_Click() {
    const GameState& s = state();
    QPointer<Form1> self(this);
    const bool host = s.isserver == 1;
    if (s.rondetype != QLatin1String("music")) {
        txtchat1->setText(txtchat1->text().toLower());
        if (host) {
            controleertriviaantwoord(txtchat1->text(), 0);
            if (!self) return;
            txtchat1->clear();
            txtchat1->setFocus();
            return;
        }
        if (!clientLive()) {
            verbrokenmelding();
            return;
        }
        sendtriviaantwoord(txtchat1->text());
        txtchat1->clear();
        txtchat1->setFocus();
        return;
    }
    const QString line = txtchat1->text();
    QCoreApplication::processEvents();
    if (!self) return;
    if (host) {
        sendchattoclients(QStringLiteral("<server> ") + line);
    } else if (clientLive()) {
        sendchattoserver(QStringLiteral("<") + s.gebruikersnaam + QStringLiteral("> ") + line);
    } else {
        verbrokenmelding();
        txtchat1->clear();
        return;
    }
    if (!self) return;
    QCoreApplication::processEvents();
    if (!self) return;
    txtchat1->clear();
    txtchat1->setFocus();
}
