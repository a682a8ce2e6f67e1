// The host's round loop: "Start!", the game starts, the next-round procedures with
// the end test, the clocks, the watch, the delay and the answer display.
//
// Guards kept here:
// - rondeopen_: a round is closed once, by the watch or by a clock, never twice;
// - rondegescoord_: the answers of a closed round are shown and scored once;
// - voorbereiden_: while a next-round procedure lets events run, the watch does
//   nothing, so no nested tick closes or scores the round being prepared;
// - spelafgelopen_: after the end test ended the game the loop's timers are off and
//   nothing is closed, scored or started any more;
// - a failing trivia round start is tried kMaxTriviaStarts times in all, each after
//   its message, then the game ends. A server that is coming back gets its chance with
//   each try; with one that is away, a try made within two seconds of the last fails
//   at once, and a later one waits the connect time-out again (see DbConnection).
#include "game/Form1.h"

#include "common/gamestate.h"
#include "common/musicdraw.h"
#include "common/points.h"
#include "common/trivia.h"
#include "game/Form7.h"
#include "game/answershape.h"
#include "game/answerwatch.h"
#include "lobby/clicklabel.h"
#include "lobby/frmmulti.h"
#include "netgame/servermodule.h"
#include "netgame/triviauitbreiding.h"
#include "platform/clock.h"
#include "platform/dialogs.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <cmath>

namespace {

constexpr int kMaxTriviaStarts = 3;
// Songs drawn for one music round before the game gives up on the playlist.
constexpr int kMaxSongDraws = 10;

double round3(double x) {
    return std::round(x * 1000.0) / 1000.0;
}

// Seconds per question of this PC's game.
double vraagtijd() {
    const GameState& s = state();
    return (s.isserver != 0 ? s.vraagtijdtekst : s.clientvraagtijd).toDouble();
}

void showAll(std::initializer_list<QWidget*> widgets) {
    for (QWidget* w : widgets)
        w->show();
}

} // namespace

void Form1::setKlokRood(bool rood) {
    const QColor kleur = rood ? vbColor(kColourRed) : palette().color(QPalette::Base);
    // The trivia clock asks every 10 ms: only a change repaints the box.
    if (txtklok->palette().color(QPalette::Base) == kleur) return;
    QPalette p = txtklok->palette();
    p.setColor(QPalette::Base, kleur);
    txtklok->setPalette(p);
}

void Form1::setKeuzeAchtergrond(QLineEdit* box, qint32 kleur, bool normaal) {
    QPalette p = box->palette();
    p.setColor(QPalette::Base, normaal ? palette().color(QPalette::Base) : vbColor(kleur));
    box->setPalette(p);
}

void Form1::Command8_Click() {
    const GameState& s = state();
    tmraantalplayersbegin->stop();
    // Off before the start runs: the start lets events run, and a game starts once.
    Command8->setEnabled(false);
    // The key box first: a trivia round start then hands the focus to the chat input.
    Text1->setFocus();
    if (s.speltype == QLatin1String("music"))
        muziekspelopstarten();
    else if (s.speltype == QLatin1String("trivia"))
        triviaspelopstarten();
    else
        mixedspelopstarten();
}

void Form1::muziekspelopstarten() {
    GameState& s = state();
    s.liedbovengrens = songDrawBound(s.liedpaden.size());
    if (!canDrawMusicQuestion(s.liedbovengrens, s.liedpaden, s.liedtitels)) {
        MsgBox(QStringLiteral("The playlist holds too few songs: a music quiz needs at least %1.")
                   .arg(kMinDrawableSongs),
               MsgIcon::Exclamation);
        Command8->setEnabled(true);
        // Back to waiting for players: the drop watch runs again.
        if (!tmraantalplayersbegin->isActive()) tmraantalplayersbegin->start();
        return;
    }
    clearQuestionState(s);
    for (int i = 0; i <= 3; ++i)
        score[i]->setText(QStringLiteral("0"));
    s.aantalantwoorden = 0;
    s.vraagnummer = 0;
    txthoofd->setText(QStringLiteral("1 ~ artist/song?"));
    opstarten();
    spelafgelopen_ = false;
    rondeopen_ = false;
    rondegescoord_ = true;
    watch_->start();
    Image5->hide();
    Frame1->show();
    frmmuziek->show();
    frmtrivia->hide();
    s.speler1geantwoord = 0;
    s.speler2geantwoord = 0;
    if (s.joystick1 != 0) startJoystickPoll();
    muziekserverherbeginnen();
}

