// Trivia on the host.
#include "netgame/triviauitbreiding.h"

#include "common/gamestate.h"
#include "common/protocol.h"
#include "common/trivia.h"
#include "game/Form1.h"
#include "game/answershape.h"
#include "lobby/centraldb.h"
#include "netgame/netinternal.h"
#include "netgame/servermodule.h"
#include "platform/clock.h"

#include <QLabel>
#include <QLineEdit>
#include <array>
#include <cmath>

namespace {

const QString kRecordUpdate =
    QStringLiteral("UPDATE vdrx_trivia SET fastest = ?, fastesttime = ? where questionnr = ?");

// The host's question is open: the clock runs and no next question is being sent.
bool vraagopen() {
    return Form1::exists() && Form1::instance().rondeopen() &&
           state().rondetype == QLatin1String("trivia");
}

double vraagtijd() {
    return state().vraagtijdtekst.toDouble();
}

// Per client socket: whether the current question was sent to it and is not
// closed, and when it was sent (timeGetTime).
struct Verzending {
    bool open = false;
    quint32 tijdstip = 0;
};

std::array<Verzending, 5>& verzendingen() {
    static std::array<Verzending, 5> tabel;
    return tabel;
}

// The seconds a client's clock can show at most now: the question's seconds less
// the time since it was sent to that client, plus 1 s for the way there and back.
double klokgrens(const Verzending& v) {
    const double sinds = quint32(timeGetTime() - v.tijdstip) / 1000.0;
    return qMin(vraagtijd(), vraagtijd() - sinds + 1.0);
}

TriviaTurn beurt(bool optijd, qint16 punten, double tijd) {
    const GameState& st = state();
    return TriviaTurn{st.triviaantwoorden, st.aantaltriviaantwoorden, optijd, punten, tijd};
}

// The line in its colour in the host's chat, then to every live client.
void systeemregel(const char* tag, const QString& tekst, qint32 kleur) {
    if (Form1::exists()) Form1::instance().chatregel(tekst, kleur);
    naaralleclients(wire::buildText(tag, tekst));
}

void beoordelen(qint16 spelernr, const QString& antwoord, const TriviaTurn& turn,
                const QString& chatregel) {
    if (spelernr < 0 || spelernr > 5) return;
    const TriviaJudgement oordeel = judgeTrivia(state().spelers[spelernr], antwoord, turn);
    for (const QString& regel : oordeel.regels)
        systeemberichtgroen(regel);
    if (!oordeel.match) sendchattoclients(chatregel);
}

} // namespace

void sndtrivtoclients() {
    GameState& st = state();
    const HintMasks masks = hintMasks(st.aantaltriviaantwoorden, st.triviaantwoorden[1]);
    st.triviamasker1 = masks.masker1;
    st.triviamasker2 = masks.masker2;
    wire::TriviaQuestionMessage m;
    m.triviavraagnr = st.triviavraagnr;
    m.triviavraag = st.triviavraag;
    m.aantaltriviaantwoorden = st.aantaltriviaantwoorden;
    m.triviamasker1 = st.triviamasker1;
    m.triviaposter = st.triviaposter;
    m.schermnummer = static_cast<qint16>(st.vraagnummer + 1);
    m.triviafastest = st.triviafastest;
    m.triviafastesttime = st.triviafastesttime;
    m.triviamasker2 = st.triviamasker2;
    const QByteArray bytes = wire::build(m, decimaalteken().at(0));
    triviavraagsluiten();
    auto& tabel = clientslots();
    for (int i = 1; i <= 4; ++i) {
        tabel[i].ingame = QStringLiteral("1");
        if (!serverLive(i)) {
            tabel[i].verzonden = true;
            continue;
        }
        tabel[i].verzonden = false;
        sendvoortgang(i);
        // Open for this client's answers from its send on: events run in the send.
        verzendingen()[i] = Verzending{true, timeGetTime()};
        if (!serversend(i, bytes)) {
            tabel[i].verzonden = true;
            verzendingen()[i].open = false;
        }
    }
}

void triviavraagsluiten() {
    for (Verzending& v : verzendingen())
        v.open = false;
}

void controleertriviaantwoord(const QString& antwoord, qint16 spelernr) {
    const GameState& st = state();
    const bool optijd = vraagopen() && st.klokwaarde > 0;
    const qint16 punten =
        Form1::exists() ? static_cast<qint16>(Form1::instance().txtklok->text().toInt()) : 0;
    beoordelen(spelernr, antwoord, beurt(optijd, punten, vraagtijd() - st.klokwaarde),
               QStringLiteral("<server> ") + antwoord);
}

