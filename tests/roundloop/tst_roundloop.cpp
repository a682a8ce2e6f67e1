// The host's round loop without clients, driven tick by tick through the timers'
// handlers and a hand-moved millisecond clock.
#include "common/gamestate.h"
#include "common/joystickmodule.h"
#include "game/Form1.h"
#include "game/Form7.h"
#include "game/answershape.h"
#include "lobby/centraldb.h"
#include "lobby/clicklabel.h"
#include "netgame/clientmodule.h"
#include "netgame/servermodule.h"
#include "netgame/triviauitbreiding.h"
#include "platform/clock.h"
#include "platform/gui/mediaplayer.h"
#include "platform/gui/mediaworker.h"
#include "platform/joystick.h"
#include "platform/rnd.h"
#include "tests/form1/fakejoystick.h"
#include "tests/support/admindb.h"
#include "tests/support/dialogrecorder.h"
#include "tests/support/songfiles.h"
#include "tests/support/tempfolder.h"
#include "tests/support/testmain.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>
#include <memory>

namespace {

const QString kKeys = QStringLiteral("asdf");

QString keyFor(int antwoord) {
    return kKeys.mid(antwoord - 1, 1);
}

// The key of a wrong answer of the current question.
QString wrongKey() {
    return keyFor(state().juistekeuze % 4 + 1);
}

QColor base(QWidget* w) {
    return w->palette().color(QPalette::Base);
}

// Random numbers that make the draw give these indices, for a bound L.
RndSource drawing(QList<int> indices, int L) {
    auto list = std::make_shared<QList<int>>(std::move(indices));
    return [list, L]() {
        const int x = list->isEmpty() ? 0 : list->takeFirst();
        return (x + 0.5) / (L + 1);
    };
}

// The lines of the game chat, each with the Windows colour value of its text.
QStringList chatLines(QTextEdit* box) {
    QStringList lines;
    for (QTextBlock b = box->document()->begin(); b.isValid(); b = b.next()) {
        if (b.text().isEmpty()) continue;
        const QColor c = b.begin().fragment().charFormat().foreground().color();
        lines << QStringLiteral("%1 %2")
                     .arg(c.red() + (c.green() << 8) + (c.blue() << 16))
                     .arg(b.text());
    }
    return lines;
}

} // namespace

class tst_roundloop : public QObject {
    Q_OBJECT

    QTemporaryDir songDir_;
    QTemporaryDir noJoystick_;
    TestSongs songs_;
    std::unique_ptr<TempProgramFolder> folder_;
    std::unique_ptr<DialogRecorder> dialogs_;

    Form1& host(int quizlengte = 10) {
        GameState& s = state();
        s.isserver = 1;
        s.speltype = QStringLiteral("music");
        s.rondetype = QStringLiteral("music");
        s.vraagtijdtekst = QStringLiteral("20");
        s.fragmentgrootte = 22 * 25000;
        s.keyboard1 = kTrue;
        s.joystick1 = kFalse;
        s.kickspeler = -1;
        s.spelers[0].naam = QStringLiteral("Host");
        for (int k = 1; k <= 4; ++k)
            s.spelers[0].knop(k) = keyFor(k);
        Form1& f = Form1::instance();
        s.quizlengte = qint16(quizlengte);
        if (!songs_.paths.isEmpty()) f.LoadM3U(songs_.playlist, s.liedpaden, s.liedtitels);
        return f;
    }

    // A host window whose first round has started.
    Form1& started(int quizlengte = 10) {
        Form1& f = host(quizlengte);
        f.Command8_Click();
        return f;
    }

    // From the close of a round to the start of the next: three delay ticks and the watch.
    void delayAndNext(Form1& f) {
        QVERIFY(f.tmrdelay->isActive());
        QCOMPARE(state().vertraging, qint16(3));
        for (int i = 0; i < 3; ++i)
            f.tmrdelay_Timer();
        QCOMPARE(state().vertraging, qint16(0));
        f.tmrAntwoordenTonen_Timer();
    }

    void requireSongs() {
        if (songs_.paths.isEmpty()) QSKIP("sox or lame missing: no test songs");
    }

private slots:
    void initTestCase() {
        QVERIFY(songDir_.isValid());
        songs_ = makeSongs(songDir_.path(), 10);
    }

    void init() {
        setJoystickFolder(noJoystick_.path());
        resetState();
        resetJoystickModule();
        folder_ = std::make_unique<TempProgramFolder>();
        dialogs_ = std::make_unique<DialogRecorder>();
    }

