// End to end: a real host and real clients as separate processes on loopback,
// each with its own program folder, all on the test database.
#include "common/trivia.h"
#include "tests/db/privateserver.h"
#include "tests/support/admindb.h"
#include "tests/support/freeport.h"
#include "tests/support/songfiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QScopeGuard>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QUuid>
#include <QtTest>
#include <memory>

#include <sys/socket.h>

namespace {

QString uniqueName(const QString& stem) {
    return stem + QUuid::createUuid().toString(QUuid::Id128).left(10);
}

bool addUser(AdminDb& db, const QString& naam) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        const qint64 id =
            db.value(QStringLiteral("select coalesce(max(user_id),0)+1 from phpbb_users"))
                .toLongLong();
        if (db.exec(QStringLiteral("insert into phpbb_users (user_id, username, user_password, "
                                   "user_email, user_from) values (?,?,md5(?),?,?)"),
                    {id, naam, QStringLiteral("pw"), QStringLiteral("x@example.org"),
                     QStringLiteral("Belgium ")}))
            return true;
    }
    return false;
}

// One player program with its own program folder; keeps every line it writes.
class Player {
public:
    // readOnly: the program folder is mounted read-only for this player alone.
    Player(const QString& role, const QString& naam, const QStringList& extra,
           bool readOnly = false)
        : naam_(naam) {
        QFile ini(home_.filePath(QStringLiteral("settings.ini")));
        if (ini.open(QIODevice::WriteOnly))
            ini.write("[controls]\r\ndevice=keyboard\r\nbutton1=q\r\nbutton2=w\r\nbutton3=e\r\n"
                      "button4=r\r\n");
        ini.close();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VONDRIX_HOME"), home_.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::SeparateChannels);
        QObject::connect(&process_, &QProcess::readyReadStandardOutput, [this] {
            while (process_.canReadLine())
                lines_ << QString::fromUtf8(process_.readLine()).trimmed();
        });
        const QStringList args = QStringList{role, QStringLiteral("--user"), naam,
                                             QStringLiteral("--password"), QStringLiteral("pw")} +
                                 extra;
        if (readOnly) {
            const QString h = home_.path();
            process_.start(QStringLiteral("unshare"),
                           QStringList{QStringLiteral("-m"), QStringLiteral("sh"),
                                       QStringLiteral("-c"),
                                       QStringLiteral("mount --bind '%1' '%1' && mount -o "
                                                      "remount,bind,ro '%1' && exec \"$0\" \"$@\"")
                                           .arg(h),
                                       QStringLiteral(VDX_NETPLAYER)} +
                               args);
        } else {
            process_.start(QStringLiteral(VDX_NETPLAYER), args);
        }
    }
    ~Player() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }
    QString naam() const { return naam_; }
    const QStringList& lines() const { return lines_; }
    bool has(const QString& prefix) const {
        return std::any_of(lines_.begin(), lines_.end(),
                           [&](const QString& l) { return l.startsWith(prefix); });
    }
    QStringList with(const QString& prefix) const {
        QStringList found;
        for (const QString& l : lines_)
            if (l.startsWith(prefix)) found << l;
        return found;
    }
    QMap<QString, int> finals() const {
        QMap<QString, int> scores;
        for (const QString& l : with(QStringLiteral("FINAL "))) {
            const QStringList f = l.split(u' ');
            scores.insert(f.value(1), f.value(2).toInt());
        }
        return scores;
    }
    void kill() {
        process_.kill();
        process_.waitForFinished(5000);
    }
    bool finished() const { return process_.state() == QProcess::NotRunning; }
    qint64 pid() const { return process_.processId(); }

private:
    QString naam_;
    QTemporaryDir home_;
    QProcess process_;
    QStringList lines_;
};

bool waitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QTest::qWait(20);
    return done();
}

QString dump(const Player& p) {
    return p.naam() + QStringLiteral(":\n  ") + p.lines().join(QStringLiteral("\n  "));
}

int curPlayers(AdminDb& db, quint16 port) {
    return db
        .value(QStringLiteral("select curPlayers from vdrx_servers where IPaddress = "
                              "'127.0.0.1' and IPport = ? and active = '1'"),
               {QString::number(port)})
        .toInt();
}

// Peak resident memory of a process in kB (VmHWM), 0 when unknown.
qint64 peakMemoryKb(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return 0;
}

// A raw connection on loopback that reads nothing: its buffers are kept small, so
// a send to it stalls soon.
std::unique_ptr<QTcpSocket> rawPeer(quint16 port) {
    auto socket = std::make_unique<QTcpSocket>();
    socket->setReadBufferSize(1);
    socket->connectToHost(QHostAddress::LocalHost, port);
    socket->waitForConnected(5000);
    socket->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4096);
    return socket;
}

void sendAll(QTcpSocket& socket, const QByteArray& bytes) {
    for (qsizetype at = 0; at < bytes.size(); at += 65536) {
        socket.write(bytes.mid(at, 65536));
        while (socket.bytesToWrite() > 0 && socket.state() == QAbstractSocket::ConnectedState)
            socket.waitForBytesWritten(1000);
    }
}

