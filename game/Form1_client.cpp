// The client's round display: the result rows of the last round and the start of a round.
#include "game/Form1.h"

#include "common/gamestate.h"
#include "game/answershape.h"
#include "lobby/frmmulti.h"

#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace {
const QPixmap& flagOf(qint16 landnummer) {
    static const FlagImageList own;
    const FlagImageList& list = frmmulti::exists() ? frmmulti::instance().imglandenlijst : own;
    // An index outside the list shows the picture of an unknown country.
    if (landnummer < 0 || landnummer >= FlagImageList::kCount - 1)
        return list.picture(FlagImageList::kCount);
    return list.flagOf(landnummer);
}
} // namespace

void Form1::alleantwoorden(const QString& antwoord, const QString& antwoordtijd,
                           const QString& huidigescore, const QString& totaalscore,
                           const QString& naam, qint16 spelernr, const QString& juisteantwoord,
                           qint16 landnummer) {
    Q_UNUSED(huidigescore);
    if (spelernr < 0 || spelernr > 4) return;
    const int i = spelernr;
    const qint32 kleur = answerColour(antwoord.toInt());
    setKeuzeAchtergrond(keuze(juisteantwoord.toInt()), kColourLightGreen, false);
    const bool inUse = !naam.isEmpty();
    if (inUse) Imaget[i]->setPixmap(flagOf(landnummer));
    Imaget[i]->setVisible(inUse);
    border[i]->setVisible(inUse);
    score[i]->setVisible(inUse);
    this->naam[i]->setVisible(inUse);
    bonus[i]->hide();
    border[i]->setBorderColor(kleur);
    bonus[i]->setText(antwoordtijd);
    score[i]->setText(totaalscore);
    this->naam[i]->setText(naam);
    bonus[i]->setVisible(inUse && juisteantwoord == antwoord);
}

void Form1::clientherbeginnen() {
    GameState& s = state();
    terugverbergen();
    s.spelers[0].antwoord = 0;
    s.spelers[0].antwoordtijd = 0;
    keuze1->setText(s.clientkeuze1);
    keuze2->setText(s.clientkeuze2);
    keuze3->setText(s.clientkeuze3);
    keuze4->setText(s.clientkeuze4);
    clientliedspelen();
    s.speler1geantwoord = 0;
    s.clientgeantwoord = 0;
    startJoystickPoll();
    txtklok->setText(s.clientvraagtijd);
    setKlokRood(false);
    tmrKlok->start();
    for (int i = 0; i <= 4; ++i) {
        border[i]->hide();
        bonus[i]->hide();
        bonus[i]->clear();
    }
    for (int n = 1; n <= 4; ++n)
        setKeuzeAchtergrond(keuze(n), 0, true);
}