    void cleanup() {
        Form1::unload();
        Form7::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        setRndSource({});
        dialogs_.reset();
        folder_.reset();
    }

    void tenQuestionGameEndsAfterTheTenthDelay() {
        requireSongs();
        Form1& f = started(10);
        QVERIFY(!f.Command8->isEnabled());
        QVERIFY(f.Frame1->isVisibleTo(&f));
        QVERIFY(f.Image5->isHidden());
        for (int round = 1; round <= 10; ++round) {
            QCOMPARE(state().vraagnummer, qint16(round));
            QCOMPARE(f.txthoofd->text(), QStringLiteral("%1 ~ artist/song?").arg(round));
            QVERIFY(f.tmrKlok->isActive());
            f.Text1_KeyPress(keyFor(state().juistekeuze));
            f.tmrAntwoordenTonen_Timer(); // no clients: the host's answer closes the round
            QVERIFY(!Form7::exists());
            delayAndNext(f);
        }
        QVERIFY(f.spelafgelopen());
        QVERIFY(Form7::exists());
        Form7& results = Form7::instance();
        QVERIFY(results.isVisible());
        QCOMPARE(results.lblvragen->text(), QStringLiteral("10"));
        QCOMPARE(results.lbltijd->text(), QStringLiteral("20"));
        QCOMPARE(results.naam[0]->text(), QStringLiteral("Host"));
        QCOMPARE(results.score[0]->text(), QStringLiteral("200"));
        QVERIFY(!results.naam[1]->isVisibleTo(&results));
        QVERIFY(!f.Image5->isHidden());
        QVERIFY(f.Frame1->isHidden());
    }

    void rightAnswerWithThirteenSecondsScoresThirteen() {
        requireSongs();
        Form1& f = started();
        for (int i = 0; i < 7; ++i)
            f.tmrKlok_Timer();
        QCOMPARE(f.txtklok->text(), QStringLiteral("13"));
        QVERIFY(!f.border[0]->isVisibleTo(&f));
        f.Text1_KeyPress(keyFor(state().juistekeuze));
        QCOMPARE(state().spelers[0].antwoordtijd, qint16(13));
        // The key was taken: the tile shows its colour before the round closes.
        QVERIFY(f.border[0]->isVisibleTo(&f));
        QCOMPARE(f.border[0]->borderColor(), answerColour(state().juistekeuze));
        f.tmrAntwoordenTonen_Timer();
        QCOMPARE(f.score[0]->text(), QStringLiteral("13"));
        QCOMPARE(f.bonus[0]->text(), QStringLiteral("13+"));
        QVERIFY(f.bonus[0]->isVisibleTo(&f));
        QCOMPARE(state().spelers[0].totaalscore, qint16(13));
        QCOMPARE(base(f.keuze(state().juistekeuze)), vbColor(kColourLightGreen));
        QCOMPARE(f.border[0]->borderColor(), answerColour(state().juistekeuze));
    }

    void wrongAnswerCostsNothing() {
        requireSongs();
        Form1& f = started();
        f.Text1_KeyPress(wrongKey());
        f.tmrAntwoordenTonen_Timer();
        QCOMPARE(f.score[0]->text(), QStringLiteral("0"));
        QVERIFY(!f.bonus[0]->isVisibleTo(&f));
        QCOMPARE(state().spelers[0].totaalscore, qint16(0));
    }

    void keyReachingWindowAndKeyBoxCountsOnce() {
        requireSongs();
        Form1& f = started();
        const QString key = keyFor(state().juistekeuze);
        f.Form_KeyPress(key);
        f.Text1_KeyPress(key);
        QTest::keyClick(f.Text1, key.at(0).toLatin1());
        QCOMPARE(state().aantalantwoorden, qint16(1));
        f.tmrAntwoordenTonen_Timer();
        QVERIFY(f.tmrdelay->isActive());
        QCOMPARE(state().spelers[0].totaalscore, qint16(20));
    }

    void upperCaseDoesNotMatchLowerCase() {
        requireSongs();
        Form1& f = started();
        f.Text1_KeyPress(QStringLiteral("A"));
        f.Form_KeyPress(QStringLiteral("S"));
        QCOMPARE(state().aantalantwoorden, qint16(0));
        QCOMPARE(state().spelers[0].antwoord, qint16(0));
        f.Text1_KeyPress(QStringLiteral("a"));
        QCOMPARE(state().spelers[0].antwoord, qint16(1));
    }