// Ends a connection with a TCP reset.
void resetPeer(QTcpSocket& socket) {
    const linger now{1, 0};
    ::setsockopt(int(socket.socketDescriptor()), SOL_SOCKET, SO_LINGER, &now, sizeof now);
    socket.abort();
}

// A playlist of generated songs shared by all players.
struct Songs {
    QTemporaryDir dir;
    TestSongs songs;
    explicit Songs(int seconds) { songs = makeSongs(dir.path(), 6, seconds); }
};

// The lines of one question: from its QUESTION line to the next.
QStringList questionLines(const QStringList& lines, int q) {
    QStringList out;
    int seen = 0;
    for (const QString& l : lines) {
        if (l.startsWith(QLatin1String("QUESTION "))) ++seen;
        if (seen == q) out << l;
    }
    return out;
}

QStringList questionLines(const Player& p, int q) {
    return questionLines(p.lines(), q);
}

// The lines of one game on one PC: from its GAME line to the next.
QStringList gameLines(const Player& p, int g) {
    QStringList out;
    int seen = 0;
    for (const QString& l : p.lines()) {
        if (l.startsWith(QLatin1String("GAME "))) seen = l.mid(5).toInt();
        if (seen == g) out << l;
    }
    return out;
}

// The names after a line's first word, sorted ("TILES a b", or the FINAL rows).
QStringList namesOf(const QStringList& lines, const QString& word) {
    QStringList names;
    for (const QString& l : lines.filter(QRegularExpression(u'^' + word + u' ')))
        names << (word == u"TILES" ? l.mid(6).split(u' ', Qt::SkipEmptyParts)
                                   : QStringList{l.section(u' ', 1, 1)});
    names.sort();
    return names;
}

// A trivia bank of its own numbered 1 to 16, so that half the draws find a row:
// eight questions with one accepted answer of three characters or more (so that
// the second mask differs from the first), active, and eight with two answers.
// A record of 50.5 s everywhere.
void triviaBank(AdminDb& own) {
    const QList<QVariantList> keep = own.rows(QStringLiteral(
        "(select questionnr from vdrx_trivia where aantal = 1 and char_length(answ1) >= 3 "
        "order by questionnr limit 8) union all (select questionnr from vdrx_trivia where "
        "aantal = 2 order by questionnr limit 8)"));
    QCOMPARE(keep.size(), 16);
    QStringList kept;
    for (const QVariantList& row : keep)
        kept << row[0].toString();
    QVERIFY(own.exec(QStringLiteral("delete from vdrx_trivia where questionnr not in (%1)")
                         .arg(kept.join(u','))));
    QVERIFY(own.exec(QStringLiteral("update vdrx_trivia set questionnr = questionnr + 100000")));
    for (qsizetype i = 0; i < kept.size(); ++i)
        QVERIFY(own.exec(QStringLiteral("update vdrx_trivia set questionnr = ? where "
                                        "questionnr = ? + 100000"),
                         {i + 1, kept[i].toInt()}));
    QVERIFY(own.exec(QStringLiteral("update vdrx_trivia set active = (aantal = 1), fastest = "
                                    "'oldtimer', fastesttime = '50.5'")));
}

} // namespace

class TestEndToEnd : public QObject {
    Q_OBJECT

private slots:
    void init() {
        VDX_REQUIRE_CENTRAL_DB();
        if (!canMakeSongs()) QSKIP("sox and lame are needed for the songs");
        db = std::make_unique<AdminDb>();
        QVERIFY(db->isOpen());
    }

    void twoClientsPlayAGameToTheEnd() {
        Songs s(3);
        QVERIFY(!s.songs.paths.isEmpty());
        const QString port = QString::number(freePort());
        const QString hostNaam = uniqueName(QStringLiteral("host"));
        const QString anna = uniqueName(QStringLiteral("anna"));
        const QString bob = uniqueName(QStringLiteral("bob"));
        for (const QString& n : {hostNaam, anna, bob})
            QVERIFY(addUser(*db, n));
        const QStringList common{QStringLiteral("--port"), port, QStringLiteral("--playlist"),
                                 s.songs.playlist};
        Player host(QStringLiteral("host"), hostNaam,
                    common + QStringList{"--tijd", "10", "--clients", "2", "--rounds", "3"});
        QVERIFY2(waitFor([&] { return host.has("LISTENING") || host.finished(); }, 20000),
                 qPrintable(dump(host)));
        QVERIFY2(host.has("LISTENING"), qPrintable(dump(host)));
        Player a(QStringLiteral("client"), anna, common + QStringList{"--answer", "right"});
        Player b(QStringLiteral("client"), bob, common + QStringList{"--answer", "first"});

        const auto done = [&] { return host.has("DONE") && a.has("DONE") && b.has("DONE"); };
        QVERIFY2(waitFor(done, 120000), qPrintable(dump(host) + u'\n' + dump(a) + u'\n' + dump(b)));
        const QMap<QString, int> scores = host.finals();
        QCOMPARE(scores.keys().size(), 3);
        QVERIFY(scores.contains(anna) && scores.contains(bob) && scores.contains(hostNaam));
        QCOMPARE(a.finals(), scores);
        QCOMPARE(b.finals(), scores);
        // The host and anna answered every question rightly with seconds to spare.
        QVERIFY2(scores.value(anna) >= 3 * 5, qPrintable(dump(host)));
        QVERIFY(scores.value(hostNaam) >= 3 * 5);
        QCOMPARE(a.with("PLAYING ").size(), 3);
        for (const Player* p : {&host, &a, &b})
            QCOMPARE(p->with("MSG "),
                     QStringList{QStringLiteral("MSG OK, logged into the system")});
    }

