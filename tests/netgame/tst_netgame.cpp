// The client over real TCP: a test host on 127.0.0.1 speaks the wire protocol
// byte for byte to the online window's client socket.
#include "common/gamestate.h"
#include "common/protocol.h"
#include "common/receivebuffer.h"
#include "game/Form1.h"
#include "game/Form7.h"
#include "game/answershape.h"
#include "lobby/centraldb.h"
#include "lobby/frmmulti.h"
#include "netgame/clientmodule.h"
#include "platform/wait.h"
#include "tests/netgame/netpeer.h"
#include "tests/support/admindb.h"
#include "tests/support/dialogrecorder.h"
#include "tests/support/tempfolder.h"
#include "tests/support/testmain.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QTableWidget>
#include <QTcpSocket>
#include <QTextEdit>
#include <QtTest>
#include <memory>

namespace {

const QByteArray kStar20 = "vxsestar|20|21|vxsestareinde";

QByteArray chat(const QByteArray& line) {
    return "vxsechat|" + line + "|vxsechateinde";
}

// The server list with one game: address, port and private flag in columns 1, 2, 11.
void listGame(frmmulti& w, const QString& adres, const QString& poort, const QString& prive) {
    w.fgData->setColumnCount(12);
    w.fgData->setRowCount(1);
    w.fgData->setItem(0, 1, new QTableWidgetItem(adres));
    w.fgData->setItem(0, 2, new QTableWidgetItem(poort));
    w.fgData->setItem(0, 11, new QTableWidgetItem(prive));
}

QStringList chatLines() {
    return Form1::instance().txtchat2->toPlainText().split(u'\n', Qt::SkipEmptyParts);
}

// A joined client: the online window connected to a test host, the handshake done.
class Joined {
public:
    Joined() {
        resetState();
        state().gebruikersnaam = QStringLiteral("kim");
        state().eigenlandnummer = 5;
        QVERIFY(host.listen());
        frmmulti& w = frmmulti::instance();
        w.txthostnaam->setText(QStringLiteral("127.0.0.1"));
        w.txthostport->setText(QString::number(host.port()));
        w.clientconnect(QStringLiteral("127.0.0.1"));
        peer = host.accept();
        QVERIFY(peer);
        QVERIFY(waitUntil([] { return clientState() == 7; }));
        dialogs.clear(); // the first-run notices of the online window
    }
    ~Joined() {
        Form7::unload();
        Form1::unload();
        frmmulti::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void greet() {
        peer->send(kStar20);
        QVERIFY(peer->waitFor("vxclusereinde"));
    }

    TempProgramFolder folder;
    DialogRecorder dialogs;
    FakeHost host;
    Peer* peer = nullptr;
};

} // namespace

class TestNetClient : public QObject {
    Q_OBJECT

private slots:
    void handshakeAnswersWithTheUser() {
        Joined j;
        QCOMPARE(Form1::instance().txthoofd->text(),
                 QStringLiteral("waiting for next question to join..."));
        QCOMPARE(Form1::instance().txtklok->text(), QStringLiteral("??"));
        j.peer->send(kStar20);
        QVERIFY(j.peer->waitFor("vxclusereinde"));
        QCOMPARE(j.peer->received, QByteArray("vxcluser|kim|5|vxclusereinde"));
        QCOMPARE(state().clientvraagtijd, QStringLiteral("20"));
        QCOMPARE(Form1::instance().pgmuziekclient->maximum(), 550000);
        QVERIFY(!Form1::instance().Imaget[0]->pixmap().isNull());
    }

    void chatsOfOneReadAreAllShownInTheirLength() {
        Joined j;
        j.greet();
        QByteArray all;
        for (int n = 1; n <= 10; ++n)
            all += chat("line " + QByteArray::number(n));
        // Windows-1252 text, and a line far longer than a chat line.
        all += chat("\x80 \x85 " + QByteArray(5000, 'w'));
        j.peer->send(all);
        QVERIFY(waitUntil([] { return chatLines().size() == 11; }));
        QStringList expected;
        for (int n = 1; n <= 10; ++n)
            expected << QStringLiteral("line %1").arg(n);
        expected << QString::fromUtf8("\u20ac \u2026 ") + QString(wire::kMaxPeerLine - 4, u'w');
        QCOMPARE(chatLines(), expected);
        // A stop without its reason field is dropped.
        j.peer->send("vxsestop|vxsestopeinde" + chat("after"));
        QVERIFY(waitUntil([] { return chatLines().contains(QStringLiteral("after")); }));
        QVERIFY(Form1::exists());
        QVERIFY(j.dialogs.texts().isEmpty());
    }

