// The host over real TCP: the online window hosts a game on 127.0.0.1 and test
// clients speak the wire protocol byte for byte.
#include "common/gamestate.h"
#include "common/protocol.h"
#include "common/receivebuffer.h"
#include "game/Form1.h"
#include "game/Form7.h"
#include "game/answershape.h"
#include "lobby/centraldb.h"
#include "lobby/frmmulti.h"
#include "netgame/listensocket.h"
#include "netgame/servermodule.h"
#include "platform/wait.h"
#include "tests/db/privateserver.h"
#include "tests/netgame/netpeer.h"
#include "tests/support/admindb.h"
#include "tests/support/dialogrecorder.h"
#include "tests/support/freeport.h"
#include "tests/support/tempfolder.h"
#include "tests/support/testmain.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTcpSocket>
#include <QTextEdit>
#include <QThread>
#include <QTimer>
#include <QtTest>
#include <memory>

namespace {

QByteArray songBytes(qsizetype n, char seed) {
    QByteArray b(n, '\0');
    for (qsizetype i = 0; i < n; ++i)
        b[i] = static_cast<char>((i * 131 + seed) & 0xff);
    return b;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Lets the peer's bytes reach the host's kernel buffer while no event runs here.
void wachtenZonderEvents(int ms) {
    QThread::msleep(ms);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// As a login leaves them, so their controls take input.
frmmulti& loggedIn() {
    frmmulti& w = frmmulti::instance();
    for (int i = 0; i < w.SSTab1->count(); ++i)
        w.SSTab1->setTabEnabled(i, true);
    return w;
}

int curPlayers(AdminDb& db, const QString& port) {
    return db
        .value(QStringLiteral("select curPlayers from vdrx_servers where IPaddress = "
                              "'127.0.0.1' and IPport = ? and active = '1'"),
               {port})
        .toInt();
}

int activeRows(AdminDb& db, const QString& port) {
    return db
        .value(QStringLiteral("select count(*) from vdrx_servers where IPaddress = '127.0.0.1' "
                              "and IPport = ? and active = '1'"),
               {port})
        .toInt();
}

// A hosted music game on a free port of 127.0.0.1.
class Hosting {
public:
    explicit Hosting(const QString& maxPlayers = QStringLiteral("4"),
                     const QString& tijd = QStringLiteral("20"), bool internet = false) {
        resetState();
        for (auto& slot : clientslots())
            slot = ClientSlot{};
        state().gebruikersnaam = QStringLiteral("host");
        state().eigenlandnummer = 21;
        state().landnaam = QStringLiteral("Belgium");
        if (internet) openCentral();
        QString m3u = QStringLiteral("#EXTM3U\r\n");
        for (int n = 1; n <= 6; ++n) {
            const QString song = folder.file(QStringLiteral("song%1.mp3").arg(n));
            writeFile(song, songBytes(1000, char(n)));
            m3u += song + QStringLiteral("\r\n");
        }
        writeFile(folder.file(QStringLiteral("list.m3u")), m3u.toUtf8());
        frmmulti& w = loggedIn();
        port = QString::number(freePort());
        w.txtserverinfo->setText(QStringLiteral("test game"));
        w.txtserverip->setText(QStringLiteral("127.0.0.1"));
        w.txtserverport->setText(port);
        w.txtpad->setText(folder.file(QStringLiteral("list.m3u")));
        w.cmdservermaxplayers->setCurrentText(maxPlayers);
        w.cmbtijd->setCurrentText(tijd);
        (internet ? w.optinternet : w.optlan)->setChecked(true);
        dialogs.clear();
        w.cmdHost->click();
    }
    ~Hosting() {
        peers.clear();
        Form1::unload();
        frmmulti::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // A client that connected and got its greeting.
    Peer* join(const QByteArray& naam = {}, int land = 20) {
        peers.push_back(std::make_unique<Peer>());
        Peer* p = peers.back().get();
        if (!p->connectTo(port.toUShort())) return nullptr;
        if (!p->waitFor("vxsestareinde")) return nullptr;
        if (!naam.isEmpty()) {
            const qint16 before = registered();
            p->send("vxcluser|" + naam + "|" + QByteArray::number(land) + "|vxclusereinde");
            if (!waitUntil([&] { return registered() > before; })) return nullptr;
            // Every client has the announcement before the test goes on.
            for (const auto& peer : peers) {
                if (!peer->waitFor("vxseregi|" + naam + "|")) return nullptr;
            }
        }
        return p;
    }
    static qint16 registered() {
        qint16 n = 0;
        for (int i = 1; i <= 4; ++i)
            n += !state().spelers[i].naam.isEmpty();
        return n;
    }
    QStringList chat() const {
        return Form1::instance().txtchat2->toPlainText().split(u'\n', Qt::SkipEmptyParts);
    }

    TempProgramFolder folder;
    DialogRecorder dialogs;
    QString port;
    std::vector<std::unique_ptr<Peer>> peers;
};

} // namespace

class TestNetHost : public QObject {
    Q_OBJECT

private slots:
    void acceptGreetsAndAnnounces() {
        Hosting h;
        QCOMPARE(serverState(0), 2);
        Peer* a = h.join();
        QVERIFY(a);
        QCOMPARE(a->received, QByteArray("vxsestar|20|21|vxsestareinde"));
        QCOMPARE(state().aantalclients, qint16(1));
        QCOMPARE(Form1::instance().txtaantalclients->text(), QStringLiteral("1"));
        a->received.clear();
        a->send("vxcluser|anna|20|vxclusereinde");
        QVERIFY(a->waitFor("vxseregieinde"));
        QCOMPARE(a->received, QByteArray("vxseregi|anna|1|20|vxseregieinde"));
        QCOMPARE(state().spelers[1].naam, QStringLiteral("anna"));
        QVERIFY(!Form1::instance().Imaget[1]->pixmap().isNull());

        Peer* b = h.join();
        QVERIFY(b);
        a->received.clear();
        b->received.clear();
        b->send("vxcluser|bob|3|vxclusereinde");
        QVERIFY(a->waitFor("vxseregieinde"));
        QVERIFY(b->waitFor("vxseregieinde"));
        QCOMPARE(a->received, QByteArray("vxseregi|bob|2|3|vxseregieinde"));
        QCOMPARE(b->received, a->received);
    }

    void playerLimitRefusesWithoutMessage() {
        Hosting h(QStringLiteral("2"));
        QVERIFY(h.join());
        QVERIFY(h.join());
        Peer third;
        third.connectTo(h.port.toUShort());
        QVERIFY(third.waitDisconnected());
        QVERIFY(third.received.isEmpty());
        QCOMPARE(state().aantalclients, qint16(2));
    }

    void choicesCarryEachClientsSlot() {
        Hosting h;
        Peer* a = h.join("anna");
        Peer* b = h.join("bob");
        QVERIFY(a && b);
        a->received.clear();
        b->received.clear();
        GameState& st = state();
        for (int c = 1; c <= 4; ++c)
            st.keuzes[c] = QStringLiteral("title %1").arg(c);
        st.vraagnummer = 4;
        assignslotsandsendchoices();
        QVERIFY(a->waitFor("vxsekeuzeinde") && b->waitFor("vxsekeuzeinde"));
        QCOMPARE(a->received,
                 QByteArray("vxsekeuz|title 1|title 2|title 3|title 4|5|1|vxsekeuzeinde"));
        QCOMPARE(b->received,
                 QByteArray("vxsekeuz|title 1|title 2|title 3|title 4|5|2|vxsekeuzeinde"));
        QCOMPARE(clientslots()[1].ingame, QStringLiteral("1"));
        QCOMPARE(clientslots()[3].ingame, QStringLiteral("0"));
    }

    void excerptIsSentByteForByteWithNothingBetween() {
        Hosting h;
        Peer* a = h.join("anna");
        Peer* b = h.join("bob");
        QVERIFY(a && b);
        QCOMPARE(state().fragmentgrootte, 550000.0);
        QByteArray song = songBytes(700000, 7);
        song.replace(100, 22, "vxseclos|vxsecloseinde");
        song.replace(300000, 13, "vxseantweinde");
        const QString path = h.folder.file(QStringLiteral("long.mp3"));
        QVERIFY(writeFile(path, song));
        QVERIFY(stageserversong(path));
        const QByteArray excerpt = song.left(550000);
        QCOMPARE(readFile(h.folder.file(QStringLiteral("server.mp3"))), excerpt);

        assignslotsandsendchoices();
        QVERIFY(a->waitFor("vxsekeuzeinde"));
        a->received.clear();
        // A chat line that reaches the host while it sends the excerpt goes out after it.
        // Written to the kernel without letting events run: the host reads it inside
        // sendsongtoclients, after its write to client 1.
        b->socket().write("vxclchat|<bob> hi|vxclchateinde");
        b->socket().flush();
        wachtenZonderEvents(20);
        sendsongtoclients();
        waitforsendcomplete();
        const QByteArray expected = "vxseopen|vxseopeneinde" + excerpt + "vxseclos|vxsecloseinde";
        QVERIFY(a->waitBytes(expected.size() + 10));
        QVERIFY(a->waitFor("vxsechateinde"));
        QVERIFY(a->received.startsWith(expected));
        QCOMPARE(a->received.mid(expected.size()), QByteArray("vxsechat|<bob> hi|vxsechateinde"));
        for (int i = 1; i <= 4; ++i)
            QVERIFY(clientslots()[i].verzonden);
    }

    void shortSongIsSentWhole() {
        Hosting h(QStringLiteral("4"), QStringLiteral("10"));
        Peer* a = h.join("anna");
        QVERIFY(a);
        const QByteArray song = songBytes(1234, 3);
        const QString path = h.folder.file(QStringLiteral("short.mp3"));
        QVERIFY(writeFile(path, song));
        QVERIFY(stageserversong(path));
        QCOMPARE(readFile(h.folder.file(QStringLiteral("server.mp3"))), song);
        QVERIFY(!stageserversong(h.folder.file(QStringLiteral("missing.mp3"))));
        assignslotsandsendchoices();
        QVERIFY(a->waitFor("vxsekeuzeinde"));
        a->received.clear();
        sendsongtoclients();
        waitforsendcomplete();
        const QByteArray expected = "vxseopen|vxseopeneinde" + song + "vxseclos|vxsecloseinde";
        QVERIFY(a->waitBytes(expected.size()));
        QCOMPARE(a->received, expected);
    }

    void answerRowsStopAndKick() {
        Hosting h;
        Peer* a = h.join("anna");
        QVERIFY(a);
        assignslotsandsendchoices();
        QVERIFY(a->waitFor("vxsekeuzeinde"));
        a->received.clear();
        GameState& st = state();
        st.juistekeuze = 3;
        st.spelers[0].totaalscore = 12;
        st.spelers[0].antwoord = 3;
        st.spelers[0].antwoordtijd = 12;
        sendanswerstoclients();
        QVERIFY(a->waitFor("vxseantweinde"));
        QCOMPARE(a->received, QByteArray("vxseantw|3_12_0_12_host_3_21|0_0_0_0_anna_3_20|"
                                         "0_0_0_0__3_0|0_0_0_0__3_0|0_0_0_0__3_0||vxseantweinde"));
        QCOMPARE(Form1::instance().score[0]->text(), QStringLiteral("12"));

        a->received.clear();
        sendstoptoclients();
        QVERIFY(a->waitFor("vxsestopeinde"));
        QCOMPARE(a->received, QByteArray("vxsestop||vxsestopeinde"));
        QCOMPARE(serverState(1), sckConnected);

        a->received.clear();
        kickclient(1);
        QVERIFY(a->waitDisconnected());
        QCOMPARE(a->received, QByteArray("vxsekik1|vxsekik1einde"));
        QVERIFY(!serverLive(1));
        tmraantalplayersbegin_Timer();
        QCOMPARE(st.aantalclients, qint16(0));
        QVERIFY(Form1::instance().naam[1]->isHidden());
        QVERIFY(st.spelers[1].naam.isEmpty());
    }

    void clientAnswerIsScored() {
        Hosting h;
        Peer* a = h.join("anna");
        QVERIFY(a);
        GameState& st = state();
        st.juistekeuze = 2;
        st.aantalantwoorden = 1;
        st.spelers[1].totaalscore = 5;
        Form1::instance().txtklok->setText(QStringLiteral("13"));
        a->send("vxclantw|2|7|vxclantweinde");
        QVERIFY(waitUntil([&] { return st.aantalclientantwoorden == 1; }));
        QCOMPARE(st.spelers[1].antwoord, qint16(2));
        QCOMPARE(st.spelers[1].antwoordtijd, qint16(7));
        QCOMPARE(st.spelers[1].totaalscore, qint16(12));
        QCOMPARE(Form1::instance().txtklok->text(), QStringLiteral("0"));
        // Answers with a non-number, from a player who has not answered yet, are
        // dropped; the player's next answer is the one that counts.
        Peer* b = h.join("bob");
        QVERIFY(b);
        b->send("vxclantw|x|7|vxclantweinde");
        b->send("vxclantw|2|x|vxclantweinde");
        b->send("vxclantw|3|4|vxclantweinde");
        QVERIFY(waitUntil([&] { return st.aantalclientantwoorden == 2; }));
        QCOMPARE(st.spelers[2].antwoord, qint16(3));
        QCOMPARE(st.spelers[2].antwoordtijd, qint16(4));
    }

    // A client's answer counts once per round, must be 1 to 4, earns at most the
    // question's seconds, and a total stops at the 16-bit limit.
    void forgedAnswersCannotInflateScores() {
        resetState();
        GameState& st = state();
        st.vraagtijdtekst = "20";
        st.juistekeuze = 2;
        st.spelers[1].totaalscore = 32760;

        registeranswer("2", "15", 1);
        QCOMPARE(st.spelers[1].totaalscore, qint16(32767));
        registeranswer("2", "15", 1);
        QCOMPARE(st.aantalclientantwoorden, qint16(1));

        registeranswer("2", "32767", 2);
        QCOMPARE(st.spelers[2].antwoordtijd, qint16(20));
        QCOMPARE(st.spelers[2].totaalscore, qint16(20));

        registeranswer("7", "5", 3);
        registeranswer("x", "5", 3);
        QCOMPARE(st.spelers[3].antwoord, qint16(0));
        QCOMPARE(st.aantalclientantwoorden, qint16(2));
        resetState();
    }

    void unusableClientDataWarnsEveryone() {
        Hosting h;
        Peer* a = h.join("anna");
        Peer* b = h.join("bob");
        QVERIFY(a && b);
        a->received.clear();
        b->received.clear();
        a->send("vxclzzzz|junk|vxclzzzzeinde");
        const QByteArray line =
            "vxsechat|" + ReceiveBuffer::kHostWarning.toLatin1() + "|vxsechateinde";
        QVERIFY(b->waitUntilCount(line, 2));
        QCOMPARE(b->received, line + line);
        QVERIFY(a->waitFor(line + line));
        QCOMPARE(h.chat().count(ReceiveBuffer::kHostWarning), 2);
    }

    void chatIsEchoedEscapedAndShownPlain() {
        Hosting h;
        Peer* a = h.join("anna");
        QVERIFY(a);
        a->received.clear();
        a->send("vxclchat|<anna> it's <b>a\\b</b>|vxclchateinde");
        QVERIFY(a->waitFor("vxsechateinde"));
        QCOMPARE(a->received, QByteArray("vxsechat|<anna> it\\'s <b>a\\\\b</b>|vxsechateinde"));
        QCOMPARE(h.chat(), QStringList{QStringLiteral("<anna> it's <b>a\\b</b>")});
    }

    void hostilePeersAreCutResetAndClosed() {
        Hosting h;
        Peer* a = h.join("anna");
        Peer* b = h.join();
        Peer* c = h.join("carl");
        QVERIFY(a && b && c);
        // A name of 32700 characters and a chat line of 2 MB without blanks.
        b->send("vxcluser|" + QByteArray(32700, 'n') + "|20|vxclusereinde");
        QVERIFY(waitUntil([] { return !state().spelers[2].naam.isEmpty(); }));
        QCOMPARE(state().spelers[2].naam, QString(wire::kMaxPeerName, u'n'));
        a->received.clear();
        QElapsedTimer clock;
        clock.start();
        b->send("vxclchat|<b> " + QByteArray(2000000, 'w') + "|vxclchateinde");
        QVERIFY(a->waitFor("vxsechateinde"));
        QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
        qInfo("a 2 MB chat line sent, cut and echoed in %lld ms", clock.elapsed());
        QCOMPARE(h.chat().last().size(), wire::kMaxPeerLine);
        QCOMPARE(a->received.size(), 9 + wire::kMaxPeerLine + 14);
        // A typed trivia answer that is no answer goes on as a chat line cut the same way.
        a->received.clear();
        b->send("vxcltriv|" + QByteArray(100000, 'w') + "|5|vxcltriveinde");
        QVERIFY(a->waitFor("vxsechateinde"));
        QCOMPARE(h.chat().last().size(), wire::kMaxPeerLine);
        QCOMPARE(a->received.size(), 9 + wire::kMaxPeerLine + 14);
        // Tables stay whole: every client can read them.
        assignslotsandsendchoices();
        a->received.clear();
        sendanswerstoclients();
        QVERIFY(a->waitFor("vxseantweinde"));
        const auto rows = wire::parseRoundResults(a->received);
        QVERIFY(rows);
        QCOMPARE((*rows)[2].naam.size(), wire::kMaxPeerName);

        // A client that resets in the middle of a message is reported; one that
        // closes normally is not.
        b->send("vxclchat|<b> half a li");
        b->reset();
        QVERIFY(waitUntil(
            [&] { return h.chat().contains(QStringLiteral("[system] player2 disconnected")); }));
        a->close();
        QVERIFY(waitUntil([] { return !serverLive(1); }));
        QVERIFY(!h.chat().contains(QStringLiteral("[system] player1 disconnected")));

        // A kicked client that stops reading is cut off after a short wait.
        c->socket().setReadBufferSize(1);
        QObject::disconnect(&c->socket(), &QTcpSocket::readyRead, nullptr, nullptr);
        QVERIFY(writeFile(h.folder.file(QStringLiteral("server.mp3")), songBytes(16 << 20, 1)));
        assignslotsandsendchoices();
        sendsongtoclients();
        kickclient(3);
        QCOMPARE(serverState(3), sckClosing);
        QVERIFY(waitUntil([] { return serverState(3) == sckClosed; }, 8000));
    }

    void aGoneConnectionIsFreedBeforeTheNextIsCounted() {
        Hosting h;
        Peer* x = h.join();
        QVERIFY(x);
        QCOMPARE(state().aantalclients, qint16(1));
        // The reset and the next connection reach the host while it is busy; it
        // takes the connection request first.
        x->reset();
        QTcpSocket y;
        y.connectToHost(QHostAddress::LocalHost, h.port.toUShort());
        wachtenZonderEvents(200);
        QVERIFY(frmmulti::instance().server0->waitForNewConnection(2000));
        QCOMPARE(state().aantalclients, qint16(1));
        QCOMPARE(serverState(1), sckConnected);
        QCOMPARE(clientslots()[1].slotsocket, QStringLiteral("1"));
        QVERIFY(!serverLive(2));
    }

    void databaseOutageLeavesTheGameGoing() {
        VDX_REQUIRE_CENTRAL_DB();
        PrivateServer db;
        QVERIFY2(db.start(), qPrintable(db.error()));
        // A statement waits at most the connect time-out for a session and the read
        // time-out for its answer; room for a loaded machine, short of another wait.
        constexpr int kConnectS = 5, kReadS = 10;
        constexpr qint64 kStatementMs = (kConnectS + kReadS) * 1000 + 2000;
        gMyConn().setTimeouts(kConnectS, kReadS, kReadS);
        {
            const UsePrivateServer use(db);
            Hosting h(QStringLiteral("4"), QStringLiteral("20"), true);
            QVERIFY2(h.dialogs.messages.isEmpty(), qPrintable(h.dialogs.texts().join(u'\n')));
            Peer* a = h.join("anna");
            QVERIFY(a);
            // The server stops answering: the next join waits at most the time-outs,
            // is told the error and still gets its greeting.
            db.freeze();
            QElapsedTimer clock;
            clock.start();
            Peer* b = h.join();
            QVERIFY(b);
            QVERIFY(waitUntil([&] { return !h.dialogs.messages.isEmpty(); }, 60000));
            qInfo("a join with the server frozen: told after %lld ms", clock.elapsed());
            QVERIFY2(clock.elapsed() < kStatementMs, qPrintable(QString::number(clock.elapsed())));
            db.thaw();
            // The game goes on for both.
            assignslotsandsendchoices();
            QVERIFY(a->waitFor("vxsekeuzeinde"));
            QVERIFY(b->waitFor("vxsekeuzeinde"));
            QCOMPARE(state().aantalclients, qint16(2));
        }
    }

    void stalledSendCountsAsDropped() {
        Hosting h;
        Peer* a = h.join("anna");
        Peer* b = h.join("bob");
        QVERIFY(a && b);
        // The client stops reading: its buffers fill and the host's send stalls.
        a->socket().setReadBufferSize(1);
        QObject::disconnect(&a->socket(), &QTcpSocket::readyRead, nullptr, nullptr);
        assignslotsandsendchoices();
        QVERIFY(writeFile(h.folder.file(QStringLiteral("server.mp3")), songBytes(48 << 20, 1)));
        sendsongtoclients();
        QElapsedTimer clock;
        clock.start();
        waitforsendcomplete();
        QVERIFY(clock.elapsed() >= kSendStallMs - 500);
        QVERIFY(clock.elapsed() < 3 * kSendStallMs);
        QVERIFY(!serverLive(1));
        QVERIFY(clientslots()[1].verzonden);
        QVERIFY(h.chat().contains(QStringLiteral("[system] player1 disconnected")));
        syncplayercount();
        QCOMPARE(state().aantalclients, qint16(1));
        // The other client got its whole excerpt and plays on.
        QVERIFY(b->waitFor("vxsecloseinde", 20000));
        b->received.clear();
        assignslotsandsendchoices();
        QVERIFY(b->waitFor("vxsekeuzeinde"));
    }

    void slowSendIsCappedInAll() {
        Hosting h;
        Peer* a = h.join("anna");
        QVERIFY(a);
        // The client reads a little now and then: the send never stalls, never ends.
        constexpr qint64 kBite = 256 * 1024;
        a->socket().setReadBufferSize(kBite);
        QObject::disconnect(&a->socket(), &QTcpSocket::readyRead, nullptr, nullptr);
        qint64 gelezen = 0;
        QTimer lezer;
        QObject::connect(&lezer, &QTimer::timeout,
                         [&] { gelezen += a->socket().read(kBite).size(); });
        assignslotsandsendchoices();
        QVERIFY(writeFile(h.folder.file(QStringLiteral("server.mp3")), songBytes(96 << 20, 1)));
        sendsongtoclients();
        lezer.start(300);
        QElapsedTimer clock;
        clock.start();
        waitforsendcomplete(3000);
        lezer.stop();
        QVERIFY(clock.elapsed() >= 2500);
        QVERIFY(clock.elapsed() < kSendStallMs);
        QVERIFY(gelezen > kBite);
        QVERIFY(!serverLive(1));
        QVERIFY(clientslots()[1].verzonden);
    }

    void busyPortLeavesNothingStarted() {
        TempProgramFolder folder;
        DialogRecorder dialogs;
        resetState();
        QTcpServer busy;
        QVERIFY(busy.listen(QHostAddress::Any, 0));
        QString m3u = QStringLiteral("#EXTM3U\r\n");
        for (int n = 1; n <= 6; ++n) {
            const QString song = folder.file(QStringLiteral("s%1.mp3").arg(n));
            writeFile(song, "x");
            m3u += song + QStringLiteral("\r\n");
        }
        writeFile(folder.file(QStringLiteral("l.m3u")), m3u.toUtf8());
        frmmulti& w = loggedIn();
        w.txtserverinfo->setText(QStringLiteral("game"));
        w.txtserverip->setText(QStringLiteral("127.0.0.1"));
        w.txtserverport->setText(QString::number(busy.serverPort()));
        w.txtpad->setText(folder.file(QStringLiteral("l.m3u")));
        w.optlan->setChecked(true);
        dialogs.clear();
        w.cmdHost->click();
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY(dialogs.messages.first().text.contains(QString::number(busy.serverPort())));
        QCOMPARE(state().isserver, qint16(0));
        QVERIFY(!Form1::exists());
        QVERIFY(w.SSTab1->isTabEnabled(kTabJoin));
        QVERIFY(w.cmdHost->isEnabled());
        QCOMPARE(serverState(0), 0);
        frmmulti::unload();
    }

    void shortPlaylistIsRefused() {
        TempProgramFolder folder;
        DialogRecorder dialogs;
        resetState();
        QString m3u = QStringLiteral("#EXTM3U\r\n");
        for (int n = 1; n <= 3; ++n)
            m3u += folder.file(QStringLiteral("s%1.mp3").arg(n)) + QStringLiteral("\r\n");
        writeFile(folder.file(QStringLiteral("l.m3u")), m3u.toUtf8());
        frmmulti& w = loggedIn();
        w.txtserverinfo->setText(QStringLiteral("game"));
        w.txtserverport->setText(QString::number(freePort()));
        w.txtpad->setText(folder.file(QStringLiteral("l.m3u")));
        dialogs.clear();
        w.cmdHost->click();
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY(dialogs.messages.first().text.contains(QStringLiteral("too few")));
        QCOMPARE(serverState(0), 0);
        QVERIFY(!Form1::exists());

        // Empty fields: the required-fields message.
        dialogs.clear();
        w.txtserverinfo->clear();
        w.cmdHost->click();
        QCOMPARE(dialogs.texts(),
                 QStringList{QStringLiteral("fill in serverinfo, Ip and port to start a server")});
        QCOMPARE(dialogs.messages.first().title, QStringLiteral("Required fields"));
        frmmulti::unload();
    }

    void stopClosesTheListenerOnly() {
        Hosting h;
        Peer* a = h.join("anna");
        QVERIFY(a);
        frmmulti::instance().cmdStophost->setEnabled(true);
        frmmulti::instance().cmdStophost->click();
        QCOMPARE(serverState(0), 0);
        QCOMPARE(state().isserver, qint16(0));
        QCOMPARE(serverState(1), sckConnected);
        QVERIFY(frmmulti::instance().SSTab1->isTabEnabled(kTabJoin));
        Peer late;
        QVERIFY(!late.connectTo(h.port.toUShort(), 500));
    }

    void dropBeforeStartIsCleanedOnTwoTicks() {
        VDX_REQUIRE_CENTRAL_DB();
        AdminDb db;
        Hosting h(QStringLiteral("4"), QStringLiteral("20"), true);
        QVERIFY2(h.dialogs.messages.isEmpty(), qPrintable(h.dialogs.texts().join(u'\n')));
        QVERIFY(!frmmulti::instance().cmdHost->isEnabled());
        QCOMPARE(curPlayers(db, h.port), 1);
        Peer* a = h.join("anna");
        Peer* b = h.join("bob");
        QVERIFY(a && b);
        QVERIFY(waitUntil([&] { return curPlayers(db, h.port) == 3; }));
        Form1& f = Form1::instance();
        f.tmraantalplayersbegin->stop(); // ticks driven here
        a->kill();
        b->close();
        QVERIFY(waitUntil([] { return !serverLive(1) && !serverLive(2); }));
        // A peer that went away is no socket error.
        QVERIFY(!h.chat().join(u'\n').contains(QStringLiteral("disconnected")));
        tmraantalplayersbegin_Timer();
        QCOMPARE(state().aantalclients, qint16(1));
        QCOMPARE(curPlayers(db, h.port), 2);
        QVERIFY(f.naam[1]->isHidden());
        QVERIFY(f.Imaget[1]->isHidden());
        tmraantalplayersbegin_Timer();
        QCOMPARE(state().aantalclients, qint16(0));
        QCOMPARE(f.txtaantalclients->text(), QStringLiteral("0"));
        QCOMPARE(curPlayers(db, h.port), 1);
        QVERIFY(h.dialogs.messages.isEmpty());
    }

    void dropMidGameIsCleanedByTheCountCheck() {
        VDX_REQUIRE_CENTRAL_DB();
        AdminDb db;
        Hosting h(QStringLiteral("4"), QStringLiteral("20"), true);
        Peer* a = h.join("anna");
        Peer* b = h.join("bob");
        QVERIFY(a && b);
        Form1& f = Form1::instance();
        f.tmraantalplayersbegin->stop(); // the game has started
        f.naam[2]->show();
        a->received.clear();
        b->kill();
        QVERIFY(waitUntil([] { return !serverLive(2); }));
        syncplayercount();
        QCOMPARE(state().aantalclients, qint16(1));
        QVERIFY(f.naam[2]->isHidden());
        QVERIFY(state().spelers[2].naam.isEmpty());
        QCOMPARE(curPlayers(db, h.port), 1); // the connected clients, the host not counted
        // The game goes on with the other client.
        assignslotsandsendchoices();
        QVERIFY(a->waitFor("vxsekeuzeinde"));
        QVERIFY(h.dialogs.messages.isEmpty());
    }

    void joinAfterAMidGameDropKeepsTheCounts() {
        VDX_REQUIRE_CENTRAL_DB();
        AdminDb db;
        Hosting h(QStringLiteral("4"), QStringLiteral("20"), true);
        Peer* a = h.join("anna");
        QVERIFY(a);
        Form1& f = Form1::instance();
        f.tmraantalplayersbegin->stop(); // the game has started
        a->close();
        QVERIFY(waitUntil([] { return !serverLive(1); }));
        wachten(100);
        // The newcomer does not take socket 1 while record 1 still holds it.
        Peer* b = h.join();
        QVERIFY(b);
        QCOMPARE(serverState(2), sckConnected);
        QCOMPARE(clientslots()[1].slotsocket, QStringLiteral("1"));
        QCOMPARE(clientslots()[2].slotsocket, QStringLiteral("2"));
        QCOMPARE(state().aantalclients, qint16(2));
        assignslotsandsendchoices(); // cleans up the dropped socket
        QVERIFY(b->waitFor("vxsekeuzeinde"));
        QCOMPARE(state().aantalclients, qint16(1));
        QCOMPARE(f.txtaantalclients->text(), QStringLiteral("1"));
        QCOMPARE(curPlayers(db, h.port), 2); // the host and bob
        syncplayercount();
        QCOMPARE(state().aantalclients, qint16(1));
        QCOMPARE(curPlayers(db, h.port), 2);
        QVERIFY(h.dialogs.messages.isEmpty());
    }

    // In a running game "Connect" opens no connection, and "Stop server" ends the
    // game as the game window's Exit does.
    void stopServerEndsARunningGame() {
        VDX_REQUIRE_CENTRAL_DB();
        AdminDb db;
        Hosting h(QStringLiteral("4"), QStringLiteral("20"), true);
        Peer* a = h.join("anna");
        QVERIFY(a);
        QCOMPARE(activeRows(db, h.port), 1);
        frmmulti& w = frmmulti::instance();
        Form1::instance().Command8->click();
        QVERIFY(a->waitFor("vxsecloseinde"));

        w.txthostnaam->setText(QStringLiteral("127.0.0.1"));
        w.txthostport->setText(h.port);
        w.Command1_Click();
        wachten(300);
        QCOMPARE(state().isserver, qint16(1));
        QCOMPARE(state().aantalclients, qint16(1));

        a->received.clear();
        w.cmdStophost->click();
        QVERIFY(a->waitFor("vxsestop||vxsestopeinde"));
        QVERIFY(!Form1::exists());
        QCOMPARE(activeRows(db, h.port), 0);
        QCOMPARE(state().isserver, qint16(0));
        QVERIFY(w.cmdHost->isEnabled());
        QVERIFY(w.SSTab1->isTabEnabled(kTabJoin));
        QCOMPARE(w.lblstatushost->text(), QStringLiteral("No server started"));
    }

    // The online window's Exit while hosting tells the clients and withdraws the
    // listed game before the program ends.
    void exitWhileHostingEndsTheGameFirst() {
        VDX_REQUIRE_CENTRAL_DB();
        AdminDb db;
        Hosting h(QStringLiteral("4"), QStringLiteral("20"), true);
        Peer* a = h.join("anna");
        QVERIFY(a);
        QCOMPARE(activeRows(db, h.port), 1);
        a->received.clear();
        frmmulti::instance().Command10->click();
        frmmulti::unload(); // as the program's end does, with its sockets
        QVERIFY(a->waitFor("vxsestop||vxsestopeinde"));
        QCOMPARE(activeRows(db, h.port), 0);
        QVERIFY(!Form1::exists());
    }

    // An ended game is no longer listed and takes no one. No round start follows
    // the last round: a client that leaves then is dropped at once. "Start server"
    // then offers the next game, which forgets the players of the one before.
    void anEndedGameTakesNoOneAndANewStartOffersTheNext() {
        VDX_REQUIRE_CENTRAL_DB();
        AdminDb db;
        Hosting h(QStringLiteral("4"), QStringLiteral("20"), true);
        Peer* a = h.join("anna");
        Peer* b = h.join("bob");
        QVERIFY(a && b);
        QVERIFY(waitUntil([&] { return curPlayers(db, h.port) == 3; }));
        frmmulti& w = frmmulti::instance();
        Form1& f = Form1::instance();
        f.tmraantalplayersbegin->stop(); // the game has started
        GameState& st = state();
        st.spelers[1].totaalscore = 173;
        st.quizlengte = 1;
        st.vraagnummer = 1;
        f.naam[2]->show();
        f.muziekserverherbeginnen(); // the end test ends the game
        QVERIFY(f.spelafgelopen());
        QCOMPARE(activeRows(db, h.port), 0);
        Peer late;
        QVERIFY(!late.connectTo(h.port.toUShort(), 500));
        QCOMPARE(st.aantalclients, qint16(2));
        QVERIFY(w.cmdHost->isEnabled());
        QVERIFY(!w.cmdStophost->isEnabled());

        b->close();
        QVERIFY(waitUntil([&] { return st.spelers[2].naam.isEmpty(); }));
        QCOMPARE(st.aantalclients, qint16(1));
        QVERIFY(f.naam[2]->isHidden());
        QVERIFY(Form1::exists());
        QVERIFY(a->connected());

        // The host starts the next game: anna is told, the results window stays.
        a->received.clear();
        w.cmdHost->click();
        QVERIFY(a->waitFor("vxsestop||vxsestopeinde"));
        QVERIFY(a->waitDisconnected());
        QVERIFY(Form1::exists());
        QVERIFY(Form1::instance().Command8->isEnabled());
        QVERIFY(Form7::instance().isVisible());
        QCOMPARE(activeRows(db, h.port), 1);
        for (int i = 1; i <= 4; ++i) {
            QVERIFY(st.spelers[i].naam.isEmpty());
            QCOMPARE(st.spelers[i].totaalscore, qint16(0));
        }
        QVERIFY(h.join());
        QCOMPARE(st.aantalclients, qint16(1));
        QVERIFY(h.dialogs.messages.isEmpty());
        Form7::unload();
    }

    void failedTakeOverCountsNothing() {
        Hosting h;
        frmmulti::instance().server_ConnectionRequest(0, -1);
        QCOMPARE(state().aantalclients, qint16(0));
        QCOMPARE(Form1::instance().txtaantalclients->text(), QStringLiteral("0"));
        for (int k = 1; k <= 4; ++k)
            QCOMPARE(clientslots()[k].slotsocket, QStringLiteral("0"));
        // The slot stays free for the next client.
        QVERIFY(h.join());
        QCOMPARE(state().aantalclients, qint16(1));
        QCOMPARE(clientslots()[1].slotsocket, QStringLiteral("1"));
    }

    void noClientIsTakenWhileTheStartSetsUp() {
        TempProgramFolder folder;
        resetState();
        for (auto& slot : clientslots())
            slot = ClientSlot{};
        frmmulti& w = loggedIn();
        const QString port = QString::number(freePort());
        w.txtserverinfo->setText(QStringLiteral("game"));
        w.txtserverip->setText(QStringLiteral("127.0.0.1"));
        w.txtserverport->setText(port);
        w.opttrivia->setChecked(true);
        w.optlan->setChecked(true);
        // No central database: the start ends with the trivia message. While the
        // messages show, a client knocks and events run.
        gMyConn().OpenConnection(QStringLiteral("127.0.0.1"), QStringLiteral("x"),
                                 QStringLiteral("x"), QStringLiteral("x"), freePort(), 0);
        Peer knocker;
        QStringList texts;
        setDialogHandlers({[&](const MessageRequest& r) {
                               texts << r.text;
                               if (texts.size() == 1) {
                                   knocker.socket().connectToHost(QHostAddress::LocalHost,
                                                                  port.toUShort());
                                   wachten(300);
                               }
                               return int(vbOK);
                           },
                           {}});
        w.cmdHost->click();
        QVERIFY(texts.contains(
            QStringLiteral("Could not establish connection with trivia database, QUIT")));
        QCOMPARE(serverState(0), 0);
        QVERIFY(knocker.waitDisconnected());
        QVERIFY(knocker.received.isEmpty());
        QCOMPARE(state().aantalclients, qint16(0));
        for (int i = 1; i <= 4; ++i)
            QCOMPARE(serverState(i), sckClosed);
        setDialogHandlers({});
        Form1::unload();
        frmmulti::unload();
    }
};

VDX_TEST_MAIN(TestNetHost)
#include "tst_nethost.moc"
