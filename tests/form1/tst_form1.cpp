// The game window: its controls and modes, focus, chat boxes, answers on a client,
// the joystick poll, the client's round display and the menus.
#include "common/gamestate.h"
#include "common/joystickmodule.h"
#include "game/Form1.h"
#include "game/answershape.h"
#include "lobby/clicklabel.h"
#include "platform/gui/mediaplayer.h"
#include "platform/joystick.h"
#include "tests/form1/fakejoystick.h"
#include "tests/support/dialogrecorder.h"
#include "tests/support/tempfolder.h"
#include "tests/support/testmain.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>
#include <memory>

namespace {

Form1& hostWindow() {
    GameState& s = state();
    s.isserver = 1;
    s.eigenlandnummer = 17;
    s.vraagtijdtekst = QStringLiteral("20");
    s.keyboard1 = kTrue;
    return Form1::instance();
}

Form1& clientWindow(const QString& eigenslot = QStringLiteral("2")) {
    GameState& s = state();
    s.isserver = 0;
    s.eigenslot = eigenslot;
    s.clientvraagtijd = QStringLiteral("15");
    s.clientkeuze1 = QStringLiteral("One");
    s.clientkeuze2 = QStringLiteral("Two");
    s.clientkeuze3 = QStringLiteral("Three");
    s.clientkeuze4 = QStringLiteral("Four");
    const QString keys = QStringLiteral("jkl;");
    for (int k = 1; k <= 4; ++k)
        s.spelers[0].knop(k) = keys.mid(k - 1, 1);
    return Form1::instance();
}

QColor base(QWidget* w) {
    return w->palette().color(QPalette::Base);
}

// Counts the paint events of the given widgets.
struct PaintCounter : QObject {
    int count = 0;
    explicit PaintCounter(const QList<QWidget*>& widgets) {
        for (QWidget* w : widgets)
            w->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++count;
        return false;
    }
};

bool activate(QWidget& w) {
    w.show();
    w.activateWindow();
    return QTest::qWaitForWindowActive(&w);
}

} // namespace

class tst_form1 : public QObject {
    Q_OBJECT

    QTemporaryDir noJoystick_;
    std::unique_ptr<TempProgramFolder> folder_;
    std::unique_ptr<DialogRecorder> dialogs_;

private slots:
    void init() {
        setJoystickFolder(noJoystick_.path());
        resetState();
        resetJoystickModule();
        folder_ = std::make_unique<TempProgramFolder>();
        dialogs_ = std::make_unique<DialogRecorder>();
    }

    void cleanup() {
        Form1::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        dialogs_.reset();
        folder_.reset();
    }

    void controlsCarryTheirNames() {
        Form1& f = hostWindow();
        QCOMPARE(f.objectName(), QStringLiteral("Form1"));
        QCOMPARE(f.windowTitle(),
                 QStringLiteral("VONDrix ONLINE~The Biggest Music and General Knowledge Quiz~"));
        for (const char* name :
             {"naam(0)",          "score(4)",  "bonus(2)",      "Imaget(3)",   "border(1)",
              "txthoofd",         "txtklok",   "Frame1",        "frmmuziek",   "keuze4",
              "pgmuziekclient",   "frmtrivia", "txttriviamask", "Text3",       "txtchat1",
              "cmdchat",          "txtchat2",  "txtchat3",      "Command6",    "frmserver",
              "txtaantalclients", "Command8",  "Text1",         "slider1",     "Image5",
              "Label2",           "imgbanner", "txtTrack1",     "txtComments1"})
            QVERIFY2(f.findChild<QWidget*>(QLatin1String(name)), name);
        QVERIFY(f.findChild<QObject*>(QStringLiteral("WindowsMediaPlayer1")));
        QCOMPARE(f.score[0]->text(), QStringLiteral("0"));
        QCOMPARE(f.txthoofd->text(), QStringLiteral("artist/song?"));
        QCOMPARE(f.txtklok->text(), QStringLiteral("20"));
        QCOMPARE(f.Command8->text(), QStringLiteral("Start!"));
        QCOMPARE(f.txttriviamask->font().family(), QStringLiteral("Courier New"));
        QCOMPARE(f.mnukickplayer[3]->objectName(), QStringLiteral("mnukickplayer(3)"));
        QCOMPARE(f.mnukickplayer[3]->text(), QStringLiteral("Kick player 4"));
        QVERIFY(!f.mnuPause->isVisible());
        QVERIFY(f.mnusoundfx->isChecked());
    }