    void pausedKeysAndButtonsDoNothing() {
        requireSongs();
        Form1& f = host();
        state().spelers[0].knop1 = QStringLiteral("3");
        f.Command8_Click();
        f.mnuPause->setChecked(true);
        f.Text1_KeyPress(QStringLiteral("s"));
        state().knoppen1[3] = kTrue;
        f.Timer1_Timer();
        QCOMPARE(state().aantalantwoorden, qint16(0));
        QCOMPARE(state().spelers[0].antwoord, qint16(0));
        f.mnuPause->setChecked(false);
        f.Text1_KeyPress(QStringLiteral("s"));
        QCOMPARE(state().spelers[0].antwoord, qint16(2));
    }

    void roundsClosedByTheClockAreScoredOnce() {
        requireSongs();
        Form1& f = started();
        for (int i = 0; i < 5; ++i)
            f.tmrKlok_Timer();
        f.Text1_KeyPress(keyFor(state().juistekeuze)); // 15 seconds left
        state().aantalclients = 1; // one client that never answers keeps the round open
        f.tmrAntwoordenTonen_Timer();
        QVERIFY(!f.tmrdelay->isActive());
        for (int i = 0; i < 16; ++i)
            f.tmrKlok_Timer();
        QCOMPARE(f.txtklok->text(), QStringLiteral("0"));
        QCOMPARE(base(f.txtklok), vbColor(kColourRed));
        QVERIFY(f.tmrdelay->isActive());
        QVERIFY(!f.tmrKlok->isActive());
        state().aantalclients = 0; // the watch could now see a complete round
        f.tmrAntwoordenTonen_Timer();
        f.tmrKlok_Timer();
        QCOMPARE(state().vertraging, qint16(3));
        f.tmrdelay_Timer();
        QCOMPARE(f.score[0]->text(), QStringLiteral("15"));
        QCOMPARE(state().spelers[0].totaalscore, qint16(15));
        f.tmrdelay_Timer();
        f.tmrdelay_Timer();
        f.tmrAntwoordenTonen_Timer(); // next round
        QCOMPARE(state().vraagnummer, qint16(2));
        QCOMPARE(state().spelers[0].totaalscore, qint16(15));
        QCOMPARE(f.score[0]->text(), QStringLiteral("15"));
        QCOMPARE(base(f.txtklok), f.palette().color(QPalette::Base));
    }

    void roundClosedByTheWatchIsNotClosedAgainByTheClock() {
        requireSongs();
        Form1& f = started();
        f.Text1_KeyPress(keyFor(state().juistekeuze));
        f.tmrAntwoordenTonen_Timer();
        QCOMPARE(state().spelers[0].totaalscore, qint16(20));
        f.tmrdelay_Timer();
        QCOMPARE(state().vertraging, qint16(2));
        f.txtklok->setText(QStringLiteral("0")); // as the answer store sets it
        f.tmrKlok_Timer();
        QCOMPARE(state().vertraging, qint16(2));
        f.tmrdelay_Timer();
        f.tmrdelay_Timer();
        f.tmrAntwoordenTonen_Timer();
        QCOMPARE(state().vraagnummer, qint16(2));
        QCOMPARE(state().spelers[0].totaalscore, qint16(20));
    }

    void nothingHappensAfterTheEnd() {
        requireSongs();
        Form1& f = started(1);
        f.Text1_KeyPress(keyFor(state().juistekeuze));
        f.tmrAntwoordenTonen_Timer();
        delayAndNext(f);
        QVERIFY(f.spelafgelopen());
        for (QTimer* t : {f.tmrAntwoordenTonen, f.tmrKlok, f.tmrmilliklok2, f.tmrdelay, f.Timer1})
            QVERIFY(!t->isActive());
        Form7::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        f.Text1_KeyPress(keyFor(1));
        state().vertraging = 0;
        f.tmrAntwoordenTonen_Timer();
        f.tmrdelay_Timer();
        f.txtklok->setText(QStringLiteral("0"));
        f.tmrKlok_Timer();
        f.muziekserverherbeginnen();
        QCOMPARE(state().vraagnummer, qint16(1));
        QCOMPARE(state().spelers[0].totaalscore, qint16(20));
        QVERIFY(!Form7::exists());
    }

    void kickChosenDuringARoundActsAtTheNextRoundStart() {
        requireSongs();
        Form1& f = started();
        f.mnukickplayer[2]->trigger();
        QCOMPARE(state().kickspeler, qint16(3));
        f.Text1_KeyPress(wrongKey());
        f.tmrAntwoordenTonen_Timer();
        f.tmrdelay_Timer();
        QCOMPARE(state().kickspeler, qint16(3));
        f.tmrdelay_Timer();
        f.tmrdelay_Timer();
        f.tmrAntwoordenTonen_Timer();
        QCOMPARE(state().vraagnummer, qint16(2));
        QCOMPARE(state().kickspeler, qint16(-1));
    }