    void droppedClientIsCleanedUpAndTheGameGoesOn() {
        Songs s(3);
        QVERIFY(!s.songs.paths.isEmpty());
        const quint16 port = freePort();
        const QString hostNaam = uniqueName(QStringLiteral("host"));
        const QString anna = uniqueName(QStringLiteral("anna"));
        const QString bob = uniqueName(QStringLiteral("bob"));
        for (const QString& n : {hostNaam, anna, bob})
            QVERIFY(addUser(*db, n));
        const QStringList common{QStringLiteral("--port"), QString::number(port),
                                 QStringLiteral("--playlist"), s.songs.playlist};
        Player host(QStringLiteral("host"), hostNaam,
                    common + QStringList{"--tijd", "10", "--clients", "2", "--rounds", "4"});
        QVERIFY2(waitFor([&] { return host.has("LISTENING") || host.finished(); }, 20000),
                 qPrintable(dump(host)));
        Player a(QStringLiteral("client"), anna, common);
        Player b(QStringLiteral("client"), bob, common + QStringList{"--answer", "first"});
        QVERIFY2(waitFor([&] { return b.has("PLAYING 2 "); }, 60000),
                 qPrintable(dump(host) + u'\n' + dump(b)));
        QCOMPARE(curPlayers(*db, port), 3);
        b.kill();

        QVERIFY2(waitFor([&] { return host.has("DONE") && a.has("DONE"); }, 120000),
                 qPrintable(dump(host) + u'\n' + dump(a)));
        // From the next round on the host counts one client and hides bob's tile.
        const int bobSlot =
            host.with(QStringLiteral("SLOT ")).filter(bob).value(0).section(u' ', 1, 1).toInt();
        const int annaSlot =
            host.with(QStringLiteral("SLOT ")).filter(anna).value(0).section(u' ', 1, 1).toInt();
        QVERIFY(bobSlot >= 1 && annaSlot >= 1 && bobSlot != annaSlot);
        QString tiles = QStringLiteral("0000");
        tiles[annaSlot - 1] = u'1';
        QCOMPARE(host.with("STATE 4 "), QStringList{QStringLiteral("STATE 4 1 ") + tiles});
        QCOMPARE(curPlayers(*db, port), 2);
        const QMap<QString, int> scores = host.finals();
        QCOMPARE(a.finals(), scores);
        QVERIFY(!scores.contains(bob));
        QVERIFY(scores.contains(anna));
        QCOMPARE(a.with("PLAYING ").size(), 4);
    }

    void excerptReachesFourClients() {
        Songs s(75); // 64 kbit/s: more than 550000 bytes
        QVERIFY(!s.songs.paths.isEmpty());
        QVERIFY(QFileInfo(s.songs.paths.first()).size() > 550000);
        const QString port = QString::number(freePort());
        const QString hostNaam = uniqueName(QStringLiteral("host"));
        QVERIFY(addUser(*db, hostNaam));
        const QStringList common{QStringLiteral("--port"), port, QStringLiteral("--playlist"),
                                 s.songs.playlist};
        Player host(QStringLiteral("host"), hostNaam,
                    common + QStringList{"--tijd", "20", "--clients", "4", "--rounds", "3"});
        QVERIFY2(waitFor([&] { return host.has("LISTENING") || host.finished(); }, 20000),
                 qPrintable(dump(host)));
        std::vector<std::unique_ptr<Player>> clients;
        for (int n = 1; n <= 4; ++n) {
            const QString naam = uniqueName(QStringLiteral("c%1x").arg(n));
            QVERIFY(addUser(*db, naam));
            clients.push_back(std::make_unique<Player>(QStringLiteral("client"), naam, common));
        }
        const auto done = [&] {
            return host.has("DONE") && std::all_of(clients.begin(), clients.end(),
                                                   [](const auto& c) { return c->has("DONE"); });
        };
        QString all = dump(host);
        QVERIFY2(waitFor(done, 150000), qPrintable(all));

        // Per round: from the host's round start to the last client playing the excerpt.
        QStringList figures;
        for (int k = 1; k <= 3; ++k) {
            const QStringList start = host.with(QStringLiteral("ROUNDSTART %1 ").arg(k));
            QCOMPARE(start.size(), 1);
            const qint64 t0 = start.first().section(u' ', 2).toLongLong();
            qint64 last = 0;
            for (const auto& c : clients) {
                const QStringList playing = c->with(QStringLiteral("PLAYING %1 ").arg(k));
                QCOMPARE(playing.size(), 1);
                last = std::max(last, playing.first().section(u' ', 2).toLongLong());
            }
            QVERIFY(last >= t0);
            figures << QStringLiteral("round %1: %2 ms").arg(k).arg(last - t0);
        }
        qInfo().noquote() << "round start to all four clients playing a 550000-byte excerpt:"
                          << figures.join(QStringLiteral(", "));
        const QMap<QString, int> scores = host.finals();
        QCOMPARE(scores.size(), 5);
        for (const auto& c : clients)
            QCOMPARE(c->finals(), scores);
    }