    void correctAnswerTagEndsTheRead() {
        Joined j;
        j.greet();
        j.peer->send("vxsecorr|vxsecorreinde" + chat("lost"));
        QVERIFY(waitUntil([] { return chatLines().contains(ReceiveBuffer::kClientWarning); }));
        QVERIFY(!chatLines().contains(QStringLiteral("lost")));
    }

    void emptyRowsHideTheirTiles() {
        Joined j;
        j.greet();
        j.peer->send("vxseantw|2_9_9_14_anna_3_21|3_8_8_8_kim_3_5|0_0_0_0__3_0|0_0_0_0__3_0|"
                     "0_0_0_0__3_0||vxseantweinde");
        Form1& f = Form1::instance();
        QVERIFY(waitUntil([&] { return f.naam[1]->text() == u"kim"; }));
        QCOMPARE(f.naam[0]->text(), QStringLiteral("anna"));
        QCOMPARE(f.score[0]->text(), QStringLiteral("14"));
        QCOMPARE(f.border[1]->borderColor(), kColourGreen);
        QVERIFY(!f.naam[0]->isHidden());
        for (int i = 2; i <= 4; ++i) {
            QVERIFY(f.naam[i]->isHidden());
            QVERIFY(f.Imaget[i]->isHidden());
            QVERIFY(f.border[i]->isHidden());
        }
    }

    void stopMessageUnloadsAndFreesTheHostTab() {
        Joined j;
        j.greet();
        frmmulti::instance().SSTab1->setTabEnabled(kTabHost, false);
        j.peer->send("vxsestop||vxsestopeinde");
        QVERIFY(waitUntil([] { return !Form1::exists(); }));
        QCOMPARE(j.dialogs.texts(),
                 QStringList{QStringLiteral("Disconnected from server. Reason: Server stopped")});
        QVERIFY(frmmulti::instance().SSTab1->isTabEnabled(kTabHost));
    }

    void excerptArrivesByteForByte() {
        Joined j;
        j.greet();
        QByteArray song(550000, '\0');
        auto* rng = QRandomGenerator::global();
        for (char& c : song)
            c = static_cast<char>(rng->bounded(256));
        // Bytes that look like the protocol stay song bytes.
        song.replace(1000, 22, "vxseclos|vxsecloseinde");
        song.replace(5000, 9, "vxseclos|");
        song.replace(9000, 27, "vxsechat|x|vxsechateinde");
        song.replace(549978, 22, "vxseclos|vxsecloseinde");
        j.peer->send("vxsekeuz|one|two|three|four|7|1|vxsekeuzeinde"
                     "vxseopen|vxseopeneinde" +
                     song + "vxseclos|vxsecloseinde");
        Form1& f = Form1::instance();
        QVERIFY(waitUntil([&] { return f.keuze1->text() == u"one"; }));
        QFile temp(j.folder.file(QStringLiteral("temp.mp3")));
        QVERIFY(temp.open(QIODevice::ReadOnly));
        QCOMPARE(temp.size(), qint64(550000));
        QVERIFY(temp.readAll() == song);
        QCOMPARE(f.txthoofd->text(), QStringLiteral("Question 7"));
        QCOMPARE(f.keuze4->text(), QStringLiteral("four"));
        QCOMPARE(state().eigenslot, QStringLiteral("1"));
        QCOMPARE(f.txtklok->text(), QStringLiteral("20"));
        QVERIFY(f.pgmuziekclient->isHidden());
        QVERIFY(state().liedbuffer.isEmpty());
        QVERIFY(!chatLines().contains(QStringLiteral("x")));
    }