    // Records are numbered by socket: with the client on socket 1 gone, the one on
    // socket 2 is scored on its tile, and the tile is cleared for the next round.
    void aClientAboveAGoneOneIsScoredAndCleared() {
        requireSongs();
        Form1& f = started();
        GameState& s = state();
        s.spelers[2].naam = QStringLiteral("bob");
        s.aantalclients = 1;
        registeranswer(QString::number(s.juistekeuze), QStringLiteral("9"), 2);
        f.Text1_KeyPress(wrongKey());
        f.tmrAntwoordenTonen_Timer();
        QVERIFY(f.tmrdelay->isActive());
        QCOMPARE(f.score[2]->text(), QStringLiteral("9"));
        QCOMPARE(f.bonus[2]->text(), QStringLiteral("9+"));
        QVERIFY(f.bonus[2]->isVisibleTo(&f));
        QCOMPARE(f.border[2]->borderColor(), answerColour(s.juistekeuze));
        delayAndNext(f);
        QCOMPARE(s.vraagnummer, qint16(2));
        QVERIFY(!f.border[2]->isVisibleTo(&f));
        QVERIFY(!f.bonus[2]->isVisibleTo(&f));
        QCOMPARE(f.border[2]->borderColor(), kColourBlack);
    }

    // A song that cannot be staged is not played: another is drawn. When none of
    // the draws can be staged, the host is told once and the game ends.
    void songsThatCannotBeStagedAreRedrawnOrEndTheGame() {
        requireSongs();
        Form1& f = host();
        GameState& s = state();
        s.liedpaden[0] = folder_->file(QStringLiteral("deleted.mp3"));
        s.liedpaden[1] = QStringLiteral("C:\\Music\\song 2.mp3");
        setRndSource(drawing({0, 2, 3, 4, 1, 2, 3, 4, 7, 2, 3, 4}, 9));
        f.Command8_Click();
        setRndSource({});
        QVERIFY(dialogs_->messages.isEmpty());
        QCOMPARE(s.liedpad, songs_.paths[7]);
        QCOMPARE(f.keuze(s.juistekeuze)->text(), songs_.titles[7]);
        QFile excerpt(folder_->file(QStringLiteral("server.mp3")));
        QVERIFY(excerpt.open(QIODevice::ReadOnly));
        QFile song(songs_.paths[7]);
        QVERIFY(song.open(QIODevice::ReadOnly));
        QCOMPARE(excerpt.readAll(), song.read(qint64(s.fragmentgrootte)));

        for (QString& pad : s.liedpaden)
            pad = QStringLiteral("C:\\Music\\") + QFileInfo(pad).fileName();
        f.Text1_KeyPress(keyFor(s.juistekeuze));
        f.tmrAntwoordenTonen_Timer();
        delayAndNext(f);
        QVERIFY(f.spelafgelopen());
        QVERIFY(Form7::exists());
        QCOMPARE(s.vraagnummer, qint16(1));
        QCOMPARE(dialogs_->messages.size(), 1);
        QVERIFY(dialogs_->messages[0].text.contains(u'"' + s.liedpad + u'"'));
        QCOMPARE(f.WindowsMediaPlayer1->playState(), QMediaPlayer::StoppedState);
    }