    // Host on a "," PC, anna on a "." PC, bob on a "," PC, on a database of the
    // test's own so that the records it stores disturb no other suite. The database
    // restarts before the clients join and during the first question, and every
    // program's session is killed during the second: each program opens a new one
    // and the game does not notice.
    void triviaGameOnThreePcs() {
        PrivateServer server;
        QVERIFY2(server.start(), qPrintable(server.error()));
        // The players and the checks below use it; the other tests the shared server.
        const UsePrivateServer use(server);
        AdminDb own;
        QVERIFY2(own.isOpen(), qPrintable(own.lastError()));
        // Active for questions 1 and 2; the two-answer ones for question 3.
        triviaBank(own);
        if (QTest::currentTestFailed()) return;
        const QString hostNaam = uniqueName(QStringLiteral("host"));
        const QString anna = uniqueName(QStringLiteral("anna"));
        const QString bob = uniqueName(QStringLiteral("bob"));
        for (const QString& n : {hostNaam, anna, bob})
            QVERIFY(addUser(own, n));
        const quint16 port = freePort();
        const QStringList common{QStringLiteral("--port"), QString::number(port)};
        Player host(QStringLiteral("host"), hostNaam,
                    common + QStringList{"--spel", "trivia", "--tijd", "10", "--clients", "2",
                                         "--rounds", "3", "--locale", "de_DE", "--answers",
                                         "none,right:2000,none"});
        QVERIFY2(waitFor([&] { return host.has("LISTENING") || host.finished(); }, 20000),
                 qPrintable(dump(host)));
        // The players join after a restart: the host counts them on a new session.
        QVERIFY2(server.restart(), qPrintable(server.error()));
        Player a(QStringLiteral("client"), anna,
                 common + QStringList{"--spel", "trivia", "--locale", "en_US", "--answers",
                                      "right:1500,none,right:1500"});
        Player b(QStringLiteral("client"), bob,
                 common + QStringList{"--spel", "trivia", "--locale", "de_DE", "--answers",
                                      "wrong:2500,right:4500,right2:3000"});
        const auto done = [&] { return host.has("DONE") && a.has("DONE") && b.has("DONE"); };
        const auto fail = [&] {
            return (dump(host) + u'\n' + dump(a) + u'\n' + dump(b)).toLocal8Bit();
        };
        // Once anna has typed her answer to the first question.
        QVERIFY2(waitFor([&] { return a.has("SENT ") || a.finished(); }, 60000),
                 fail().constData());
        QElapsedTimer restart;
        restart.start();
        QVERIFY2(server.restart(), qPrintable(server.error()));
        const qint64 restartMs = restart.elapsed();
        AdminDb admin; // the first one went with the restarts
        QVERIFY2(admin.isOpen(), qPrintable(admin.lastError()));
        QCOMPARE(curPlayers(admin, port), 3);
        QVERIFY2(
            waitFor([&] { return host.with("QUESTION ").size() >= 2 || host.finished(); }, 60000),
            fail().constData());
        // Question 2 is on screen: question 3 will be drawn from the two-answer ones.
        QVERIFY(admin.exec(QStringLiteral("update vdrx_trivia set active = (aantal = 2)")));
        const QList<QVariantList> sessions = admin.rows(QStringLiteral(
            "select id from information_schema.processlist where user = 'vondrix_mpclien'"));
        int killed = 0; // the host's at least: it drew the question
        for (const QVariantList& session : sessions)
            killed += admin.exec(QStringLiteral("KILL %1").arg(session.value(0).toLongLong()));
        QVERIFY(killed >= 1);
        QVERIFY2(waitFor(done, 120000),
                 (QByteArray::number(restartMs) + " ms to restart\n" + fail()).constData());

        const QList<const Player*> pcs{&host, &a, &b};
        QStringList nrs;
        QMap<QString, int> points; // of the green lines: every player finds one answer
        QSet<int> foundInThree;    // the accepted answers of question 3 found for points
        for (int q = 1; q <= 3; ++q) {
            const QString nr = questionLines(host, q).value(0).section(u' ', 1).section(u'|', 0, 0);
            nrs << nr;
            const QList<QVariantList> row =
                admin.rows(QStringLiteral("select question, aantal, answ1, answ2 from "
                                          "vdrx_trivia where questionnr = ?"),
                           {nr});
            QCOMPARE(row.size(), 1);
            const int aantal = q < 3 ? 1 : 2;
            QCOMPARE(row[0][1].toInt(), aantal);
            const QString answers[3] = {QString(), row[0][2].toString().toLower(),
                                        row[0][3].toString().toLower()};
            const QString& answer = answers[1];
            const HintMasks masks = hintMasks(aantal, answer);
            const bool sameAgain = q == 2 && nrs[0] == nr; // the draw may repeat a question
            for (const Player* p : pcs) {
                const QStringList lines = questionLines(*p, q);
                const QStringList shown = lines.value(0).mid(9).split(u'|');
                QCOMPARE(shown.value(0), nr);
                QCOMPARE(shown.value(1), masks.masker1);
                QCOMPARE(shown.value(2), row[0][0].toString().toLower());
                if (!sameAgain) {
                    QCOMPARE(shown.value(3), QStringLiteral("oldtimer"));
                    QCOMPARE(shown.value(4),
                             p == &a ? QStringLiteral("50.5 sec.") : QStringLiteral("50,5 sec."));
                }
                // One answer: the second mask at 5 s. Two: "2 answers!" to the end.
                const QStringList maskLines =
                    lines.filter(QRegularExpression(QStringLiteral("^MASK ")));
                if (aantal == 1)
                    QCOMPARE(maskLines.value(0), QStringLiteral("MASK 5 ") + masks.masker2);
                else
                    QVERIFY2(maskLines.isEmpty(), fail().constData());
                QVERIFY2(
                    lines.contains(QStringLiteral("CHAT 16711680 ") + answersLine(answers, aantal)),
                    fail().constData());
            }
            // The answers typed in this question, with the clock value each PC sent.
            for (const Player* p : pcs) {
                for (const QString& sent : questionLines(*p, q).filter(QStringLiteral("SENT "))) {
                    const QString value = sent.mid(5).section(u'|', 0, 0);
                    const QString line = sent.section(u'|', 1).toLower();
                    const double klok =
                        *readDecimal(value, p == &a ? QStringLiteral(".") : QStringLiteral(","));
                    const int k = line == answers[1]                  ? 1
                                  : aantal == 2 && line == answers[2] ? 2
                                                                      : 0;
                    if (k == 0) {
                        // No answer: a chat line on every PC.
                        for (const Player* o : pcs)
                            QVERIFY2(questionLines(*o, q).contains(
                                         QStringLiteral("CHAT 0 <%1> %2").arg(p->naam(), line)),
                                     fail().constData());
                        continue;
                    }
                    const QString green = QStringLiteral("CHAT 49152 %1 found %2 (+")
                                              .arg(p->naam(), k == 1 ? QStringLiteral("the answer")
                                                                     : QStringLiteral("an answer"));
                    const QStringList found = questionLines(host, q).filter(green);
                    QVERIFY2(found.size() == 1, fail().constData());
                    const int got = found[0].mid(green.size()).chopped(1).toInt();
                    // A client scores the whole seconds it had; the host what its clock box showed.
                    QVERIFY2(got == int(klok) || (p == &host && got == int(klok) - 1),
                             fail().constData());
                    points[p->naam()] += got;
                    if (q == 3 && got > 0) foundInThree << k;
                    for (const Player* o : {&a, &b})
                        QVERIFY(questionLines(*o, q).contains(found[0]));
                }
            }
        }
        // The fastest finder of each question holds its record, in red on every PC
        // with the host's ",", in the table with ".".
        const QString q1Sent = questionLines(a, 1).filter(QStringLiteral("SENT ")).value(0);
        const double q1Time = roundHalfEven2(
            10 - *readDecimal(q1Sent.mid(5).section(u'|', 0, 0), QStringLiteral(".")));
        const QString red =
            QStringLiteral("CHAT 255 A new record! for question %1 by %2 in %3 seconds!")
                .arg(nrs[0], anna, writeDecimal(q1Time, QStringLiteral(",")));
        for (const Player* p : pcs)
            QVERIFY2(questionLines(*p, 1).contains(red), fail().constData());
        if (nrs[0] != nrs[1]) {
            const QList<QVariantList> stored = admin.rows(
                QStringLiteral("select fastest, fastesttime from vdrx_trivia where questionnr = ?"),
                {nrs[0]});
            QCOMPARE(stored.value(0).value(0).toString(), anna);
            QCOMPARE(stored.value(0).value(1).toString(),
                     writeDecimal(q1Time, QStringLiteral(".")));
            // Found after the restart, stored although every session was killed before.
            const QList<QVariantList> second = admin.rows(
                QStringLiteral("select fastest from vdrx_trivia where questionnr = ?"), {nrs[1]});
            QCOMPARE(second.value(0).value(0).toString(), hostNaam);
            for (const Player* p : pcs)
                QVERIFY2(!questionLines(*p, 2)
                              .filter(QStringLiteral("CHAT 255 "))
                              .filter(hostNaam)
                              .isEmpty(),
                         fail().constData());
        }
        // Both answers of question 3 were found, by two players: no record.
        QCOMPARE(foundInThree, (QSet<int>{1, 2}));
        for (const Player* p : pcs)
            QVERIFY2(questionLines(*p, 3).filter(QStringLiteral("CHAT 255 ")).isEmpty(),
                     fail().constData());
        // The results window shows the same scores on all three: the points of the green lines.
        QCOMPARE(host.finals(), points);
        QCOMPARE(a.finals(), host.finals());
        QCOMPARE(b.finals(), host.finals());
        for (const Player* p : pcs)
            QCOMPARE(p->with(QStringLiteral("QUESTIONS ")), QStringList{"QUESTIONS 3"});
        for (const Player* p : pcs)
            QCOMPARE(p->with("MSG "),
                     QStringList{QStringLiteral("MSG OK, logged into the system")});
    }

