// Answer input: the answer keys, the joystick poll and the recording of an answer.
#include "game/Form1.h"

#include "common/gamestate.h"
#include "common/joystickmodule.h"
#include "game/answershape.h"
#include "game/joystickpoll.h"
#include "netgame/clientmodule.h"
#include "platform/gui/mediaplayer.h"
#include "platform/programfolder.h"

#include <QAction>
#include <QLineEdit>
#include <QScopeGuard>
#include <QTimer>
#include <cmath>

namespace {

// The answer 1..4 whose key of speler is toets; 0 when none is. Exact and case-sensitive.
int answerForKey(const Speler& speler, const QString& toets) {
    for (int k = 1; k <= 4; ++k)
        if (speler.knop(k) == toets) return k;
    return 0;
}

// The answer 1..4 whose joystick button number is knop; 0 when none is.
int answerForButton(const Speler& speler, int knop) {
    for (int k = 1; k <= 4; ++k) {
        bool number = false;
        const int value = speler.knop(k).toInt(&number);
        if (number && value == knop) return k;
    }
    return 0;
}

// Answer colours of the tile: 1 blue, 2 orange, 3 green, anything else yellow.
qint32 inputColour(int antwoord) {
    return antwoord >= 1 && antwoord <= 3 ? answerColour(antwoord) : kColourYellow;
}

} // namespace

void Form1::Form_KeyPress(const QString& toets) {
    keyProcedure(toets);
}

void Form1::Text1_KeyPress(const QString& toets) {
    keyProcedure(toets);
}

void Form1::keyProcedure(const QString& toets) {
    GameState& s = state();
    if (mnuPause->isChecked()) return;
    if (s.isserver != 1) {
        if (s.clientgeantwoord != 0) return;
        const int k = answerForKey(s.spelers[0], toets);
        if (k == 0) return;
        qint16 spelernr = 0;
        clientantwoorden(QString::number(k), spelernr);
        s.clientgeantwoord = 1;
        ++s.aantalantwoorden;
        return;
    }
    if (s.keyboard1 != 0 && s.speler1geantwoord == 0) {
        const int k = answerForKey(s.spelers[0], toets);
        if (k != 0) {
            serverantwoorden(QString::number(k), 0);
            s.speler1geantwoord = 1;
            ++s.aantalantwoorden;
        }
    }
    if (s.keyboard2 > 0 && s.keyboard2 <= 5 && s.speler2geantwoord == 0) {
        const int k = answerForKey(s.spelers[s.keyboard2], toets);
        if (k != 0) {
            serverantwoorden(QString::number(k), s.keyboard2);
            s.speler2geantwoord = 1;
            ++s.aantalantwoorden;
        }
    }
}

void Form1::startJoystickPoll() {
    joystickpoll_->start();
}

void Form1::Timer1_Timer() {
    GameState& s = state();
    readjoystick1();
    if (mnuPause->isChecked()) return;
    // One answer per round, as with the keys.
    if ((s.isserver == 1 ? s.speler1geantwoord : s.clientgeantwoord) != 0) return;
    int knop = -1;
    for (int i = 0; i < 16 && knop < 0; ++i)
        if (s.knoppen1[i] != 0) knop = i;
    if (knop < 0) return;
    const int k = answerForButton(s.spelers[0], knop);
    if (k == 0) return;
    if (s.isserver == 1) {
        serverantwoorden(QString::number(k), 0);
        s.speler1geantwoord = 1;
    } else {
        // A client's button answers the way its keys do: recorded and sent to the host.
        qint16 spelernr = 0;
        clientantwoorden(QString::number(k), spelernr);
        s.clientgeantwoord = 1;
    }
    ++s.aantalantwoorden;
    Timer1->stop();
}

void Form1::answerSound() {
    WindowsMediaPlayer2->setUiMode(QStringLiteral("none"));
    WindowsMediaPlayer2->setURL(programFile(QStringLiteral("answers.wav")));
    WindowsMediaPlayer2->play();
}

// The round start hid the shape; shown now, the player sees that the key was taken.
void Form1::showAnswerColour(int i, int antwoord) {
    border[i]->setBorderColor(inputColour(antwoord));
    border[i]->show();
}

void Form1::serverantwoorden(const QString& antwoord, qint16 spelernr) {
    GameState& s = state();
    if (mnusoundfx->isChecked()) answerSound();
    // The host's player is record 0; a second keyboard player of the set-up
    // wizard has a record and a tile of its own.
    const int r = spelernr >= 0 && spelernr <= 4 ? spelernr : 0;
    Speler& speler = s.spelers[r];
    speler.antwoord = qint16(antwoord.toInt());
    speler.antwoordtijd = qint16(std::floor(txtklok->text().toDouble()));
    showAnswerColour(r, speler.antwoord);
    pokeWatch(); // the caller counts the answer right after
}

void Form1::clientantwoorden(const QString& antwoord, qint16& spelernr) {
    Q_UNUSED(spelernr);
    GameState& s = state();
    // The sound comes last: starting a player takes milliseconds, and the answer
    // goes to the host before that, with the seconds the clock showed at the press.
    const auto sound = qScopeGuard([this] {
        if (mnusoundfx->isChecked()) answerSound();
    });
    if (s.antwoordenopen != 1) return;
    const int r = s.eigenslot.toInt();
    if (r < 0 || r > 4) return;
    Speler& speler = s.spelers[r];
    speler.antwoord = qint16(antwoord.toInt());
    speler.antwoordtijd = qint16(std::floor(txtklok->text().toDouble()));
    showAnswerColour(r, speler.antwoord);
    if (clientLive())
        sendanswertoserver(speler.antwoord, speler.antwoordtijd);
    else
        verbrokenmelding();
}