    // A waiting game window wakes only as often as the game needs: the trivia
    // clock at its own pace, everything else at 200 ms or slower; the joystick
    // poll with no joystick open and the host's watch between changes too. With a
    // joystick, a press answers by the device's events, without a tick of the poll.
    void waitingWindowsWakeOnlyAsTheGameNeeds() {
        requireSongs();
        const auto tooFast = [] {
            QStringList fast;
            for (const QTimer* t : Form1::instance().findChildren<QTimer*>()) {
                const QString name = t->objectName();
                const int needed = name == u"tmrmilliklok2" ? 10 : 200;
                if (t->isActive() && t->interval() < needed) fast << name;
            }
            return fast;
        };
        GameState& s = state();
        Form1& f = host();
        s.keyboard1 = kFalse;
        s.joystick1 = kTrue;
        for (int k = 1; k <= 4; ++k)
            s.spelers[0].knop(k) = QString::number(k + 3); // buttons 4..7
        QCOMPARE(tooFast(), QStringList());                // waiting for players
        f.Command8_Click();
        QVERIFY(f.Timer1->isActive());
        QTRY_COMPARE(tooFast(), QStringList()); // a music round waits for answers
        {
            FakeJoystick stick; // plugged in during the round: the poll's look finds it
            stick.press(s.juistekeuze + 3);
            QTRY_COMPARE(s.spelers[0].antwoord, s.juistekeuze);
            QVERIFY(!f.Timer1->isActive());
        }
        setJoystickFolder(noJoystick_.path());

        Form1::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        s.isserver = 0;
        s.clientvraagtijd = QStringLiteral("20");
        s.eigenslot = QStringLiteral("1");
        clientspelstarten(); // joined: waits for a question
        QVERIFY(Form1::instance().Timer1->isActive());
        QCOMPARE(tooFast(), QStringList());
        FakeJoystick stick;
        Form1::instance().clientherbeginnen();  // a music round on a client, joystick open
        QTRY_COMPARE(tooFast(), QStringList()); // after its first tick the poll rests
        Form1::instance().Timer1->setInterval(3600 * 1000); // no tick can answer now
        stick.press(5); // answer 2, taken from the device's events
        QTRY_COMPARE(s.spelers[1].antwoord, qint16(2));
    }

    // The resting watch still closes a round within its 20 ms of the last answer,
    // and its next round after the delay's last tick.
    void theWatchActsWithinItsIntervalOfAChange() {
        requireSongs();
        Form1& f = started();
        QTRY_VERIFY(f.tmrAntwoordenTonen->remainingTime() > 100); // resting
        f.Text1_KeyPress(keyFor(state().juistekeuze));
        QVERIFY(f.tmrAntwoordenTonen->remainingTime() <= 20);
        QTRY_VERIFY_WITH_TIMEOUT(f.tmrdelay->isActive(), 500);
        QTRY_VERIFY(f.tmrAntwoordenTonen->remainingTime() > 100);
        for (int i = 0; i < 3; ++i)
            f.tmrdelay_Timer();
        QVERIFY(f.tmrAntwoordenTonen->remainingTime() <= 20);
        // That tick prepares the round. It waits for the media player at most to stop
        // the last excerpt and to load the next (2 x 2 s each, as a stop loads a failed
        // item again; see MediaPlayer) and to play it (MediaWorker::kCallBoundMs); and
        // a second more on a loaded machine.
        constexpr int kPreparedMs = 2 * 4000 + MediaWorker::kCallBoundMs;
        QTRY_COMPARE_WITH_TIMEOUT(state().vraagnummer, qint16(2), kPreparedMs + 1000);
    }

    void joystickHostAnswersEveryRound() {
        requireSongs();
        Form1& f = host();
        GameState& s = state();
        s.keyboard1 = kFalse;
        s.joystick1 = kTrue;
        for (int k = 1; k <= 4; ++k)
            s.spelers[0].knop(k) = QString::number(k + 3); // buttons 4..7
        FakeJoystick stick;
        f.Command8_Click();
        for (int round = 1; round <= 2; ++round) {
            QCOMPARE(s.vraagnummer, qint16(round));
            QVERIFY(f.Timer1->isActive());
            stick.press(s.juistekeuze + 3);
            f.Timer1_Timer();
            stick.release(s.juistekeuze + 3);
            QCOMPARE(s.spelers[0].antwoord, s.juistekeuze);
            f.tmrAntwoordenTonen_Timer();
            delayAndNext(f);
        }
        QCOMPARE(s.spelers[0].totaalscore, qint16(40));
    }

    void resetShowsQuestionOneAndTheNextIsTwo() {
        requireSongs();
        Form1& f = started();
        for (int round = 1; round <= 2; ++round) {
            f.Text1_KeyPress(keyFor(state().juistekeuze));
            f.tmrAntwoordenTonen_Timer();
            delayAndNext(f);
        }
        QCOMPARE(state().vraagnummer, qint16(3));
        f.mnureset->trigger();
        QCOMPARE(f.txthoofd->text(), QStringLiteral("1 ~ artist/song?"));
        QCOMPARE(f.score[0]->text(), QStringLiteral("0"));
        QCOMPARE(state().spelers[0].totaalscore, qint16(0));
        QVERIFY(f.txtchat2->toPlainText().contains(QStringLiteral("server: -- GAME RESTARTED")));
        f.Text1_KeyPress(wrongKey());
        f.tmrAntwoordenTonen_Timer();
        delayAndNext(f);
        QCOMPARE(f.txthoofd->text(), QStringLiteral("2 ~ artist/song?"));
    }