void Form1::triviaspelopstarten() {
    GameState& s = state();
    clearQuestionState(s);
    for (int i = 0; i <= 3; ++i)
        score[i]->setText(QStringLiteral("0"));
    s.klokwaarde = s.vraagtijdtekst.toDouble();
    txtklok->setText(QString::number(int(std::trunc(s.klokwaarde))));
    s.aantalantwoorden = 0;
    s.vraagnummer = 0;
    txthoofd->setText(QStringLiteral("0 ~ Trivia question "));
    opstarten();
    spelafgelopen_ = false;
    rondeopen_ = false;
    rondegescoord_ = true;
    triviapogingen_ = 0;
    watch_->start();
    Image5->hide();
    Frame1->show();
    frmmuziek->hide();
    frmtrivia->show();
    s.speler1geantwoord = 0;
    s.speler2geantwoord = 0;
    if (s.joystick1 != 0) {
        startJoystickPoll();
        MsgBox(QStringLiteral("go to controls and choose keyboard as input device"));
    }
    triviaserverherbeginnen();
}

bool Form1::eindtest() {
    const GameState& s = state();
    return s.quizlengte != 0 && s.vraagnummer >= s.quizlengte;
}

void Form1::spelbeeindigen() {
    GameState& s = state();
    spelafgelopen_ = true;
    rondeopen_ = false;
    clientantwoordentoelaten(false);
    for (QTimer* t : {tmrAntwoordenTonen, tmrKlok, tmrmilliklok2, tmrdelay, Timer1})
        t->stop();
    s.speler1geantwoord = 1;
    s.speler2geantwoord = 1;
    // The ended game takes no one, from before anything here lets events run.
    if (s.isserver == 1) closelistener();
    Image5->show();
    Frame1->hide();

    Form7& results = Form7::instance();
    results.lblvragen->setText(QString::number(s.quizlengte));
    results.lbltijd->setText(s.vraagtijdtekst);
    results.show();
    for (int i = 0; i <= 4; ++i) {
        const Speler& speler = s.spelers[i];
        results.naam[i]->setText(speler.naam);
        results.score[i]->setText(QString::number(speler.totaalscore));
        results.naam[i]->setVisible(!speler.naam.isEmpty());
        results.score[i]->setVisible(!speler.naam.isEmpty());
    }
    QPointer<Form1> self(this);
    sendendtoclients();
    // No round start follows to notice a client that leaves now: the watch of
    // before the start drops it. Not when the window was unloaded meanwhile.
    if (!self || !exists() || &instance() != this) return;
    tmraantalplayersbegin->start();
    if (s.isserver == 1 && frmmulti::exists()) frmmulti::instance().hostspelafgelopen();
}

void Form1::muziekserverherbeginnen() {
    GameState& s = state();
    if (voorbereiden_ || spelafgelopen_) return;
    // The kick and the preparation let events run; the window can be unloaded meanwhile.
    QPointer<Form1> self(this);
    Text1->setFocus();
    Command6->setEnabled(true);
    if (s.kickspeler != -1) {
        const qint16 kick = s.kickspeler;
        s.kickspeler = -1;
        if (kick >= 1 && kick <= 4) kickclient(kick);
        if (!self || !exists()) return;
    }
    if (eindtest()) {
        spelbeeindigen();
        return;
    }
    voorbereiden_ = true;
    const bool prepared = muziekrondevoorbereiden();
    if (!self) return;
    voorbereiden_ = false;
    if (!prepared) {
        // No song could be staged: the host was told, and the game ends here.
        spelbeeindigen();
        return;
    }
    rondegescoord_ = false;
    rondeopen_ = true;
    pokeWatch(); // answers may have come in while the round was prepared
}