    void shortExcerptEndsAfterTheSettle() {
        Joined j;
        j.greet();
        const QByteArray song = QByteArray("ID3") + QByteArray(1200, 'a') + "vxseclos|";
        j.peer->send("vxsekeuz|a|b|c|d|1|1|vxsekeuzeinde"
                     "vxseopen|vxseopeneinde" +
                     song + "vxseclos|vxsecloseinde");
        Form1& f = Form1::instance();
        QVERIFY(waitUntil([&] { return f.keuze1->text() == u"a"; }));
        QFile temp(j.folder.file(QStringLiteral("temp.mp3")));
        QVERIFY(temp.open(QIODevice::ReadOnly));
        QVERIFY(temp.readAll() == song);
    }

    void messagesSplitAtEveryByteAsInOneRead() {
        const QByteArray run = "vxseregi|bob|2|7|vxseregieinde" + chat("hello \\'x\\'") +
                               "vxsekeuz|t1|t2|t3|t4|3|2|vxsekeuzeinde";
        struct Seen {
            QString naam2, hoofd, keuze, slot;
            QStringList chat;
            bool operator==(const Seen&) const = default;
        };
        auto seen = [] {
            Form1& f = Form1::instance();
            return Seen{f.naam[2]->text(), f.txthoofd->text(), state().clientkeuze3,
                        state().eigenslot, chatLines()};
        };
        Seen whole;
        {
            Joined j;
            j.greet();
            j.peer->send(run);
            QVERIFY(waitUntil([] { return state().clientkeuze3 == u"t3"; }));
            whole = seen();
        }
        QCOMPARE(whole.naam2, QStringLiteral("bob"));
        QCOMPARE(whole.chat, QStringList{QStringLiteral("hello 'x'")});
        QCOMPARE(whole.slot, QStringLiteral("2"));

        Joined j;
        j.greet();
        for (qsizetype cut = 1; cut < run.size(); ++cut) {
            Form1& f = Form1::instance();
            f.txtchat2->clear();
            f.naam[2]->clear();
            f.txthoofd->clear();
            state().clientkeuze3.clear();
            state().eigenslot.clear();
            j.peer->sendSplit(run, cut);
            QVERIFY(waitUntil([] { return state().clientkeuze3 == u"t3"; }));
            const Seen split = seen();
            if (!(split == whole))
                QFAIL(qPrintable(QStringLiteral("differs when cut at %1").arg(cut)));
        }
    }

    void kickedClientIsClosedAndKeepsTheHostTabShut() {
        Joined j;
        j.greet();
        frmmulti::instance().SSTab1->setTabEnabled(kTabHost, false);
        j.peer->send("vxsekik1|vxsekik1einde");
        QVERIFY(waitUntil([] { return !Form1::exists(); }));
        QCOMPARE(j.dialogs.texts(),
                 QStringList{QStringLiteral("You have been kicked by the server")});
        QCOMPARE(clientState(), 0);
        QVERIFY(j.peer->waitDisconnected());
        QVERIFY(!frmmulti::instance().SSTab1->isTabEnabled(kTabHost));
    }

    void killedHostShowsTheMessageAndAllowsANewJoin() {
        Joined j;
        j.greet();
        j.peer->kill();
        QVERIFY(waitUntil([] { return !Form1::exists(); }));
        QCOMPARE(j.dialogs.texts(), QStringList{QStringLiteral("No connection with server")});
        frmmulti& w = frmmulti::instance();
        QCOMPARE(w.lblstatusjoin->text(),
                 QStringLiteral("Could not connect to 127.0.0.1 on port ") +
                     QString::number(j.host.port()));
        QCOMPARE(clientState(), 0);

        // Joining again works.
        w.clientconnect(QStringLiteral("127.0.0.1"));
        Peer* again = j.host.accept();
        QVERIFY(again);
        again->send(kStar20);
        QVERIFY(again->waitFor("vxclusereinde"));
        QVERIFY(Form1::exists());
    }