    void drawWithBoundEightPutsTheRightTitleInPlace_data() {
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("place");
        const int places[9] = {1, 1, 2, 2, 3, 3, 3, 4, 4};
        for (int a = 0; a <= 8; ++a)
            QTest::addRow("a=%d", a) << a << places[a];
    }

    void drawWithBoundEightPutsTheRightTitleInPlace() {
        requireSongs();
        QFETCH(int, a);
        QFETCH(int, place);
        Form1& f = host();
        // Nine songs: indices 0 to 8.
        state().liedpaden = state().liedpaden.mid(0, 9);
        state().liedtitels = state().liedtitels.mid(0, 9);
        // Song, a, b, c: all different from a and from each other.
        const int song = a == 8 ? 0 : 8;
        QList<int> others;
        for (int x = 0; x <= 8 && others.size() < 2; ++x)
            if (x != a && x != song) others << x;
        setRndSource(drawing({song, a, others[0], others[1]}, 8));
        f.Command8_Click();
        QCOMPARE(state().liedbovengrens, qint16(8));
        QCOMPARE(state().juistekeuze, qint16(place));
        QCOMPARE(f.keuze(place)->text(), songs_.titles[song]);
        // lame pads the tag's fields with NULs, which the tag boxes keep.
        const auto tagText = [](QLineEdit* box) { return box->text().section(QChar(0), 0, 0); };
        QCOMPARE(tagText(f.txtTrack1), QStringLiteral("Song %1").arg(song + 1));
        QCOMPARE(tagText(f.txtArtist1), QStringLiteral("Artist %1").arg(song + 1));
        QCOMPARE(f.txtYear1->text(), QStringLiteral("2008"));
        QSet<QString> shown;
        for (int n = 1; n <= 4; ++n)
            shown << f.keuze(n)->text();
        QCOMPARE(shown.size(), 4);
    }

    void excerptIsStagedAndPlayed() {
        requireSongs();
        Form1& f = started();
        QFile excerpt(folder_->file(QStringLiteral("server.mp3")));
        QVERIFY(excerpt.open(QIODevice::ReadOnly));
        QFile song(state().liedpad);
        QVERIFY(song.open(QIODevice::ReadOnly));
        QCOMPARE(excerpt.readAll(), song.read(qint64(state().fragmentgrootte)));
        QCOMPARE(f.WindowsMediaPlayer1->URL(), excerpt.fileName());
    }

    void tooShortPlaylistIsRefused() {
        requireSongs();
        Form1& f = host();
        state().liedpaden = state().liedpaden.mid(0, 3);
        state().liedtitels = state().liedtitels.mid(0, 3);
        f.Command8_Click();
        QCOMPARE(dialogs_->messages.size(), 1);
        QVERIFY(dialogs_->messages[0].text.contains(QStringLiteral("too few songs")));
        QVERIFY(f.Command8->isEnabled());
        QVERIFY(f.tmraantalplayersbegin->isActive());
        QVERIFY(!f.tmrAntwoordenTonen->isActive());
        QCOMPARE(state().vraagnummer, qint16(0));
    }

    void totalsStopAtTheSixteenBitLimit() {
        requireSongs();
        Form1& f = started();
        state().spelers[0].totaalscore = 32760;
        f.score[0]->setText(QStringLiteral("32760"));
        f.Text1_KeyPress(keyFor(state().juistekeuze));
        f.tmrAntwoordenTonen_Timer();
        QCOMPARE(state().spelers[0].totaalscore, qint16(32767));
        QCOMPARE(f.score[0]->text(), QStringLiteral("32767"));
    }

    void triviaClockShowsNineteenOnItsFirstTickAndTurnsRedBelowSix() {
        ManualClock clock;
        clock.set(0xFFFFF000u); // the millisecond counter wraps during the question
        Form1& f = host();
        GameState& s = state();
        s.rondetype = QStringLiteral("trivia");
        f.txttriviamask->setText(QStringLiteral("2 answers!")); // two answers: no second mask
        f.klokherstellen();
        QVERIFY(f.tmrmilliklok2->isActive());
        QVERIFY(!f.tmrKlok->isActive());
        QCOMPARE(f.txtklok->text(), QStringLiteral("20"));
        clock.advance(10);
        f.tmrmilliklok2_Timer();
        QCOMPARE(f.txtklok->text(), QStringLiteral("19"));
        QCOMPARE(f.Text3->text(), QStringLiteral("19.99"));
        // Lost ticks do not slow the clock: one tick after 13.98 s shows 6.
        clock.advance(13970);
        f.tmrmilliklok2_Timer();
        QCOMPARE(f.txtklok->text(), QStringLiteral("6"));
        QVERIFY(base(f.txtklok) != vbColor(kColourRed));
        clock.advance(20);
        f.tmrmilliklok2_Timer();
        QCOMPARE(f.txtklok->text(), QStringLiteral("5"));
        QCOMPARE(base(f.txtklok), vbColor(kColourRed));
        f.tmrmilliklok2_Timer();
        QCOMPARE(f.txttriviamask->text(), QStringLiteral("2 answers!"));
        s.triviamasker2 = QStringLiteral("t*i*i*"); // one answer: its second mask at 5
        f.tmrmilliklok2_Timer();
        QCOMPARE(f.txttriviamask->text(), QStringLiteral("t*i*i*"));
    }