    // Two trivia games on one host program. In the first the host leaves during
    // question 1, after its three players found its answer; bob and dirk stay
    // online but do not come back, and cleo joins the second. The second game
    // owes nothing to the first: not its finds, players or question count.
    void twoTriviaGamesOnOneHost() {
        PrivateServer server;
        QVERIFY2(server.start(), qPrintable(server.error()));
        const UsePrivateServer use(server);
        AdminDb own;
        QVERIFY2(own.isOpen(), qPrintable(own.lastError()));
        triviaBank(own);
        if (QTest::currentTestFailed()) return;
        const QString hostNaam = uniqueName(QStringLiteral("host"));
        const QString anna = uniqueName(QStringLiteral("anna"));
        const QString bob = uniqueName(QStringLiteral("bob"));
        const QString dirk = uniqueName(QStringLiteral("dirk"));
        const QString cleo = uniqueName(QStringLiteral("cleo"));
        for (const QString& n : {hostNaam, anna, bob, dirk, cleo})
            QVERIFY(addUser(own, n));
        const QStringList common{QStringLiteral("--port"),   QString::number(freePort()),
                                 QStringLiteral("--spel"),   QStringLiteral("trivia"),
                                 QStringLiteral("--locale"), QStringLiteral("en_US")};
        Player host(QStringLiteral("host"), hostNaam,
                    common + QStringList{"--tijd", "10", "--games", "2", "--leave-in", "1",
                                         "--clients", "3,2", "--rounds", "2", "--answers",
                                         "none,none,right:4000"});
        QVERIFY2(waitFor([&] { return host.has("LISTENING") || host.finished(); }, 20000),
                 qPrintable(dump(host)));
        Player a(QStringLiteral("client"), anna,
                 common + QStringList{"--games", "2", "--answers", "right:300,right:3000,none"});
        Player b(QStringLiteral("client"), bob, common + QStringList{"--answers", "right:300"});
        Player d(QStringLiteral("client"), dirk, common + QStringList{"--answers", "right:300"});
        const auto fail = [&](const QList<const Player*>& pcs) {
            QString all;
            for (const Player* p : pcs)
                all += dump(*p) + u'\n';
            return all.toLocal8Bit();
        };
        QVERIFY2(waitFor([&] { return host.has("GAME 2") || host.finished(); }, 60000),
                 fail({&host, &a, &b, &d}).constData());
        Player c(QStringLiteral("client"), cleo,
                 common + QStringList{"--answers", "right:1500,right:2000"});
        QVERIFY2(
            waitFor([&] { return host.has("DONE") && a.has("DONE") && c.has("DONE"); }, 120000),
            fail({&host, &a, &b, &c, &d}).constData());
        const QByteArray all = fail({&host, &a, &b, &c, &d});
        // The second game's lines on each PC: cleo's first.
        const QList<QPair<const Player*, QStringList>> pcs{
            {&host, gameLines(host, 2)}, {&a, gameLines(a, 2)}, {&c, gameLines(c, 1)}};

        // Game 1 ended in its first question, whose answer anna had found.
        QVERIFY2(!questionLines(gameLines(host, 1), 1)
                      .filter(QStringLiteral("CHAT 49152 %1 found").arg(anna))
                      .isEmpty(),
                 all.constData());
        for (const Player* p : {&b, &d}) {
            QVERIFY(p->has("MSG Disconnected from server. Reason: Server stopped"));
            QVERIFY(!p->finished()); // online still, outside game 2
        }

        // Game 2: every right answer scores, on the points of its clock, and a new
        // record is a finder's of this game, with its time.
        QMap<QString, int> points;
        QMap<QString, QStringList> records; // question number: holder and time
        QStringList nrs;
        for (int q = 1; q <= 2; ++q) {
            const QStringList hostLines = questionLines(pcs[0].second, q);
            const QString nr = hostLines.value(0).section(u' ', 1).section(u'|', 0, 0);
            nrs << nr;
            const QString answer = own.value(QStringLiteral("select lower(answ1) from "
                                                            "vdrx_trivia where questionnr = ?"),
                                             {nr})
                                       .toString();
            QVERIFY(!answer.isEmpty());
            QMap<QString, QStringList> finders; // the red line each finder would get
            for (const auto& [p, game] : pcs) {
                const QStringList lines = questionLines(game, q);
                QVERIFY2(lines.value(0).startsWith(QStringLiteral("QUESTION ") + nr + u'|'),
                         all.constData());
                for (const QString& sent : lines.filter(QStringLiteral("SENT "))) {
                    QCOMPARE(sent.section(u'|', 1).toLower(), answer);
                    const double klok =
                        *readDecimal(sent.mid(5).section(u'|', 0, 0), QStringLiteral("."));
                    const QString green =
                        QStringLiteral("CHAT 49152 %1 found the answer (+").arg(p->naam());
                    const QStringList found = hostLines.filter(green);
                    QVERIFY2(found.size() == 1, all.constData());
                    const int got = found[0].mid(green.size()).chopped(1).toInt();
                    QVERIFY2(got == int(klok) || (p == &host && got == int(klok) - 1),
                             all.constData());
                    points[p->naam()] += got;
                    const QString tijd = writeDecimal(roundHalfEven2(10 - klok), ".");
                    finders.insert(QStringLiteral("CHAT 255 A new record! for question %1 by "
                                                  "%2 in %3 seconds!")
                                       .arg(nr, p->naam(), tijd),
                                   {p->naam(), tijd});
                }
            }
            for (const QString& red : hostLines.filter(QStringLiteral("CHAT 255 "))) {
                QVERIFY2(finders.contains(red), all.constData());
                records[nr] = finders.value(red);
            }
        }
        // Its finders took about 1.5 and 3 s: the first question has a new record.
        QVERIFY2(records.contains(nrs[0]), all.constData());
        // The only records stored are those of game 2.
        QMap<QString, QStringList> stored;
        for (const QVariantList& row : own.rows(QStringLiteral(
                 "select questionnr, fastest, fastesttime from vdrx_trivia where fastest <> "
                 "'oldtimer'")))
            stored[row[0].toString()] = {row[1].toString(), row[2].toString()};
        QCOMPARE(stored, records);

        // Only the players of game 2 on its tiles and in its results, with the
        // points of the green lines, and its two questions on every PC.
        QStringList players{hostNaam, anna, cleo};
        players.sort();
        for (const auto& [p, lines] : pcs) {
            QCOMPARE(namesOf(lines, QStringLiteral("TILES")), players);
            QCOMPARE(namesOf(lines, QStringLiteral("FINAL")), players);
            QCOMPARE(lines.filter(QStringLiteral("QUESTIONS ")),
                     QStringList{QStringLiteral("QUESTIONS 2")});
        }
        QCOMPARE(host.finals(), points);
        QCOMPARE(a.finals(), host.finals());
        QCOMPARE(c.finals(), host.finals());
    }