void controleertriviaantwoordclient(QString antwoord, QString klokwaarde, qint16 spelernr) {
    if (spelernr < 1 || spelernr > 4) return;
    antwoord.replace(QLatin1String("\\\\"), QLatin1String("\\"));
    antwoord.replace(QLatin1String("\\'"), QLatin1String("'"));
    if (klokwaarde.isEmpty()) klokwaarde = QStringLiteral("0");
    // The question counts for this client from its send on, while it is not closed.
    // A clock value that is no number scores nothing; one above what the client's
    // clock can show counts as that.
    const Verzending& verzending = verzendingen()[spelernr];
    const bool open =
        verzending.open && Form1::exists() && state().rondetype == QLatin1String("trivia");
    const double klok =
        qMin(readDecimal(klokwaarde, decimaalteken()).value_or(0), klokgrens(verzending));
    const bool optijd = open && klok > 0;
    const auto punten = static_cast<qint16>(optijd ? std::trunc(klok) : 0);
    // No answer: a chat line, cut like every peer's chat line.
    beoordelen(
        spelernr, antwoord, beurt(optijd, punten, vraagtijd() - klok),
        wire::peerLine(u'<' + state().spelers[spelernr].naam + QStringLiteral("> ") + antwoord));
}

void systeemberichtgroen(const QString& tekst) {
    systeemregel(wire::vxsecha2, tekst, kTriviaGreen);
}

void antwoordentonenserver() {
    const GameState& st = state();
    const QString tekst = answersLine(st.triviaantwoorden, st.aantaltriviaantwoorden);
    if (!tekst.isEmpty()) systeemregel(wire::vxsecha3, tekst, kTriviaBlue);
}

void recordcontroleren() {
    GameState& st = state();
    const TriviaRecord record =
        findRecord(st.spelers, st.aantaltriviaantwoorden, st.triviafastesttime);
    if (record.speler >= 0) {
        const QString houder = st.spelers[record.speler].naam;
        const double tijd = roundHalfEven2(record.tijd);
        const QString tijdtekst = writeDecimal(tijd, decimaalteken());
        const QString tekst = QStringLiteral("A new record! for question ") + st.triviavraagnr +
                              QStringLiteral(" by ") + houder + QStringLiteral(" in ") + tijdtekst +
                              QStringLiteral(" seconds!");
        QString tabeltijd = tijdtekst;
        const qsizetype komma = tabeltijd.indexOf(u',');
        if (komma >= 0) tabeltijd[komma] = u'.';
        // A record the table did not take is announced to nobody; the host is not
        // shown the error either, and the game goes on.
        DbConnection& db = gMyConn();
        db.Execute(kRecordUpdate, {houder, tabeltijd, st.triviavraagnr});
        if (db.Error().Number == 0) systeemregel(wire::vxsecha4, tekst, kTriviaRed);
    }
    for (Speler& speler : st.spelers) {
        for (int k = 1; k <= kMaxTriviaAnswers; ++k)
            speler.gevonden[k] = QStringLiteral("0");
    }
}

void sendscorestoclients() {
    triviavraagsluiten();
    const GameState& st = state();
    wire::RoundResultTable rows;
    for (int i = 0; i <= 4; ++i) {
        const Speler& speler = st.spelers[i];
        rows[i] = wire::RoundResultRow::of(speler, st.juistekeuze);
        if (!Form1::exists()) continue;
        Form1& f = Form1::instance();
        const bool inUse = !speler.naam.isEmpty();
        for (QWidget* w : std::initializer_list<QWidget*>{f.Imaget[i], f.border[i], f.score[i],
                                                          f.bonus[i], f.naam[i]})
            w->setVisible(inUse);
        if (!inUse) {
            f.score[i]->setText(QStringLiteral("0"));
            f.bonus[i]->setText(QStringLiteral("0"));
            continue;
        }
        f.score[i]->setText(QString::number(speler.totaalscore));
        f.naam[i]->setText(speler.naam);
        f.bonus[i]->setText(u'+' + QString::number(speler.huidigescore));
        f.bonus[i]->setVisible(speler.huidigescore != 0);
    }
    tabelnaarclients(wire::buildRoundResults(wire::vxseant2, rows));
}