    void refusedConnectionShowsTheStatus() {
        TempProgramFolder folder;
        DialogRecorder dialogs;
        resetState();
        quint16 port = 0;
        {
            QTcpServer probe;
            QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
            port = probe.serverPort();
        }
        frmmulti& w = frmmulti::instance();
        for (int i = 0; i < w.SSTab1->count(); ++i)
            w.SSTab1->setTabEnabled(i, true);
        dialogs.clear();
        w.txthostnaam->setText(QStringLiteral("127.0.0.1"));
        // A port that is no number connects nothing; the host tab stays usable.
        w.txthostport->setText(QStringLiteral("x"));
        w.Command1->click();
        QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("Can't connect to server")});
        QVERIFY(w.SSTab1->isTabEnabled(kTabHost));
        dialogs.clear();
        w.txthostport->setText(QString::number(port));
        w.Command1->click();
        QVERIFY(waitUntil([] { return !Form1::exists(); }));
        QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("No connection with server")});
        QCOMPARE(w.lblstatusjoin->text(),
                 QStringLiteral("Could not connect to 127.0.0.1 on port %1").arg(port));
        QVERIFY(w.SSTab1->isTabEnabled(kTabHost));
        QVERIFY(w.Command1->isEnabled());
        frmmulti::unload();
    }

    // While this PC plays, "Connect" opens no second connection; a lost
    // connection ends the game and frees both "Connect" and the host tab.
    void connectWhilePlayingStartsNothing() {
        TempProgramFolder folder;
        DialogRecorder dialogs;
        resetState();
        state().gebruikersnaam = QStringLiteral("kim");
        FakeHost host;
        QVERIFY(host.listen());
        frmmulti& w = frmmulti::instance();
        for (int i = 0; i < w.SSTab1->count(); ++i)
            w.SSTab1->setTabEnabled(i, true);
        w.txthostnaam->setText(QStringLiteral("127.0.0.1"));
        w.txthostport->setText(QString::number(host.port()));
        w.Command1->click();
        Peer* peer = host.accept();
        QVERIFY(peer);
        peer->send(kStar20);
        QVERIFY(peer->waitFor("vxclusereinde"));
        QVERIFY(!w.SSTab1->isTabEnabled(kTabHost));

        QTest::keyClick(w.Command1, Qt::Key_Space);
        w.Command1_Click();
        QVERIFY(!host.accept(500));
        QCOMPARE(clientState(), 7);
        QVERIFY(Form1::exists());

        dialogs.clear();
        peer->reset();
        QVERIFY(waitUntil([] { return !Form1::exists(); }));
        QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("No connection with server")});
        QVERIFY(w.SSTab1->isTabEnabled(kTabHost));
        w.Command1->click();
        QVERIFY(host.accept());
        Form1::unload();
        frmmulti::unload();
    }

    void chatShowsMarkupAsTyped() {
        Joined j;
        j.greet();
        j.peer->send(chat("<b>bold</b> &amp; <i>x"));
        QVERIFY(waitUntil([] { return !chatLines().isEmpty(); }));
        QCOMPARE(chatLines(), QStringList{QStringLiteral("<b>bold</b> &amp; <i>x")});
    }

    void messageWithBadFieldsIsDropped() {
        Joined j;
        j.greet();
        j.peer->send("vxseregi|bob|two|7|vxseregieinde"
                     "vxseantw|1_2|x||||||vxseantweinde" +
                     chat("still here"));
        QVERIFY(waitUntil([] { return chatLines().contains(QStringLiteral("still here")); }));
        QVERIFY(Form1::instance().naam[2]->text().isEmpty());
        QVERIFY(state().spelers[2].naam.isEmpty());
    }

    void privateGameAsksThePassword() {
        VDX_REQUIRE_CENTRAL_DB();
        TempProgramFolder folder;
        DialogRecorder dialogs;
        resetState();
        FakeHost host;
        QVERIFY(host.listen());
        const QString poort = QString::number(host.port());
        AdminDb db;
        QVERIFY(
            db.exec(QStringLiteral("insert into vdrx_servers (IPaddress, IPport, IPping, user, "
                                   "description, curPlayers, maxPlayers, version, serverpassword, "
                                   "active) values ('127.0.0.1', ?, ?, '20', 'x', '1', '4', '4', "
                                   "?, '1')"),
                    {poort, poort, QStringLiteral("s'cret")}));
        QCOMPARE(openCentral(), 0);
        frmmulti& w = frmmulti::instance();
        listGame(w, QStringLiteral("127.0.0.1"), poort, QStringLiteral("yes"));
        w.fgData->setCurrentCell(0, 1);
        w.fgData_Click();
        QCOMPARE(w.txthostport->text(), poort);
        QCOMPARE(w.txtmetpaswoord->text(), QStringLiteral("yes"));
        QCOMPARE(w.adresingetypt, QStringLiteral("no"));
        dialogs.clear();

        // Cancel: nothing happens.
        w.Command1_Click();
        QCOMPARE(dialogs.prompts, QStringList{QStringLiteral("Fill in password:")});
        QVERIFY(dialogs.messages.isEmpty());
        QVERIFY(!Form1::exists());
        // A wrong password, also one that would change a pasted statement.
        dialogs.inputAnswers =
            QStringList{QStringLiteral("x' or '1'='1"), QStringLiteral("s'cret")};
        w.Command1_Click();
        QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("incorrect password")});
        QVERIFY(!Form1::exists());
        QVERIFY(!host.accept(300));
        // The right one joins.
        dialogs.clear();
        w.Command1_Click();
        QVERIFY(dialogs.messages.isEmpty());
        QVERIFY(host.accept());
        QVERIFY(Form1::exists());
        QVERIFY(!w.SSTab1->isTabEnabled(kTabHost));
        Form1::unload();
        frmmulti::unload();
        db.exec(QStringLiteral("delete from vdrx_servers where IPport = ?"), {poort});
    }

    void typedAddressOfAListedGameIsRefused() {
        TempProgramFolder folder;
        DialogRecorder dialogs;
        resetState();
        FakeHost host;
        QVERIFY(host.listen());
        frmmulti& w = frmmulti::instance();
        for (int i = 0; i < w.SSTab1->count(); ++i)
            w.SSTab1->setTabEnabled(i, true);
        listGame(w, QStringLiteral("127.0.0.1"), QString::number(host.port()),
                 QStringLiteral("no"));
        w.txthostnaam->clear();
        QTest::keyClicks(w.txthostnaam, QStringLiteral("127.0.0.1"));
        QCOMPARE(w.adresingetypt, QStringLiteral("yes"));
        w.txthostport->setText(QString::number(host.port()));
        dialogs.clear();
        w.Command1->click();
        QCOMPARE(dialogs.texts(),
                 QStringList{QStringLiteral("This server exists, select it from the list")});
        QVERIFY(!host.accept(300));
        // Another address typed by hand connects without a password question.
        w.fgData->item(0, 2)->setText(QStringLiteral("1"));
        dialogs.clear();
        w.Command1->click();
        QVERIFY(host.accept());
        QVERIFY(dialogs.prompts.isEmpty());
        Form1::unload();
        frmmulti::unload();
    }

    void endlessExcerptIsGivenUp() {
        Joined j;
        j.greet(); // 20 s: a full excerpt is 550000 bytes
        j.peer->send("vxseopen|vxseopeneinde");
        QVERIFY(waitUntil([] { return state().ontvangtlied == kTrue; }));
        const QByteArray chunk(256 * 1024, 'z');
        for (int n = 0; n < 16; ++n) {
            j.peer->send(chunk);
            QVERIFY(state().liedbuffer.size() <= 550000 + ReceiveBuffer::kSongMargin);
        }
        QVERIFY(waitUntil([] { return state().ontvangtlied != kTrue; }));
        QVERIFY(state().liedbuffer.isEmpty());
        QVERIFY(Form1::instance().pgmuziekclient->isHidden());
        // The connection goes on.
        j.peer->send(chunk + chat("still here"));
        QVERIFY(waitUntil([] { return chatLines().contains(QStringLiteral("still here")); }));
        QVERIFY(state().liedbuffer.isEmpty());
        QCOMPARE(clientState(), 7);
        QVERIFY(j.dialogs.messages.isEmpty());
    }

    void hostClosingAfterStopShowsOneMessage() {
        Joined j;
        j.greet();
        j.peer->send("vxsestop||vxsestopeinde");
        QVERIFY(waitUntil([] { return !Form1::exists(); }));
        j.peer->close();
        QVERIFY(waitUntil([] { return clientState() == 0; }));
        wachten(200);
        QCOMPARE(j.dialogs.texts(),
                 QStringList{QStringLiteral("Disconnected from server. Reason: Server stopped")});
        QVERIFY(!Form1::exists());

        // Joining again works, and a later loss of the host is reported again.
        frmmulti::instance().clientconnect(QStringLiteral("127.0.0.1"));
        Peer* again = j.host.accept();
        QVERIFY(again);
        again->send(kStar20);
        QVERIFY(again->waitFor("vxclusereinde"));
        QVERIFY(Form1::exists());
        j.dialogs.clear();
        again->close();
        QVERIFY(waitUntil([] { return !Form1::exists(); }));
        QCOMPARE(j.dialogs.texts(), QStringList{QStringLiteral("No connection with server")});
    }

    // Each game counts its trivia questions on the host's numbers, from 1, and its
    // results show its own count and players, none of the game before.
    void aSecondGameCountsItsOwnQuestionsAndPlayers() {
        const auto question = [](int nummer) {
            return "vxsetriv|17|what?|1|***|poster|" + QByteArray::number(nummer) +
                   "||nobody|100|*h*|vxsetriveinde";
        };
        const auto heading = [](const char* start) {
            return waitUntil([start] {
                return Form1::exists() &&
                       Form1::instance().txthoofd->text() ==
                           QLatin1String(start) + QStringLiteral(" ~ Trivia question 17");
            });
        };
        // Results windows stay open between games: wait for the game's own top score.
        const auto results = [](const char* topScore) {
            return waitUntil([topScore] {
                return Form7::exists() && Form7::instance().isVisible() &&
                       Form7::instance().score[0]->text() == QLatin1String(topScore);
            });
        };
        Joined j;
        j.greet();
        j.peer->send(question(1));
        QVERIFY(heading("1"));
        j.peer->send(question(2));
        QVERIFY(heading("2"));
        j.peer->send("vxseeind|0_0_0_30_anna_3|0_0_0_20_kim_3|0_0_0_10_bob_3|0_0_0_0__3|"
                     "0_0_0_0__3||vxseeindeinde");
        QVERIFY(results("30"));
        QCOMPARE(Form7::instance().lblvragen->text(), QStringLiteral("2"));
        j.peer->send("vxsestop||vxsestopeinde");
        QVERIFY(waitUntil([] { return !Form1::exists(); }));

        // The next game, joined during its fifth question; bob is not in it.
        frmmulti::instance().clientconnect(QStringLiteral("127.0.0.1"));
        Peer* again = j.host.accept();
        QVERIFY(again);
        again->send(kStar20);
        QVERIFY(again->waitFor("vxclusereinde"));
        again->send(question(5));
        QVERIFY(heading("5"));
        again->send(question(6));
        QVERIFY(heading("6"));
        again->send("vxseeind|0_0_0_12_anna_3|0_0_0_8_kim_3|0_0_0_0__3|0_0_0_0__3|0_0_0_0__3||"
                    "vxseeindeinde");
        QVERIFY(results("12"));
        Form7& uitslag = Form7::instance();
        QCOMPARE(uitslag.lblvragen->text(), QStringLiteral("6"));
        QCOMPARE(uitslag.naam[1]->text(), QStringLiteral("kim"));
        QCOMPARE(uitslag.score[1]->text(), QStringLiteral("8"));
        QVERIFY(uitslag.naam[2]->isHidden());
        QVERIFY(uitslag.score[2]->isHidden());
    }

    void headingShowsTheQuestionFieldAsSent() {
        Joined j;
        j.greet();
        j.peer->send("vxsekeuz|a|b|c|d|007|1|vxsekeuzeinde");
        QVERIFY(waitUntil([] { return state().clientkeuze1 == u"a"; }));
        QCOMPARE(Form1::instance().txthoofd->text(), QStringLiteral("Question 007"));
    }
};

VDX_TEST_MAIN(TestNetClient)
#include "tst_netgame.moc"