    void hostilePeersLeaveTheGameToTheOthers() {
        Songs s(3);
        QVERIFY(!s.songs.paths.isEmpty());
        const quint16 port = freePort();
        const QString hostNaam = uniqueName(QStringLiteral("host"));
        const QString anna = uniqueName(QStringLiteral("anna"));
        for (const QString& n : {hostNaam, anna})
            QVERIFY(addUser(*db, n));
        const QStringList common{QStringLiteral("--port"), QString::number(port),
                                 QStringLiteral("--playlist"), s.songs.playlist};
        Player host(QStringLiteral("host"), hostNaam,
                    common + QStringList{"--tijd", "10", "--clients", "2", "--rounds", "3"});
        QVERIFY2(waitFor([&] { return host.has("LISTENING") || host.finished(); }, 20000),
                 qPrintable(dump(host)));
        const qint64 before = peakMemoryKb(host.pid());

        // Garbage, then a 5 MB message without an end, then a reset in a message.
        auto garbage = rawPeer(port);
        QByteArray junk(64 * 1024, '\0');
        for (qsizetype i = 0; i < junk.size(); ++i)
            junk[i] = char((i * 7919) >> 3);
        sendAll(*garbage, junk + "vxclzzzz|x|vxclzzzzeinde");
        garbage->disconnectFromHost();
        auto big = rawPeer(port);
        QElapsedTimer clock;
        clock.start();
        sendAll(*big, "vxclchat|" + QByteArray(5 * 1024 * 1024, 'x'));
        const qint64 bigMs = clock.elapsed();
        big->disconnectFromHost();
        auto half = rawPeer(port);
        sendAll(*half, "vxclchat|<half> a li");
        QTest::qWait(100);
        resetPeer(*half);
        QTest::qWait(1500);
        const qint64 after = peakMemoryKb(host.pid());
        qInfo().noquote() << QStringLiteral("host peak memory: %1 kB before, %2 kB after a 5 MB "
                                            "message without an end (sent in %3 ms)")
                                 .arg(before)
                                 .arg(after)
                                 .arg(bigMs);
        QVERIFY2(after - before < 64 * 1024, qPrintable(QString::number(after - before)));
        QVERIFY(!host.finished());

        // A client that connects and sends nothing, one that registers and stops
        // reading, and a real player.
        auto silent = rawPeer(port);
        auto mute = rawPeer(port);
        sendAll(*mute, "vxcluser|mute|3|vxclusereinde");
        Player a(QStringLiteral("client"), anna, common + QStringList{"--answer", "right"});
        // The host ends with its game: its peak memory is read while it runs.
        qint64 peak = after;
        const auto done = [&] {
            if (!host.finished()) peak = qMax(peak, peakMemoryKb(host.pid()));
            return host.has("DONE") && a.has("DONE");
        };
        QVERIFY2(waitFor(done, 150000), qPrintable(dump(host) + u'\n' + dump(a)));
        // The gone connections were freed before the next ones came: the three that
        // stay are the only ones counted.
        QCOMPARE(host.with("STATE 1 "), QStringList{QStringLiteral("STATE 1 3 0000")});
        // The two that read nothing stay in the game; the kernel buffers take their excerpts.
        QCOMPARE(host.with("STATE 3 ").value(0).section(u' ', 2, 2), QStringLiteral("3"));
        const QMap<QString, int> scores = host.finals();
        QCOMPARE(a.finals(), scores);
        QVERIFY2(scores.value(anna) >= 3 * 5, qPrintable(dump(host)));
        QCOMPARE(a.with("PLAYING ").size(), 3);
        QCOMPARE(a.with("MSG "), QStringList{QStringLiteral("MSG OK, logged into the system")});
        QVERIFY2(peak - before < 64 * 1024, qPrintable(QString::number(peak - before)));
    }

