// The local set-up wizard walked through as a player would: settings, two
// players with their answer keys, loading the playlist, and the game window.
#include "common/gamestate.h"
#include "game/Form1.h"
#include "game/Form2.h"
#include "game/Form3.h"
#include "game/Form4.h"
#include "game/Form6.h"
#include "lobby/frmmulti.h"
#include "tests/support/dialogrecorder.h"
#include "tests/support/songfiles.h"
#include "tests/support/tempfolder.h"
#include "tests/support/testmain.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

namespace {

// One player's page of Form3, then the keys typed into the answer-button window.
void setUpPlayer(const QString& naam, QRadioButton* geslacht, QRadioButton* invoer,
                 const QString& keys) {
    Form3& f3 = Form3::instance();
    f3.txtname->setText(naam);
    geslacht->click();
    invoer->click();
    f3.Timer1_Timer();
    QVERIFY(f3.cmdnext->isEnabled());
    f3.cmdnext->click();
    QVERIFY(Form6::exists());
    Form6& f6 = Form6::instance();
    if (!QTest::qWaitForWindowActive(&f6)) qWarning("Form6 not activated");
    QTest::keyClicks(&f6, keys);
    QVERIFY(!Form6::exists());
}

} // namespace

class TestWizard : public QObject {
    Q_OBJECT

private slots:
    void twoPlayersFromSettingsToTheGameWindow() {
        if (!canMakeSongs()) QSKIP("sox or lame missing");
        TempProgramFolder folder;
        DialogRecorder dialogs;
        resetState();
        const TestSongs songs = makeSongs(folder.path(), 6);
        QVERIFY(!songs.paths.isEmpty());

        Form1& f1 = Form1::instance();
        QVERIFY(!f1.mnuWizard->isVisible());
        f1.mnuWizard_Click(); // no game on screen: straight to the settings
        QVERIFY(dialogs.messages.isEmpty());
        Form2& f2 = Form2::instance();
        f2.Timer1_Timer();
        QVERIFY(!f2.cmdnext->isEnabled());
        f2.txtpad->setText(songs.playlist);
        f2.Combo2->setCurrentText(QStringLiteral("30"));
        f2.Timer1_Timer();
        f2.cmdnext->click();
        QVERIFY(!Form2::exists());
        QCOMPARE(wizard().vraagtijd, 30);
        QCOMPARE(wizard().aantalvragen, 250);

        Form3& f3 = Form3::instance();
        f3.optaantal[1]->click();
        QCOMPARE(state().aantalspelers, 2);
        setUpPlayer(QStringLiteral("Ann"), f3.optfemale, f3.optinvoer[0], QStringLiteral("asdf"));
        // Still the wizard's second page, now for player 2.
        QVERIFY(Form3::exists());
        QCOMPARE(f3.frmspeler->title(), QStringLiteral("Player 2:"));
        QVERIFY(f3.txtname->text().isEmpty());
        QVERIFY(!Form4::exists());
        setUpPlayer(QStringLiteral("Bob"), f3.optmale, f3.optinvoer[1], QStringLiteral("hjkl"));
        QVERIFY(!Form3::exists());

        const Speler& ann = state().spelers[1];
        const Speler& bob = state().spelers[2];
        QCOMPARE(ann.naam + ann.geslacht + ann.knop1 + ann.knop4, QStringLiteral("Annfemaleaf"));
        QCOMPARE(bob.naam + bob.geslacht + bob.knop1 + bob.knop4, QStringLiteral("Bobmalehl"));
        QCOMPARE(state().keyboard2, 2);

        QVERIFY(Form4::exists());
        Form4& f4 = Form4::instance();
        QVERIFY(!f4.cmdstart->isEnabled());
        f4.Timer1_Timer();
        f4.Timer1_Timer();
        QCOMPARE(f4.lblstatus->text(), QStringLiteral("playlist loaded"));
        QCOMPARE(state().liedpaden.size(), 6);
        f4.cmdstart->click();
        QVERIFY(!Form4::exists());
        QVERIFY(f1.isVisible());
        QCOMPARE(f1.naam[0]->text(), QStringLiteral("Ann"));
        QCOMPARE(f1.naam[1]->text(), QStringLiteral("Bob"));
        QVERIFY(!f1.Imaget[0]->pixmap().isNull() && !f1.Imaget[1]->pixmap().isNull());
        QCOMPARE(f1.txthoofd->text(), QStringLiteral("1 ~ artist/song?"));
        QCOMPARE(f1.txtklok->text(), QStringLiteral("30"));
        QVERIFY(songs.titles.contains(f1.keuze1->text()));
        Form1::unload();
        frmmulti::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

VDX_TEST_MAIN(TestWizard)
#include "tst_wizard.moc"