    void triviaClockOnAClientStopsAtZero() {
        ManualClock clock;
        GameState& s = state();
        s.isserver = 0;
        s.clientvraagtijd = QStringLiteral("15");
        s.vraagtijdtekst = QStringLiteral("15");
        s.rondetype = QStringLiteral("trivia");
        Form1& f = Form1::instance();
        f.klokherstellen();
        clock.advance(10);
        f.tmrmilliklok2_Timer();
        QCOMPARE(f.txtklok->text(), QStringLiteral("14"));
        clock.advance(14989); // 1 ms before the end: a thousandth is left
        f.tmrmilliklok2_Timer();
        QCOMPARE(f.txtklok->text(), QStringLiteral("0"));
        QCOMPARE(f.Text3->text(), QStringLiteral("0.00"));
        clock.advance(9);
        f.tmrmilliklok2_Timer();
        QCOMPARE(s.klokwaarde, 0.0);
        QVERIFY(!f.tmrmilliklok2->isActive());
        QVERIFY(!f.tmrdelay->isActive());
    }

    void failingTriviaStartsAreBoundedAndEndTheGame() {
        Form1& f = host();
        GameState& s = state();
        s.speltype = QStringLiteral("trivia");
        s.rondetype = QStringLiteral("trivia");
        s.aantaltriviavragen = QStringLiteral("0"); // no question can be drawn
        f.Command8_Click();
        QCOMPARE(dialogs_->texts(),
                 QStringList(3, QStringLiteral("error occured in trivserverrestart module")));
        QVERIFY(f.spelafgelopen());
        QVERIFY(Form7::exists());
        QVERIFY(!f.tmrAntwoordenTonen->isActive());
    }