    void readOnlyProgramFolderOfAClient() {
        Songs s(3);
        QVERIFY(!s.songs.paths.isEmpty());
        const QString port = QString::number(freePort());
        const QString hostNaam = uniqueName(QStringLiteral("host"));
        const QString ro = uniqueName(QStringLiteral("ro"));
        for (const QString& n : {hostNaam, ro})
            QVERIFY(addUser(*db, n));
        const QStringList common{QStringLiteral("--port"), port, QStringLiteral("--playlist"),
                                 s.songs.playlist};
        Player host(QStringLiteral("host"), hostNaam,
                    common + QStringList{"--tijd", "10", "--clients", "1", "--rounds", "2"});
        QVERIFY2(waitFor([&] { return host.has("LISTENING") || host.finished(); }, 20000),
                 qPrintable(dump(host)));
        // The client cannot write its excerpts or settings: the rounds go on without
        // sound, and the game ends for both.
        Player c(QStringLiteral("client"), ro, common, true);
        QVERIFY2(waitFor([&] { return host.has("DONE") && c.has("DONE"); }, 120000),
                 qPrintable(dump(host) + u'\n' + dump(c)));
        QCOMPARE(c.finals(), host.finals());
        QCOMPARE(c.with("PLAYING ").size(), 2);
        // Told once that the settings cannot be saved.
        QCOMPARE(c.with("MSG The settings could not be saved").size(), 1);
    }