bool Form1::muziekrondevoorbereiden() {
    GameState& s = state();
    QPointer<Form1> self(this);
    clientantwoordentoelaten(false);
    sendanswerstoclients();
    if (!self) return true;
    terugverbergen();
    for (Speler& speler : s.spelers) {
        speler.antwoord = 0;
        speler.antwoordtijd = 0;
    }
    s.aantalclientantwoorden = 0;
    // A song that cannot be staged is never played: another one is drawn.
    QString fout;
    bool staged = false;
    for (int poging = 0; poging < kMaxSongDraws && !staged; ++poging) {
        liedvoorbereiden();
        staged = stageserversong(s.liedpad, &fout);
    }
    if (!staged) {
        MsgBox(fout == s.liedpad
                   ? QStringLiteral("None of %1 songs drawn could be played; the last one, "
                                    "\"%2\", cannot be read. The game ends.")
                         .arg(kMaxSongDraws)
                         .arg(fout)
                   : QStringLiteral("The excerpt file \"%1\" cannot be written. The game ends.")
                         .arg(fout),
               MsgIcon::Exclamation);
        return false;
    }
    assignslotsandsendchoices();
    if (!self) return true;
    for (int i = 1; i <= 5; ++i)
        s.spelers[i].antwoord = 0;
    clientantwoordentoelaten(true);
    sendsongtoclients();
    if (!self) return true;
    waitforsendcomplete();
    if (!self) return true;
    cmdchat->setEnabled(true);
    for (int n = 1; n <= 4; ++n)
        keuze(n)->setText(s.keuzes[n]);
    knoppenaanleggen();
    liedspelen();
    id3v1();
    antwoordenvrijgeven();
    syncplayercount();
    if (!self) return true;
    nieuwemuziekvraag();
    return true;
}

void Form1::triviaserverherbeginnen() {
    GameState& s = state();
    if (voorbereiden_ || spelafgelopen_) return;
    QPointer<Form1> self(this);
    for (;;) {
        txtchat1->setFocus();
        s.klokwaarde = s.vraagtijdtekst.toDouble();
        txtklok->setText(QString::number(int(std::trunc(s.klokwaarde))));
        Command6->setEnabled(false);
        if (eindtest()) {
            spelbeeindigen();
            return;
        }
        voorbereiden_ = true;
        const bool prepared = triviarondevoorbereiden();
        if (!self) return;
        voorbereiden_ = false;
        if (prepared) {
            triviapogingen_ = 0;
            rondegescoord_ = false;
            rondeopen_ = true;
            pokeWatch();
            return;
        }
        MsgBox(QStringLiteral("error occured in trivserverrestart module"));
        if (!self) return;
        if (++triviapogingen_ >= kMaxTriviaStarts) {
            // No question can be started: the game ends here.
            spelbeeindigen();
            return;
        }
    }
}

void Form1::antwoordenvrijgeven() {
    GameState& s = state();
    s.speler1geantwoord = 0;
    s.speler2geantwoord = 0;
    s.spelers[0].antwoord = 0;
    s.spelers[0].antwoordtijd = 0;
    s.aantalantwoorden = 0;
    if (s.joystick1 != 0) startJoystickPoll();
}

