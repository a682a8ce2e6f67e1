// The host's round loop with one client on loopback: the round preparation lets
// events run while it sends, and the watch's ticks run inside it.
#include "common/gamestate.h"
#include "common/joystickmodule.h"
#include "common/protocol.h"
#include "game/Form1.h"
#include "lobby/centraldb.h"
#include "lobby/frmmulti.h"
#include "netgame/servermodule.h"
#include "netgame/triviauitbreiding.h"
#include "platform/clock.h"
#include "tests/form1/fakejoystick.h"
#include "tests/netgame/netpeer.h"
#include "tests/support/admindb.h"
#include "tests/support/dialogrecorder.h"
#include "tests/support/freeport.h"
#include "tests/support/tempfolder.h"
#include "tests/support/testmain.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <QUuid>
#include <QtTest>
#include <memory>

class tst_roundloopnet : public QObject {
    Q_OBJECT

    QTemporaryDir noJoystick_;
    std::unique_ptr<TempProgramFolder> folder_;
    std::unique_ptr<DialogRecorder> dialogs_;
    std::unique_ptr<Peer> client_;
    std::vector<std::unique_ptr<Peer>> others_;
    quint16 port_ = 0;

    // One more client, registered under naam.
    Peer* joinAs(const QByteArray& naam) {
        others_.push_back(std::make_unique<Peer>());
        Peer* p = others_.back().get();
        const qint16 slot = qint16(others_.size() + 1);
        if (!p->connectTo(port_) || !p->waitFor("vxsestareinde")) return nullptr;
        p->send("vxcluser|" + naam + "|20|vxclusereinde");
        if (!waitUntil([&] { return !state().spelers[slot].naam.isEmpty(); })) return nullptr;
        return p;
    }

    // Hosts a music game of six songs with the client "kees" on socket 1.
    void hostWithClient() {
        GameState& s = state();
        s.gebruikersnaam = QStringLiteral("host");
        QByteArray m3u = "#EXTM3U\r\n";
        for (int n = 1; n <= 6; ++n) {
            const QString song = folder_->file(QStringLiteral("song%1.mp3").arg(n));
            QFile file(song);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(2000, char('a' + n)));
            m3u += song.toUtf8() + "\r\n";
        }
        QFile list(folder_->file(QStringLiteral("list.m3u")));
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write(m3u);
        list.close();

        frmmulti& w = frmmulti::instance();
        for (int i = 0; i < w.SSTab1->count(); ++i)
            w.SSTab1->setTabEnabled(i, true);
        const quint16 port = port_ = freePort();
        w.txtserverinfo->setText(QStringLiteral("test game"));
        w.txtserverip->setText(QStringLiteral("127.0.0.1"));
        w.txtserverport->setText(QString::number(port));
        w.txtpad->setText(list.fileName());
        w.cmbtijd->setCurrentText(QStringLiteral("20"));
        w.optlan->setChecked(true);
        w.cmdHost->click();
        QVERIFY(Form1::exists());

        QVERIFY(client_->connectTo(port));
        QVERIFY(client_->waitFor("vxsestareinde"));
        client_->send("vxcluser|kees|20|vxclusereinde");
        QVERIFY(waitUntil([] { return !state().spelers[1].naam.isEmpty(); }));
    }

    // "Start!"; the ticks of the first round then come from the test.
    void start(Form1& f) {
        f.Command8_Click();
        QVERIFY(client_->waitFor("vxsecloseinde"));
        f.tmrAntwoordenTonen->stop();
        f.tmrKlok->stop();
    }

    // The clock closes the round and the delay runs out; the watch's next tick
    // prepares the next round.
    static void closeRound(Form1& f) {
        f.txtklok->setText(QStringLiteral("0"));
        f.tmrKlok_Timer();
        for (int i = 0; i < 3; ++i)
            f.tmrdelay_Timer();
    }

    static QString keyFor(int antwoord) { return QStringLiteral("asdf").mid(antwoord - 1, 1); }

    static void keyboardHost() {
        state().keyboard1 = kTrue;
        for (int k = 1; k <= 4; ++k)
            state().spelers[0].knop(k) = keyFor(k);
    }