    void hostClosingInAnExcerptLeavesTheClientRunning() {
        const QString kim = uniqueName(QStringLiteral("kim"));
        QVERIFY(addUser(*db, kim));
        QTcpServer fake;
        QVERIFY(fake.listen(QHostAddress::LocalHost, 0));
        QTemporaryDir dir;
        const QString list = dir.filePath(QStringLiteral("list.m3u"));
        QFile m3u(list);
        QVERIFY(m3u.open(QIODevice::WriteOnly));
        m3u.write("#EXTM3U\r\na.mp3\r\nb.mp3\r\nc.mp3\r\n");
        m3u.close();
        Player c(QStringLiteral("client"), kim,
                 {QStringLiteral("--port"), QString::number(fake.serverPort()),
                  QStringLiteral("--playlist"), list});
        QVERIFY2(waitFor([&] { return fake.hasPendingConnections() || c.finished(); }, 30000),
                 qPrintable(dump(c)));
        QTcpSocket* host = fake.nextPendingConnection();
        QVERIFY(host);
        QByteArray got;
        QObject::connect(host, &QTcpSocket::readyRead, [&] { got += host->readAll(); });
        host->write("vxsestar|10|21|vxsestareinde");
        QVERIFY(waitFor([&] { return got.contains("vxclusereinde"); }, 10000));
        host->write("vxsekeuz|a|b|c|d|1|1|vxsekeuzeinde");
        host->write("vxseopen|vxseopeneinde" + QByteArray(150000, 's'));
        host->waitForBytesWritten(5000);
        QTest::qWait(300);
        host->abort();
        QVERIFY2(waitFor([&] { return c.has("MSG No connection"); }, 10000), qPrintable(dump(c)));
        QTest::qWait(500);
        QVERIFY(!c.finished());
        QVERIFY(peakMemoryKb(c.pid()) < 512 * 1024);
    }

private:
    std::unique_ptr<AdminDb> db;
};

QTEST_MAIN(TestEndToEnd)
#include "tst_e2e.moc"