bool Form1::triviarondevoorbereiden() {
    GameState& s = state();
    QPointer<Form1> self(this);
    triviavraagsluiten(); // the next question is drawn: no answer counts until it is sent
    terugverbergen();
    for (int k = 1; k <= 15; ++k)
        s.spelers[0].gevonden[k] = QStringLiteral("0");
    for (QLineEdit* box : {txttriviamask, txttriviavraag, txttriviaposter, txttriviafastesttime})
        box->clear();
    if (!triviavoorbereiden()) return false;
    if (!self) return true;
    for (Speler& speler : s.spelers) {
        speler.antwoord = 0;
        speler.antwoordtijd = 0;
        speler.huidigescore = 0;
    }
    s.aantalclientantwoorden = 0;
    sndtrivtoclients();
    if (!self) return true;
    waitforsendcomplete();
    if (!self) return true;
    cmdchat->setEnabled(true);
    Frame1->show();
    frmtrivia->show();
    txttriviavraag->setText(s.triviavraag);
    txttriviavraag->show();
    txttriviamask->show();
    txttriviaposter->setText(s.triviaposter);
    if (s.triviafastest != QLatin1String("nobody")) {
        txttriviafastest->setText(s.triviafastest);
        txttriviafastesttime->setText(writeDecimal(s.triviafastesttime, decimaalteken()) +
                                      QStringLiteral(" sec."));
    } else {
        txttriviafastest->setText(QStringLiteral("-"));
        txttriviafastesttime->setText(QStringLiteral("0 sec."));
    }
    triviaspelen();
    s.speler1geantwoord = 1;
    s.speler2geantwoord = 1;
    s.spelers[0].antwoord = 0;
    s.spelers[0].antwoordtijd = 0;
    s.aantalantwoorden = 0;
    syncplayercount();
    if (!self) return true;
    nieuwetriviavraag();
    return true;
}

void Form1::nieuwemuziekvraag() {
    GameState& s = state();
    s.vraagnummer = addPoints(s.vraagnummer, 1);
    txthoofd->setText(QString::number(s.vraagnummer) + QStringLiteral(" ~ artist/song?"));
    klokherstellen();
}

void Form1::nieuwetriviavraag() {
    GameState& s = state();
    s.vraagnummer = addPoints(s.vraagnummer, 1);
    txthoofd->setText(QString::number(s.vraagnummer) + QStringLiteral(" ~ Trivia question ") +
                      s.triviavraagnr);
    klokherstellen();
}

void Form1::klokherstellen() {
    GameState& s = state();
    setKlokRood(false);
    txtklok->setText(s.vraagtijdtekst);
    if (s.rondetype != QLatin1String("music")) {
        s.klokstart = qint32(timeGetTime());
        s.klokwaarde = vraagtijd();
        tmrmilliklok2->start();
    } else {
        tmrKlok->start();
        tmrmilliklok2->stop();
    }
}

void Form1::opstarten() {
    txtklok->setText(state().vraagtijdtekst);
}

void Form1::tmrKlok_Timer() {
    GameState& s = state();
    const int n = txtklok->text().toInt();
    if (n != 0) {
        txtklok->setText(QString::number(n - 1));
        if (n - 1 < 6) setKlokRood(true);
        return;
    }
    tmrKlok->stop();
    liedstoppen();
    if (s.isserver != 0 && rondeopen_ && !spelafgelopen_) {
        // The clock closes the round; the delay shows and scores it.
        rondeopen_ = false;
        clientantwoordentoelaten(false);
        s.vertraging = 3;
        tmrdelay->start();
    }
}

void Form1::tmrmilliklok2_Timer() {
    GameState& s = state();
    // Milliseconds since the start, right across a wrap of the counter.
    const quint32 verstreken = timeGetTime() - quint32(s.klokstart);
    s.klokwaarde = vraagtijd() - verstreken / 1000.0;
    if (round3(s.klokwaarde) <= 0) s.klokwaarde = 0;
    Text3->setText(QString::number(s.klokwaarde, 'f', 2));
    // Several answers have no second mask: "N answers!" stays.
    if (txtklok->text() == QLatin1String("5") && !s.triviamasker2.isEmpty())
        txttriviamask->setText(s.triviamasker2);

    const auto showSeconds = [&] {
        const int shown = qMax(0, int(std::trunc(s.klokwaarde - 0.01)));
        const QString tekst = QString::number(shown);
        if (txtklok->text() != tekst) txtklok->setText(tekst);
        setKlokRood(shown < 6);
    };
    if (s.isserver == 0) {
        if (txtklok->text() != QLatin1String("0")) showSeconds();
        // Off only at 0: a tick that left a thousandth is followed by one that ends it.
        if (s.klokwaarde == 0) tmrmilliklok2->stop();
        return;
    }
    if (round3(s.klokwaarde) <= 0) {
        tmrmilliklok2->stop();
        txtklok->setText(QStringLiteral("0"));
        if (rondeopen_ && !spelafgelopen_) {
            rondeopen_ = false;
            tmrKlok->stop();
            s.vertraging = 3;
            tmrdelay->start();
            sendscorestoclients();
        }
        return;
    }
    showSeconds();
}