    void triviaRoundRunsOnItsClock() {
        VDX_REQUIRE_CENTRAL_DB();
        AdminDb admin;
        const int count = admin.value(QStringLiteral("select count(*) from vdrx_trivia")).toInt();
        QVERIFY(count > 0);
        QCOMPARE(openCentral(), 0);
        ManualClock clock;
        Form1& f = host();
        GameState& s = state();
        s.speltype = QStringLiteral("trivia");
        s.rondetype = QStringLiteral("trivia");
        s.aantaltriviavragen = QString::number(count);
        s.vraagtijdtekst = QStringLiteral("15");
        f.Command8_Click();
        QVERIFY(dialogs_->messages.isEmpty());
        // What the host types right after "Start!" goes into the chat input.
        QCOMPARE(f.focusWidget(), static_cast<QWidget*>(f.txtchat1));
        QCOMPARE(s.vraagnummer, qint16(1));
        QVERIFY(s.triviavraagnr.toInt() >= 1);
        QCOMPARE(f.txthoofd->text(), QStringLiteral("1 ~ Trivia question ") + s.triviavraagnr);
        QVERIFY(!f.txttriviavraag->text().isEmpty());
        QCOMPARE(f.txttriviavraag->text(), f.txttriviavraag->text().toLower());
        QCOMPARE(f.txttriviafastest->text(), QStringLiteral("-"));
        QCOMPARE(f.txttriviafastesttime->text(), QStringLiteral("0 sec."));
        QVERIFY(f.frmtrivia->isVisibleTo(&f));
        QVERIFY(f.frmmuziek->isHidden());
        QVERIFY(f.tmrmilliklok2->isActive());
        // The answer keys give no answers in trivia.
        f.Text1_KeyPress(keyFor(1));
        QCOMPARE(s.aantalantwoorden, qint16(0));
        clock.advance(10000);
        f.tmrmilliklok2_Timer();
        f.tmrAntwoordenTonen_Timer();
        QVERIFY(!f.tmrdelay->isActive());
        // Each question closes once when its time is up, whatever the ticks: the last
        // tick before the end 1 ms (a thousandth left) or 5 ms early, or none.
        for (const int early : {1, 0, 5}) {
            const qint16 q = s.vraagnummer;
            clock.set(quint32(s.klokstart) + 15000 - early);
            f.tmrmilliklok2_Timer();
            QCOMPARE(f.rondeopen(), early != 0);
            if (early != 0) {
                QCOMPARE(f.txtklok->text(), QStringLiteral("0"));
                QVERIFY(!f.tmrdelay->isActive());
                clock.advance(9);
                f.tmrmilliklok2_Timer();
            }
            QVERIFY(!f.rondeopen());
            QCOMPARE(f.txtklok->text(), QStringLiteral("0"));
            QCOMPARE(f.Text3->text(), QStringLiteral("0.00"));
            QVERIFY(f.tmrdelay->isActive());
            QVERIFY(!f.tmrmilliklok2->isActive());
            f.tmrdelay_Timer();
            f.tmrmilliklok2_Timer(); // a late tick closes nothing again
            QCOMPARE(s.vertraging, qint16(2));
            f.tmrdelay_Timer();
            f.tmrdelay_Timer();
            f.tmrAntwoordenTonen_Timer();
            QCOMPARE(s.vraagnummer, qint16(q + 1));
            QCOMPARE(f.txtklok->text(), QStringLiteral("15"));
            QCOMPARE(f.focusWidget(), static_cast<QWidget*>(f.txtchat1));
        }
    }
    void triviaAnswersCountOnlyWhileTheQuestionIsOpen() {
        VDX_REQUIRE_CENTRAL_DB();
        AdminDb admin;
        const int count = admin.value(QStringLiteral("select count(*) from vdrx_trivia")).toInt();
        QCOMPARE(openCentral(), 0);
        ManualClock clock;
        Form1& f = host();
        GameState& s = state();
        s.speltype = QStringLiteral("trivia");
        s.rondetype = QStringLiteral("trivia");
        s.aantaltriviavragen = QString::number(count);
        f.Command8_Click();
        s.triviafastesttime = 0;      // nothing beats it: this test stores no record
        s.aantaltriviaantwoorden = 1; // the drawn question may accept more than one answer
        s.spelers[1].naam = QStringLiteral("kees");
        s.spelers[2].naam = QStringLiteral("anna");
        const QString answer = s.triviaantwoorden[1];
        clock.advance(2500);
        f.tmrmilliklok2_Timer();
        QCOMPARE(f.txtklok->text(), QStringLiteral("17"));

        // Typed at the host: the points on the clock box; a line that is no answer is chat.
        f.txtchat1->setText(QStringLiteral("Not It"));
        f.cmdchat_Click();
        f.txtchat1->setText(answer.toUpper());
        f.cmdchat_Click();
        // Clients the question was never sent to score nothing; a line that is no
        // answer is chat.
        controleertriviaantwoordclient(answer, QStringLiteral("9999"), 1);
        controleertriviaantwoordclient(answer, QStringLiteral("x"), 2);
        controleertriviaantwoordclient(QStringLiteral("rock \\\\ \\'n roll"), QString(), 2);
        QCOMPARE(s.spelers[0].totaalscore, qint16(17));
        QCOMPARE(s.spelers[1].totaalscore, qint16(0));
        QCOMPARE(s.spelers[2].totaalscore, qint16(0));

        clock.advance(20000);
        f.tmrmilliklok2_Timer();
        QVERIFY(!f.rondeopen());
        QCOMPARE(f.bonus[0]->text(), QStringLiteral("+17"));
        // Too late: no points, no line; a late line that is no answer is still chat.
        controleertriviaantwoordclient(answer, QStringLiteral("5,5"), 2);
        controleertriviaantwoordclient(QStringLiteral("late"), QStringLiteral("5.5"), 2);
        QCOMPARE(s.spelers[2].totaalscore, qint16(0));
        f.tmrdelay_Timer();
        QCOMPARE(chatLines(f.txtchat2),
                 (QStringList{QStringLiteral("0 <server> not it"),
                              QStringLiteral("49152 Host found the answer (+17)"),
                              QStringLiteral("0 <anna> rock \\ 'n roll"),
                              QStringLiteral("0 <anna> late"),
                              QStringLiteral("16711680 The answer was: '") + answer + u'\''}));
    }
};

VDX_TEST_MAIN(tst_roundloop)
#include "tst_roundloop.moc"