private slots:
    void init() {
        setJoystickFolder(noJoystick_.path());
        resetState();
        resetJoystickModule();
        for (auto& slot : clientslots())
            slot = ClientSlot{};
        folder_ = std::make_unique<TempProgramFolder>();
        dialogs_ = std::make_unique<DialogRecorder>();
        client_ = std::make_unique<Peer>();
    }

    void cleanup() {
        client_->close();
        others_.clear();
        Form1::unload();
        frmmulti::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        client_.reset();
        dialogs_.reset();
        folder_.reset();
    }

    void nestedWatchTicksLeaveTheRoundBeingPreparedAlone() {
        hostWithClient();
        keyboardHost();
        Form1& f = Form1::instance();
        start(f);
        GameState& s = state();
        client_->send("vxclantw|" + QByteArray::number(s.juistekeuze) + "|12|vxclantweinde");
        QVERIFY(waitUntil([] { return state().aantalclientantwoorden == 1; }));
        f.Text1_KeyPress(keyFor(s.juistekeuze));
        QCOMPARE(s.aantalantwoorden, qint16(1));

        // The clock closes the round; the delay shows and scores it.
        closeRound(f);
        QCOMPARE(s.spelers[0].totaalscore, qint16(20));
        QCOMPARE(s.spelers[1].totaalscore, qint16(12));

        // The next round is prepared inside a tick of the watch, with the watch
        // running: its ticks inside the sends see a complete count of the round
        // just closed, and must leave the new round alone.
        f.tmrAntwoordenTonen->start();
        f.tmrAntwoordenTonen_Timer();
        QCOMPARE(s.vraagnummer, qint16(2));
        QVERIFY(client_->waitFor("vxseantweinde"));
        QVERIFY(!f.tmrdelay->isActive());
        QVERIFY(f.tmrKlok->isActive());
        QCOMPARE(s.spelers[0].totaalscore, qint16(20));
        QCOMPARE(f.score[0]->text(), QStringLiteral("20"));
        QCOMPARE(s.aantalantwoorden, qint16(0));
    }

    void answersCountOnlyWhileTheRoundIsOpen() {
        hostWithClient();
        keyboardHost();
        Form1& f = Form1::instance();
        start(f);
        closeRound(f);
        GameState& s = state();
        // The client answers after the round closed, and at every send of the next
        // round's preparation (as if its answers arrived then).
        registeranswer(QStringLiteral("1"), QStringLiteral("9"), 1);
        QCOMPARE(s.aantalclientantwoorden, qint16(0));
        QTcpSocket* socket = frmmulti::instance().server[1];
        const auto answering = connect(socket, &QTcpSocket::bytesWritten, this, [] {
            registeranswer(QStringLiteral("1"), QStringLiteral("9"), 1);
        });
        f.tmrAntwoordenTonen_Timer();
        disconnect(answering);
        QCOMPARE(s.vraagnummer, qint16(2));
        QCOMPARE(s.aantalclientantwoorden, qint16(1));
        QCOMPARE(s.spelers[1].antwoord, qint16(1));
    }

    // Trivia: a client's answer counts from the send of the question to it, also
    // while the host still sends; it counts at most the seconds its clock can show,
    // and not at all when the question never reached it or has closed.
    void triviaAnswersCountFromTheirSendWithBoundedClocks() {
        VDX_REQUIRE_CENTRAL_DB();
        AdminDb admin;
        const int count = admin.value(QStringLiteral("select count(*) from vdrx_trivia")).toInt();
        QVERIFY(count > 0);
        hostWithClient();
        Peer* anna = joinAs("anna");
        Peer* piet = joinAs("piet");
        QVERIFY(anna && piet);
        QCOMPARE(openCentral(), 0);
        ManualClock clock;
        GameState& s = state();
        s.speltype = QStringLiteral("trivia");
        s.rondetype = QStringLiteral("trivia");
        s.aantaltriviavragen = QString::number(count);
        Form1& f = Form1::instance();
        const auto answer = [&s](double klok) {
            return wire::build(wire::TriviaAnswerMessage{s.triviaantwoorden[1], klok}, u'.');
        };
        // Left by an earlier game's question that the host left: it counts in no other.
        s.spelers[2].gevonden[1] = QStringLiteral("1");
        s.spelers[2].tijden[1] = 1.75;
        // kees answers the moment his question leaves the host, which still sends.
        bool whileSending = false;
        const auto early =
            connect(frmmulti::instance().server[1], &QTcpSocket::bytesWritten, this, [&] {
                if (whileSending) return;
                whileSending = !f.rondeopen();
                controleertriviaantwoordclient(s.triviaantwoorden[1], QStringLiteral("19.5"), 1);
            });
        f.Command8_Click();
        disconnect(early);
        s.triviafastesttime = 0; // nothing beats it: this test stores no record
        QVERIFY(whileSending);
        QVERIFY(f.rondeopen());
        QCOMPARE(s.spelers[1].totaalscore, qint16(19));
        QVERIFY(anna->waitFor("vxsetriveinde"));

        // 12 s into the question anna claims the full 20 s: at most 9 count.
        clock.advance(12000);
        anna->send(answer(20));
        QVERIFY(waitUntil([&] { return s.spelers[2].totaalscore != 0; }));
        QCOMPARE(s.spelers[2].totaalscore, qint16(9));
        QCOMPARE(s.spelers[2].tijden[1], 11.0);
        // A client that joined after the send never got this question.
        Peer* jan = joinAs("jan");
        QVERIFY(jan);
        jan->send(answer(7) + "vxclchat|<jan> hi|vxclchateinde");
        QVERIFY(jan->waitFor("vxsechat|<jan> hi|vxsechateinde"));

        clock.advance(8000); // time is up; piet's clock could still show 1 s
        f.tmrmilliklok2_Timer();
        QVERIFY(!f.rondeopen());
        f.tmrdelay->stop(); // no next question
        piet->send(answer(3) + "vxclchat|<piet> hi|vxclchateinde");
        QVERIFY(piet->waitFor("vxsechat|<piet> hi|vxsechateinde"));
        QCOMPARE(s.spelers[3].totaalscore, qint16(0));
        QCOMPARE(s.spelers[4].totaalscore, qint16(0));
        QCOMPARE(anna->received.count("vxsecha2|"), 2);
        QVERIFY(anna->received.contains("|kees found the answer (+19)|"));
        QVERIFY(anna->received.contains("|anna found the answer (+9)|"));
    }

    // A new record is announced once the table took it. One whose UPDATE fails (its
    // row locked by another session past the wait) is neither stored nor announced.
    void aRecordIsAnnouncedOnlyOnceStored() {
        VDX_REQUIRE_CENTRAL_DB();
        // A bank of its own, so that the locked row holds up no other suite.
        const QString bank =
            QStringLiteral("vdx_record_") + QUuid::createUuid().toString(QUuid::Id128).left(12);
        AdminDb admin(QString{});
        for (const QString& sql :
             {"CREATE DATABASE " + bank,
              "CREATE TABLE " + bank + ".vdrx_trivia LIKE vondrix_mijnPHP.vdrx_trivia",
              "INSERT INTO " + bank +
                  ".vdrx_trivia (questionnr, question, answ1, aantal) VALUES (7, 'q', 'abc', 1)",
              "GRANT SELECT, UPDATE (fastest, fastesttime) ON " + bank +
                  ".vdrx_trivia TO 'vondrix_mpclien'@'127.0.0.1', 'vondrix_mpclien'@'localhost'"})
            QVERIFY2(admin.exec(sql), qPrintable(admin.lastError()));
        const auto dropBank = qScopeGuard([&] { admin.exec("DROP DATABASE " + bank); });
        hostWithClient();
        Form1& f = Form1::instance();
        DbConnection& db = gMyConn();
        QCOMPARE(db.OpenConnection(centralHost(), QStringLiteral("vondrix_mpclien"),
                                   QStringLiteral("GRINTALvoskemb"), bank, centralPort(), 0),
                 0);
        db.Execute(QStringLiteral("SET SESSION innodb_lock_wait_timeout = 1"));
        QCOMPARE(db.Error().Number, 0);
        GameState& s = state();
        s.triviavraagnr = QStringLiteral("7");
        s.aantaltriviaantwoorden = 1;
        s.triviafastesttime = 100;
        const auto keesFoundIt = [&s] {
            s.spelers[1].gevonden[1] = QStringLiteral("1");
            s.spelers[1].tijden[1] = 4.256;
        };
        const auto holder = [&] {
            return admin.value("SELECT CONCAT(fastest, ' ', fastesttime) FROM " + bank +
                               ".vdrx_trivia WHERE questionnr = 7");
        };
        AdminDb locker(bank);
        QVERIFY(locker.exec(QStringLiteral("START TRANSACTION")));
        QVERIFY(locker.exec(
            QStringLiteral("SELECT fastest FROM vdrx_trivia WHERE questionnr = 7 FOR UPDATE")));
        keesFoundIt();
        recordcontroleren();
        QVERIFY(locker.exec(QStringLiteral("ROLLBACK")));
        QCOMPARE(holder(), QVariant(QStringLiteral("nobody 100")));
        keesFoundIt();
        recordcontroleren();
        QCOMPARE(holder(), QVariant(QStringLiteral("kees 4.26")));
        sendchattoclients(QStringLiteral("after the records"));
        QVERIFY(client_->waitFor("|after the records|vxsechateinde"));
        QCOMPARE(client_->received.count("vxsecha4|A new record! for question 7 by kees in 4"), 1);
        QCOMPARE(f.txtchat2->toPlainText().count(QStringLiteral("A new record!")), 1);
    }

    void joystickPressDuringThePreparationLeavesTheNewRoundOpen() {
        hostWithClient();
        GameState& s = state();
        s.joystick1 = kTrue;
        for (int k = 1; k <= 4; ++k)
            s.spelers[0].knop(k) = QString::number(k + 3); // buttons 4..7
        Form1& f = Form1::instance();
        start(f);
        closeRound(f); // the host did not answer
        // Button 4 held while the excerpt goes out; the poll may tick in the sends.
        FakeJoystick stick;
        stick.press(4);
        QTimer::singleShot(0, &f, [&f] { f.Timer1_Timer(); });
        f.tmrAntwoordenTonen_Timer();
        QCOMPARE(s.vraagnummer, qint16(2));
        QCOMPARE(s.spelers[0].antwoord, qint16(0));
        QCOMPARE(s.aantalantwoorden, qint16(0));
        QVERIFY(f.Timer1->isActive());
        f.Timer1_Timer();
        QCOMPARE(s.spelers[0].antwoord, qint16(1));
        QCOMPARE(s.aantalantwoorden, qint16(1));
    }

    void kickFromTheMenuRemovesTheClientBeforeTheEndTest() {
        hostWithClient();
        keyboardHost();
        state().quizlengte = 1;
        Form1& f = Form1::instance();
        start(f);
        f.mnukickplayer[0]->trigger();
        closeRound(f);
        QVERIFY(client_->connected());
        f.tmrAntwoordenTonen_Timer();
        QCOMPARE(state().kickspeler, qint16(-1));
        QVERIFY(f.spelafgelopen());
        QVERIFY(client_->waitDisconnected());
        QVERIFY(client_->received.contains("vxsekik1"));
        // The socket was closed before the game ended: no final scores reached it.
        QVERIFY(!client_->received.contains("vxseeind"));
    }

    void exitDuringTheKickEndsTheRoundStart() {
        hostWithClient();
        keyboardHost();
        Form1& f = Form1::instance();
        start(f);
        f.mnukickplayer[0]->trigger();
        closeRound(f);
        QPointer<Form1> window(&f);
        QTimer::singleShot(0, &f, [&f] { f.mnuExit_Click(); });
        f.tmrAntwoordenTonen_Timer();
        QVERIFY(!Form1::exists());
        QCOMPARE(state().vraagnummer, qint16(1));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(window.isNull());
    }
};

VDX_TEST_MAIN(tst_roundloopnet)
#include "tst_roundloopnet.moc"