    void timersHaveTheirIntervals() {
        Form1& f = hostWindow();
        const QList<QPair<QTimer*, int>> timers = {{f.tmrKlok, 1000},
                                                   {f.tmrmilliklok2, 10},
                                                   {f.tmrAntwoordenTonen, 20},
                                                   {f.tmrdelay, 1000},
                                                   {f.tmraantalplayersbegin, 500},
                                                   {f.Timer1, 1},
                                                   {f.tmrclientstart, 200},
                                                   {f.tmrslider, 1},
                                                   {f.Timer4, 20000}};
        for (const auto& [timer, interval] : timers) {
            QCOMPARE(timer->interval(), interval);
            const bool onAtLoad = timer == f.tmraantalplayersbegin || timer == f.Timer4;
            QCOMPARE(timer->isActive(), onAtLoad);
        }
    }

    void hostSeesOnlyItsOwnTileWithItsFlag() {
        Form1& f = hostWindow();
        QCOMPARE(state().quizlengte, qint16(32000));
        QCOMPARE(state().spelers[0].landnummer, qint16(17));
        QVERIFY(!f.Imaget[0]->pixmap().isNull());
        for (int i = 1; i <= 4; ++i)
            for (QWidget* w :
                 {static_cast<QWidget*>(f.naam[i]), static_cast<QWidget*>(f.score[i]),
                  static_cast<QWidget*>(f.bonus[i]), static_cast<QWidget*>(f.Imaget[i]),
                  static_cast<QWidget*>(f.border[i])})
                QVERIFY(w->isHidden());
        QVERIFY(!f.frmserver->isHidden());
        QVERIFY(f.mnuhostoptions->menuAction()->isVisible());
        QVERIFY(!f.tmrclientstart->isActive());
    }

    void clientHasNoServerFrameAndWaitsForItsConnection() {
        Form1& f = clientWindow();
        QVERIFY(f.frmserver->isHidden());
        QVERIFY(!f.mnuhostoptions->menuAction()->isVisible());
        QVERIFY(f.tmrclientstart->isActive());
        f.tmrclientstart_Timer(); // not connected: waits on
        QVERIFY(f.tmrclientstart->isActive());
        QVERIFY(f.WindowsMediaPlayer2->URL().isEmpty());
    }

