// Trivia on the client.
#include "netgame/triviauitbreidingclient.h"

#include "common/gamestate.h"
#include "common/protocol.h"
#include "common/trivia.h"
#include "game/Form1.h"
#include "game/answershape.h"
#include "netgame/clientmodule.h"
#include "netgame/vlag.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace {

void kleurregel(const QString& tekst, qint32 kleur) {
    if (Form1::exists()) Form1::instance().chatregel(tekst, kleur);
}

} // namespace

void triviavraagontvangen(const wire::TriviaQuestionMessage& m) {
    GameState& st = state();
    for (int k = usableAnswerCount(st.aantaltriviaantwoorden) + 1; k <= kMaxTriviaAnswers; ++k)
        st.triviaantwoorden[k] = QStringLiteral("vdrxniets");
    st.rondetype = QStringLiteral("trivia");
    st.triviavraagnr = m.triviavraagnr;
    st.triviavraag = m.triviavraag;
    st.aantaltriviaantwoorden = static_cast<qint16>(usableAnswerCount(m.aantaltriviaantwoorden));
    st.triviamasker1 = m.triviamasker1;
    st.triviaposter = m.triviaposter;
    st.triviafastest = m.triviafastest;
    st.triviamasker2 = m.triviamasker2;
    st.triviafastesttime = m.triviafastesttime;
    // Counted on from the host's number: the question then has the same number on
    // every screen, also for a player who joined during the game.
    if (m.schermnummer >= 1) st.vraagnummer = static_cast<qint16>(m.schermnummer - 1);
    if (!Form1::exists()) return;
    Form1& f = Form1::instance();
    f.frmmuziek->hide();
    f.frmtrivia->show();
    f.txttriviamask->setText(st.triviamasker1);
    f.txttriviamask->show();
    f.txttriviavraag->setText(st.triviavraag);
    f.txttriviavraag->show();
    f.txttriviaposter->setText(st.triviaposter);
    if (st.triviafastest == QLatin1String("nobody")) {
        f.txttriviafastest->setText(QStringLiteral("-"));
        f.txttriviafastesttime->setText(QStringLiteral("0 sec."));
    } else {
        f.txttriviafastest->setText(st.triviafastest);
        f.txttriviafastesttime->setText(writeDecimal(st.triviafastesttime, decimaalteken()) +
                                        QStringLiteral(" sec."));
    }
    f.nieuwetriviavraag();
}

void systeemberichtgroenclient(const QString& tekst) {
    kleurregel(tekst, kTriviaGreen);
}

void antwoordentonenclient(const QString& tekst) {
    kleurregel(tekst, kTriviaBlue);
}

void recordberichtclient(const QString& tekst) {
    kleurregel(tekst, kTriviaRed);
}

void sendtriviaantwoord(const QString& antwoord) {
    clientsend(wire::build(wire::TriviaAnswerMessage{antwoord, state().klokwaarde},
                           decimaalteken().at(0)));
}

void scoresontvangen(const wire::RoundResultTable& rows) {
    if (!Form1::exists()) return;
    Form1& f = Form1::instance();
    for (int i = 0; i <= 4; ++i) {
        const wire::RoundResultRow& r = rows[i];
        const bool inUse = !r.naam.isEmpty();
        if (inUse) toonvlag(f.Imaget[i], r.landnummer);
        for (QWidget* w :
             std::initializer_list<QWidget*>{f.Imaget[i], f.border[i], f.score[i], f.naam[i]})
            w->setVisible(inUse);
        f.score[i]->setText(QString::number(r.totaalscore));
        f.naam[i]->setText(r.naam);
        f.bonus[i]->setText(u'+' + QString::number(r.huidigescore));
        f.bonus[i]->setVisible(r.huidigescore != 0);
    }
}