void Form1::tmrAntwoordenTonen_Timer() {
    GameState& s = state();
    if (voorbereiden_ || spelafgelopen_) return;
    if (!tmrdelay->isActive()) {
        if (rondeopen_ && s.aantalclientantwoorden == s.aantalclients && s.aantalantwoorden == 1) {
            rondeopen_ = false;
            clientantwoordentoelaten(false);
            tmrKlok->stop();
            antwoordentonen();
            puntentoekennen();
            rondegescoord_ = true;
            s.vertraging = 3;
            tmrdelay->start();
            s.aantalantwoorden = 0;
        }
        return;
    }
    if (s.vertraging != 0) return;
    tmrdelay->stop();
    s.vertraging = -1;
    terugverbergen();
    if (s.rondetype == QLatin1String("trivia")) {
        triviaserverherbeginnen();
        return;
    }
    // The joystick poll rests while the round is prepared; the new round turns it on.
    Timer1->stop();
    if (s.keyboard1 != 0) s.speler1geantwoord = 0;
    muziekserverherbeginnen();
}

void Form1::tmrdelay_Timer() {
    GameState& s = state();
    if (spelafgelopen_) return;
    if (s.vertraging == 3 && !rondegescoord_) {
        rondegescoord_ = true;
        if (s.rondetype == QLatin1String("trivia")) {
            QPointer<Form1> self(this);
            recordcontroleren();
            if (!self) return;
            antwoordentonenserver();
            if (!self) return;
        } else {
            // A round the clock closed: its answers and the right title are shown
            // and scored here, also when the host did not answer.
            antwoordentonen();
            puntentoekennen();
        }
    }
    if (s.vertraging > 0) --s.vertraging;
    pokeWatch(); // the delay may have run out
}

void Form1::pokeWatch() {
    watch_->poke();
}

void Form1::antwoordentonen() {
    const GameState& s = state();
    for (int i = 0; i <= 4; ++i) {
        const Speler& speler = s.spelers[i];
        if (speler.naam.isEmpty()) continue;
        naam[i]->setText(speler.naam);
        showAll({naam[i], border[i], Imaget[i], score[i]});
        border[i]->setBorderColor(answerColour(speler.antwoord));
    }
}

void Form1::puntentoekennen() {
    GameState& s = state();
    setKeuzeAchtergrond(keuze(s.juistekeuze), kColourLightGreen, false);
    // Records are numbered by socket: a client gone from a lower socket leaves a gap.
    for (int i = 0; i <= 4; ++i) {
        Speler& speler = s.spelers[i];
        if (i != 0 && speler.naam.isEmpty()) continue;
        if (speler.antwoord != s.juistekeuze) continue;
        score[i]->setText(
            QString::number(addPoints(qint16(score[i]->text().toInt()), speler.antwoordtijd)));
        bonus[i]->setText(QString::number(speler.antwoordtijd) + QStringLiteral("+"));
        bonus[i]->show();
        if (i == 0) speler.totaalscore = addPoints(speler.totaalscore, speler.antwoordtijd);
    }
}

void Form1::terugverbergen() {
    for (int n = 1; n <= 4; ++n)
        setKeuzeAchtergrond(keuze(n), 0, true);
    for (int i = 0; i <= 4; ++i) {
        border[i]->setBorderColor(kColourBlack);
        border[i]->hide();
        bonus[i]->hide();
    }
}