    void clicksOnBoxesGiveTheFocusBackToTheKeyBox() {
        Form1& f = hostWindow();
        if (!activate(f)) QSKIP("window cannot be activated on this platform");
        f.txtchat1->setFocus();
        QTest::mouseClick(f.score[0], Qt::LeftButton);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(f.Text1));
        f.txtchat1->setFocus();
        QTest::mouseClick(f.keuze3, Qt::LeftButton);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(f.Text1));
        state().rondetype = QStringLiteral("trivia");
        f.Command6_Click();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(f.txtchat1));
    }

    void volumeChangeReturnsTheFocusTwoTicksLater() {
        Form1& f = hostWindow();
        if (!activate(f)) QSKIP("window cannot be activated on this platform");
        f.slider1->setFocus();
        f.slider1->setValue(40);
        QCOMPARE(f.WindowsMediaPlayer1->volume(), 40);
        QVERIFY(f.tmrslider->isActive());
        f.tmrslider->stop(); // the ticks come from the test
        f.tmrslider_Timer();
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(f.slider1));
        f.tmrslider_Timer();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(f.Text1));
    }

    void chatDisplayIgnoresTyping() {
        Form1& f = hostWindow();
        f.chatregel(QStringLiteral("hello"));
        QTest::keyClicks(f.txtchat2, QStringLiteral("xyz"));
        QCOMPARE(f.txtchat2->toPlainText(), QStringLiteral("hello"));
    }

    void chatLinesKeepTheInputSelectionAndShowMarkupAsTyped() {
        Form1& f = hostWindow();
        f.txtchat1->setText(QStringLiteral("typing here"));
        f.txtchat1->setSelection(2, 4);
        f.chatregel(QStringLiteral("first"));
        f.chatregel(QStringLiteral("<b>found</b>"), kColourGreen);
        QCOMPARE(f.txtchat2->toPlainText(), QStringLiteral("first\n<b>found</b>"));
        QCOMPARE(f.txtchat1->selectionStart(), 2);
        QCOMPARE(f.txtchat1->selectedText(), QStringLiteral("ping"));
        QTextCursor cursor(f.txtchat2->document()->lastBlock());
        cursor.movePosition(QTextCursor::NextCharacter);
        QCOMPARE(cursor.charFormat().foreground().color(), vbColor(kColourGreen));
    }

    void enterWhileQuizDataIsSentSendsTheTypedLineAfterwards() {
        Form1& f = hostWindow();
        state().rondetype = QStringLiteral("music");
        f.txtchat1->setText(QStringLiteral("hi all"));
        f.cmdchat->setEnabled(false);
        QString shownWhileWaiting;
        QTimer::singleShot(30, &f, [&] {
            shownWhileWaiting = f.txtchat1->text();
            f.cmdchat->setEnabled(true);
        });
        QTest::keyClick(f.txtchat1, Qt::Key_Return);
        QCOMPARE(shownWhileWaiting,
                 QStringLiteral("message waiting to be sent - transferring quiz data"));
        QCOMPARE(f.txtchat2->toPlainText(), QStringLiteral("<server> hi all"));
        QVERIFY(f.txtchat1->text().isEmpty());
        QVERIFY(!f.txtchat1->isReadOnly());
    }

    void clientKeyAnswerWithoutConnectionShowsTheNotice() {
        Form1& f = clientWindow(QStringLiteral("2"));
        f.Frame1->show();
        f.Image5->hide();
        state().antwoordenopen = 1;
        f.txtklok->setText(QStringLiteral("7.9"));
        f.Form_KeyPress(QStringLiteral("k"));
        f.Text1_KeyPress(QStringLiteral("k"));
        GameState& s = state();
        QCOMPARE(s.spelers[2].antwoord, qint16(2));
        QCOMPARE(s.spelers[2].antwoordtijd, qint16(7));
        QCOMPARE(s.aantalantwoorden, qint16(1));
        QCOMPARE(s.clientgeantwoord, qint16(1));
        QCOMPARE(f.border[2]->borderColor(), kColourOrange);
        QCOMPARE(f.border[0]->borderColor(), kColourBlack);
        QVERIFY(f.txtchat2->toPlainText().endsWith(
            QStringLiteral("[system] disconnected from server")));
        QVERIFY(f.Frame1->isHidden());
        QVERIFY(!f.Image5->isHidden());
        QVERIFY(!f.cmdchat->isEnabled());
        QCOMPARE(f.WindowsMediaPlayer2->URL(), folder_->file(QStringLiteral("answers.wav")));
    }

    void clientKeyBeforeTheFirstExcerptUsesUpTheAnswer() {
        Form1& f = clientWindow();
        f.Form_KeyPress(QStringLiteral("j"));
        QCOMPARE(state().clientgeantwoord, qint16(1));
        QCOMPARE(state().aantalantwoorden, qint16(1));
        QCOMPARE(state().spelers[2].antwoord, qint16(0));
        QVERIFY(f.txtchat2->toPlainText().isEmpty());
    }

    void clientJoystickAnswersLikeItsKeys() {
        Form1& f = clientWindow(QStringLiteral("3"));
        GameState& s = state();
        s.joystick1 = kTrue;
        for (int k = 1; k <= 4; ++k)
            s.spelers[0].knop(k) = QString::number(k + 3); // buttons 4..7
        s.antwoordenopen = 1;
        f.txtklok->setText(QStringLiteral("9"));
        FakeJoystick stick;
        stick.press(6); // answer 3
        stick.press(9);
        f.Timer1->start();
        f.Timer1_Timer();
        QCOMPARE(s.spelers[3].antwoord, qint16(3));
        QCOMPARE(s.spelers[3].antwoordtijd, qint16(9));
        QCOMPARE(s.spelers[0].antwoord, qint16(0));
        QCOMPARE(s.clientgeantwoord, qint16(1));
        QVERIFY(!f.Timer1->isActive());
        QVERIFY(f.txtchat2->toPlainText().endsWith(
            QStringLiteral("[system] disconnected from server")));
    }

    void joystickTakesOnlyTheLowestPressedButton() {
        Form1& f = hostWindow();
        GameState& s = state();
        s.keyboard1 = kFalse;
        s.joystick1 = kTrue;
        for (int k = 1; k <= 4; ++k)
            s.spelers[0].knop(k) = QString::number(k + 3);
        FakeJoystick stick;
        stick.press(2); // matches no answer: nothing on this tick
        stick.press(5);
        f.Timer1->start();
        f.Timer1_Timer();
        QCOMPARE(s.spelers[0].antwoord, qint16(0));
        QVERIFY(f.Timer1->isActive());
        stick.release(2);
        f.Timer1_Timer();
        QCOMPARE(s.spelers[0].antwoord, qint16(2));
        QCOMPARE(s.aantalantwoorden, qint16(1));
        QVERIFY(!f.Timer1->isActive());
        // Keyboard keys do nothing for a joystick player on the host.
        s.speler1geantwoord = 0;
        s.spelers[0].knop1 = QStringLiteral("a");
        f.Text1_KeyPress(QStringLiteral("a"));
        QCOMPARE(s.spelers[0].antwoord, qint16(2));
    }

    void soundFxSwitchesTheAnswerSound() {
        Form1& f = hostWindow();
        for (int k = 1; k <= 4; ++k)
            state().spelers[0].knop(k) = QStringLiteral("asdf").mid(k - 1, 1);
        f.mnusoundfx_Click();
        QVERIFY(!f.mnusoundfx->isChecked());
        f.Text1_KeyPress(QStringLiteral("d"));
        QCOMPARE(state().spelers[0].antwoord, qint16(3));
        QVERIFY(f.WindowsMediaPlayer2->URL().isEmpty());
        f.mnusoundfx->trigger();
        QVERIFY(f.mnusoundfx->isChecked());
        state().speler1geantwoord = 0;
        f.Text1_KeyPress(QStringLiteral("f"));
        QCOMPARE(f.WindowsMediaPlayer2->URL(), folder_->file(QStringLiteral("answers.wav")));
    }

    void resultRowsColourTheTiles() {
        Form1& f = clientWindow();
        f.alleantwoorden("2", "11", "0", "30", "Anna", 0, "2", 5);
        f.alleantwoorden("0", "0", "0", "12", "Bert", 1, "2", 242);
        f.alleantwoorden("0", "0", "0", "0", "", 3, "2", 0);
        QCOMPARE(f.border[0]->borderColor(), kColourOrange);
        QCOMPARE(f.bonus[0]->text(), QStringLiteral("11"));
        QVERIFY(!f.bonus[0]->isHidden());
        QCOMPARE(f.score[0]->text(), QStringLiteral("30"));
        QCOMPARE(f.naam[1]->text(), QStringLiteral("Bert"));
        QCOMPARE(f.border[1]->borderColor(), kColourBlack);
        QVERIFY(f.bonus[1]->isHidden());
        QVERIFY(!f.Imaget[1]->pixmap().isNull());
        for (QWidget* w : {static_cast<QWidget*>(f.naam[3]), static_cast<QWidget*>(f.score[3]),
                           static_cast<QWidget*>(f.border[3]), static_cast<QWidget*>(f.Imaget[3]),
                           static_cast<QWidget*>(f.bonus[3])})
            QVERIFY(w->isHidden());
        QCOMPARE(base(f.keuze2), vbColor(kColourLightGreen));
        QVERIFY(base(f.keuze1) != vbColor(kColourLightGreen));
        f.alleantwoorden("1", "3", "0", "3", "Cas", 2, "7", 1);
        QCOMPARE(base(f.keuze4), vbColor(kColourLightGreen));
    }

    void clientRoundStartShowsTitlesAndTakesKeysAgain() {
        Form1& f = clientWindow();
        state().clientgeantwoord = 1;
        f.alleantwoorden("2", "5", "0", "5", "Anna", 0, "2", 0); // marks keuze2
        f.clientherbeginnen();
        QCOMPARE(f.keuze1->text(), QStringLiteral("One"));
        QCOMPARE(f.keuze4->text(), QStringLiteral("Four"));
        QCOMPARE(f.txtklok->text(), QStringLiteral("15"));
        QVERIFY(f.tmrKlok->isActive());
        QVERIFY(f.Timer1->isActive());
        QCOMPARE(state().antwoordenopen, qint16(1));
        QCOMPARE(state().clientgeantwoord, qint16(0));
        QCOMPARE(base(f.keuze2), f.palette().color(QPalette::Base));
        QCOMPARE(f.WindowsMediaPlayer1->URL(), folder_->file(QStringLiteral("temp.mp3")));
        QVERIFY(f.border[2]->isHidden());
        f.Text1_KeyPress(QStringLiteral("l"));
        QCOMPARE(state().spelers[2].antwoord, qint16(3));
        // The own tile shows the answer's colour at once, not a round later.
        QVERIFY(!f.border[2]->isHidden());
        QCOMPARE(f.border[2]->borderColor(), kColourGreen);
    }

    void triviaClockRepaintsItselfAloneAndOnlyOnAChange() {
        Form1& f = hostWindow();
        f.Image5->hide();
        f.Frame1->show();
        f.frmmuziek->hide();
        f.frmtrivia->show();
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QTest::qWait(50);
        PaintCounter behind({f.centralWidget(), f.Frame1, f.frmtrivia});
        QList<QWidget*> box = f.Text3->findChildren<QWidget*>();
        box << f.Text3;
        PaintCounter clock(box);
        f.Text3->setText(QStringLiteral("19.99"));
        QVERIFY(clock.count > 0); // at once, not on a later turn of the event loop
        QTest::qWait(30);
        QCOMPARE(behind.count, 0);
        clock.count = 0;
        f.Text3->setText(QStringLiteral("19.99"));
        QTest::qWait(30);
        QCOMPARE(clock.count, 0);
        QCOMPARE(f.Text3->text(), QStringLiteral("19.99"));
    }

    void clockBoxLooksLikeAReadOnlyLineEdit() {
        QFont big;
        big.setPointSize(24);
        big.setBold(true);
        for (const QFont& font : {QFont(), big}) {
            QLineEdit line;
            ClockBox box;
            line.setReadOnly(true);
            line.setFocusPolicy(Qt::NoFocus);
            for (QWidget* w : {static_cast<QWidget*>(&line), static_cast<QWidget*>(&box)}) {
                w->setFont(font);
                w->resize(200, line.sizeHint().height()); // the texts fit
            }
            QCOMPARE(box.sizeHint(), line.sizeHint());
            for (Qt::Alignment align :
                 {Qt::Alignment(Qt::AlignCenter), Qt::AlignLeft | Qt::AlignVCenter}) {
                line.setAlignment(align);
                box.setAlignment(align);
                for (const char* text : {"20", "19.99", "0,07", "Tijd: 5 s"}) {
                    line.setText(QLatin1String(text));
                    box.setText(QLatin1String(text));
                    QVERIFY2(box.grab().toImage() == line.grab().toImage(), text);
                }
            }
        }
    }

    void exitOnAClientUnloadsTheWindow() {
        Form1& f = clientWindow();
        f.mnuExit_Click();
        QVERIFY(!Form1::exists());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        Form1& again = clientWindow();
        QVERIFY(Form1::exists());
        QCOMPARE(again.txtklok->text(), QStringLiteral("20"));
    }
};

VDX_TEST_MAIN(tst_form1)
#include "tst_form1.moc"
