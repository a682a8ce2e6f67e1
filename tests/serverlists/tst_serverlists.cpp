// Server lists with round-trip times, the pings themselves, and the high-score tab,
// on the test database. Silent and unreachable hosts live in network namespaces the
// test makes; nothing is sent anywhere else.
#include "common/gamestate.h"
#include "lobby/centraldb.h"
#include "lobby/frmmulti.h"
#include "lobby/pingmodule.h"
#include "lobby/resultgrid.h"
#include "platform/icmpecho.h"
#include "tests/support/admindb.h"
#include "tests/support/dialogrecorder.h"
#include "tests/support/tempfolder.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QUuid>
#include <QtTest>
#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

namespace {

using namespace resultgrid;

bool run(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral("ip"), args);
    return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// Two namespaces: "near", where the test thread pings from (loopback, 10.200.0.1 on
// a veth pair, 10.201.0.0/16 unreachable), and "far" with 10.200.0.2 .. .11 on the
// other end, dropping every echo request.
class TestNetwork {
public:
    TestNetwork() {
        const QString tag = QString::number(QCoreApplication::applicationPid());
        near_ = QStringLiteral("vdx-near-") + tag;
        far_ = QStringLiteral("vdx-far-") + tag;
        ok_ = run({"netns", "add", near_}) && run({"netns", "add", far_}) &&
              run({"-n", near_, "link", "set", "lo", "up"}) &&
              run({"-n", near_, "link", "add", "vnear", "type", "veth", "peer", "name", "vfar",
                   "netns", far_}) &&
              run({"-n", near_, "addr", "add", "10.200.0.1/24", "dev", "vnear"}) &&
              run({"-n", near_, "link", "set", "vnear", "up"}) &&
              run({"-n", near_, "route", "add", "unreachable", "10.201.0.0/16"}) &&
              run({"-n", far_, "link", "set", "vfar", "up"}) &&
              run({"netns", "exec", far_, "sysctl", "-qw", "net.ipv4.icmp_echo_ignore_all=1"});
        for (int i = 0; ok_ && i < 10; ++i)
            ok_ = run({"-n", far_, "addr", "add", silent(i) + "/24", "dev", "vfar"});
    }
    ~TestNetwork() {
        leave();
        run({"netns", "del", near_});
        run({"netns", "del", far_});
    }
    bool ok() const { return ok_; }
    static QString silent(int i) { return QStringLiteral("10.200.0.%1").arg(i + 2); }
    // The datagram socket where true, else (being root) the raw socket.
    bool allowDatagram(bool allow) {
        return run(
            {"netns", "exec", near_, "sysctl", "-qw",
             allow ? "net.ipv4.ping_group_range=0 2147483647" : "net.ipv4.ping_group_range=1 0"});
    }
    // Moves the calling thread into "near" (sockets opened there stay there).
    bool enter() {
        home_ = ::open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC);
        const int fd = ::open(("/run/netns/" + near_).toLocal8Bit().constData(), O_RDONLY);
        const bool entered = home_ >= 0 && fd >= 0 && ::setns(fd, CLONE_NEWNET) == 0;
        if (fd >= 0) ::close(fd);
        return entered;
    }
    void leave() {
        if (home_ < 0) return;
        ::setns(home_, CLONE_NEWNET);
        ::close(home_);
        home_ = -1;
    }

private:
    QString near_, far_;
    bool ok_ = false;
    int home_ = -1;
};

#define REQUIRE_NETWORK(net)                                                                       \
    if (!(net).ok() || !(net).enter())                                                             \
        QSKIP("network namespaces cannot be made here (needs root or CAP_NET_ADMIN and "           \
              "CAP_SYS_ADMIN for ip netns)");

QString marker() {
    return QStringLiteral("tsl") + QUuid::createUuid().toString(QUuid::Id128).left(12);
}

// A server row; description and quizlength may be NULL.
void addServer(AdminDb& db, const QString& user, const QString& ip, const QString& type,
               const QString& active = QStringLiteral("1"),
               const QVariant& description = QStringLiteral("a game"),
               const QVariant& quizlength = QStringLiteral("100")) {
    QVERIFY2(db.exec(QStringLiteral("insert into vdrx_servers (IPaddress, IPport, IPping, user, "
                                    "description, curPlayers, maxPlayers, version, active, "
                                    "country, gtype, password, quizlength) values "
                                    "(?, '6060', '12', ?, ?, '1', '4', '4', ?, 'Belgium', ?, "
                                    "'no', ?)"),
                     {ip, user, description, active, type, quizlength}),
             qPrintable(db.lastError()));
}

int rowOf(const QTableWidget* grid, int column, const QString& text) {
    for (int r = 1; r < rows(grid); ++r)
        if (resultgrid::text(grid, r, column) == text) return r;
    return -1;
}

// The list statement for the rows of one test.
QString listOf(const QString& user) {
    return QStringLiteral("select ipaddress, ipport, ipping, user, description, quizlength, "
                          "curplayers as current, maxplayers as max, country,version,password "
                          "from vdrx_servers where user = '") +
           user + QStringLiteral("' order by serverID;");
}

// A window with every tab enabled on a connection to the test database.
struct Lobby {
    Lobby() {
        resetState();
        for (int i = 0; i < w.SSTab1->count(); ++i)
            w.SSTab1->setTabEnabled(i, true);
    }
    ~Lobby() { frmmulti::unload(); }
    TempProgramFolder folder;
    DialogRecorder dialogs;
    frmmulti& w = frmmulti::instance();
};

// With VDX_SHOT_DIR set (under a real display), saves a picture of the tab there.
void shot(frmmulti& w, int tab, const QString& file) {
    if (qEnvironmentVariableIsEmpty("VDX_SHOT_DIR")) return;
    const QSignalBlocker quiet(w.SSTab1);
    w.SSTab1->setCurrentIndex(tab);
    w.resize(1000, 600);
    w.show();
    QTest::qWait(500);
    w.grab().save(qEnvironmentVariable("VDX_SHOT_DIR") + u'/' + file);
}

} // namespace

class TestServerLists : public QObject {
    Q_OBJECT

private slots:
    void pingsLoopbackSilentAndUnreachableHosts() {
        QCOMPARE(pingtijd(QStringLiteral("vondrix.example")), QStringLiteral("err"));
        QCOMPARE(pingtijd(QStringLiteral("0.0.0.0")), QStringLiteral("err"));
        if (!icmpAvailable()) QSKIP("no ICMP socket for this user (ping_group_range, no root)");
        QVERIFY(pingtijd(QStringLiteral("127.0.0.1")).toInt() < 100);
        TestNetwork net;
        REQUIRE_NETWORK(net);
        for (bool datagram : {false, true}) {
            QVERIFY(net.allowDatagram(datagram));
            QElapsedTimer clock;
            clock.start();
            const QStringList times = pingtijden({TestNetwork::silent(0), "127.0.0.1", "10.201.0.9",
                                                  TestNetwork::silent(1), "127.0.0.3"});
            const qint64 ms = clock.elapsed();
            QCOMPARE(times.value(0), QStringLiteral("999"));
            QCOMPARE(times.value(2), QStringLiteral("err"));
            QCOMPARE(times.value(3), QStringLiteral("999"));
            QVERIFY2(times.value(1).toInt() < 100 && times.value(4).toInt() < 100,
                     qPrintable(times.join(u' ')));
            QVERIFY2(ms >= 950 && ms < 2500, qPrintable(QString::number(ms)));
        }
    }

    void listsChooseFillAndReport() {
        VDX_REQUIRE_CENTRAL_DB();
        AdminDb db;
        const QString user = marker();
        const QString longText =
            QStringLiteral("a very long server description, wider than the header");
        addServer(db, user, QStringLiteral("127.0.0.1"), QStringLiteral("music"),
                  QStringLiteral("1"), longText, QVariant());
        addServer(db, user, QStringLiteral("127.0.0.2"), QStringLiteral("trivia"));
        addServer(db, user, QStringLiteral("127.0.0.3"), QStringLiteral("music"),
                  QStringLiteral("0"));
        Lobby lobby;
        frmmulti& w = lobby.w;
        QCOMPARE(openCentral(), 0);
        w.SSTab1->setCurrentIndex(kTabJoin);

        // Music list: the stored ping never shows, NULL does, long text widens its column.
        int r = rowOf(w.fgData, 4, user);
        QVERIFY(r > 0);
        QCOMPARE(text(w.fgData, r, 1), QStringLiteral("127.0.0.1"));
        QCOMPARE(text(w.fgData, r, 3), QStringLiteral("?"));
        QCOMPARE(text(w.fgData, r, 6), QStringLiteral("<-NULL->"));
        QCOMPARE(text(w.fgData, 0, 7), QStringLiteral("current"));
        QVERIFY(columnWidth(w.fgData, 5) >= textWidth(w.fgData, 1, longText) + 125);
        QCOMPARE(rowOf(w.fgData, 1, QStringLiteral("127.0.0.2")), -1);
        QCOMPARE(rowOf(w.fgData, 1, QStringLiteral("127.0.0.3")), -1);
        QVERIFY(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d: List updated in \\d[.,]\\d{3} "
                                                  "seconds$"))
                    .match(w.lblstatusjoin->text())
                    .hasMatch());

        // The boxes are a pair of alternatives; unticking changes nothing.
        w.chkprivate->click();
        QVERIFY(!w.chkPublic->isChecked());
        QVERIFY(rowOf(w.fgData, 1, QStringLiteral("127.0.0.2")) > 0);
        QCOMPARE(rowOf(w.fgData, 1, QStringLiteral("127.0.0.1")), -1);
        w.chkprivate->click();
        QVERIFY(rowOf(w.fgData, 1, QStringLiteral("127.0.0.2")) > 0);
        w.chkPublic->click();
        QVERIFY(!w.chkprivate->isChecked());

        // Ping times on; a click on the row takes address, port and password flag.
        w.chkpingtime->click();
        r = rowOf(w.fgData, 4, user);
        QVERIFY(QRegularExpression(QStringLiteral("^(\\d+|err) ms$"))
                    .match(text(w.fgData, r, 3))
                    .hasMatch());
        w.fgData->setCurrentCell(r - 1, 1);
        w.fgData_Click();
        QCOMPARE(w.txthostnaam->text(), QStringLiteral("127.0.0.1"));
        QCOMPARE(w.txthostport->text(), QStringLiteral("6060"));
        QCOMPARE(w.txtmetpaswoord->text(), QStringLiteral("no"));

        // Nothing found, and a failing statement: both told in the visible status.
        w.txtSQL->setText(listOf(marker()));
        w.serverlijstvullen();
        QCOMPARE(w.lblstatusjoin->text(), QStringLiteral("No Vondrix servers found"));
        QCOMPARE(rows(w.fgData), 0);
        w.txtSQL->setText(QStringLiteral("select * from vdrx_nosuchtable"));
        w.serverlijstvullen();
        QCOMPARE(w.lblstatusjoin->text(), QStringLiteral("An error occured during the update."));
        QCOMPARE(w.lblstatus->text(), w.lblstatusjoin->text());
        db.exec(QStringLiteral("delete from vdrx_servers where user = ?"), {user});
    }

    void hundredRowsAndAFillInsideAFill() {
        VDX_REQUIRE_CENTRAL_DB();
        AdminDb db;
        const QString many = marker();
        const QString few = marker();
        for (int i = 0; i < 100; ++i)
            addServer(db, many, QStringLiteral("127.0.0.1"), QStringLiteral("music"), "0");
        for (int i = 0; i < 3; ++i)
            addServer(db, few, QStringLiteral("127.0.0.4"), QStringLiteral("music"), "0");
        Lobby lobby;
        frmmulti& w = lobby.w;
        QCOMPARE(openCentral(), 0);

        // Events run before the statement and before rows 1 and 51; status every 9 rows.
        QList<int> filledAtEvents;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            int filled = 0;
            while (filled < w.fgData->rowCount() && w.fgData->item(filled, 1))
                ++filled;
            filledAtEvents << filled;
        });
        watch.start(0);
        QList<int> statusRows;
        GridFillOptions options;
        options.progress = [&](int row, int count) {
            QCOMPARE(count, 100);
            statusRows << row;
        };
        fillGrid(w.fgData, QStringLiteral("SET @t1=7;\n") + listOf(many), options);
        watch.stop();
        QCOMPARE(QSet<int>(filledAtEvents.begin(), filledAtEvents.end()), QSet<int>({0, 50}));
        QCOMPARE(statusRows, QList<int>({9, 18, 27, 36, 45, 54, 63, 72, 81, 90, 99}));
        QCOMPARE(rows(w.fgData), 101);

        // A refresh asked for while a fill lets events run waits for it to end.
        QTimer::singleShot(0, &w, [&] {
            w.serverlijstsql = listOf(few);
            w.cmdVernieuwen_Click();
        });
        w.txtSQL->setText(listOf(many));
        w.serverlijstvullen();
        QCOMPARE(rows(w.fgData), 4);
        for (int r = 1; r <= 3; ++r)
            QCOMPARE(text(w.fgData, r, 4), few);
        db.exec(QStringLiteral("delete from vdrx_servers where user in (?, ?)"), {many, few});
    }

    void twentyRowsTenSilentFillWithinASecondAndAHalf() {
        VDX_REQUIRE_CENTRAL_DB();
        if (!icmpAvailable()) QSKIP("no ICMP socket for this user (ping_group_range, no root)");
        AdminDb db;
        const QString user = marker();
        for (int i = 0; i < 10; ++i) {
            addServer(db, user, QStringLiteral("127.0.0.%1").arg(i + 1), "music", "0",
                      QStringLiteral("answering host %1").arg(i + 1));
            addServer(db, user, TestNetwork::silent(i), "music", "0",
                      QStringLiteral("silent host %1").arg(i + 1));
        }
        Lobby lobby;
        frmmulti& w = lobby.w;
        QCOMPARE(openCentral(), 0);
        w.chkpingtime->setChecked(true);
        TestNetwork net;
        REQUIRE_NETWORK(net);
        w.txtSQL->setText(listOf(user));
        QElapsedTimer clock;
        clock.start();
        w.serverlijstvullen();
        const qint64 ms = clock.elapsed();
        net.leave();
        qInfo("20 rows, 10 silent, ping times on: filled in %lld ms", ms);
        QCOMPARE(rows(w.fgData), 21);
        for (int r = 1; r <= 20; ++r) {
            const QString shown = text(w.fgData, r, 3);
            if (r % 2)
                QVERIFY2(shown.chopped(3).toInt() < 100 && shown.endsWith(" ms"),
                         qPrintable(shown));
            else
                QCOMPARE(shown, QStringLiteral("999 ms"));
        }
        QVERIFY2(ms < 1500, qPrintable(QString::number(ms)));
        shot(w, kTabJoin, "issue-10-join.png");
        db.exec(QStringLiteral("delete from vdrx_servers where user = ?"), {user});
    }

    void highScoresCountAndRankTopDown() {
        VDX_REQUIRE_CENTRAL_DB();
        // A database of its own, so other suites' questions do not count.
        const QString name = QStringLiteral("vdx_stats_") + marker();
        AdminDb admin(QString{});
        for (const QString& sql :
             {"CREATE DATABASE " + name,
              "CREATE TABLE " + name + ".vdrx_trivia LIKE vondrix_mijnPHP.vdrx_trivia",
              "CREATE TABLE " + name + ".phpbb_users LIKE vondrix_mijnPHP.phpbb_users",
              "GRANT SELECT ON " + name +
                  ".* TO 'vondrix_mpclien'@'127.0.0.1', "
                  "'vondrix_mpclien'@'localhost'"})
            QVERIFY2(admin.exec(sql), qPrintable(admin.lastError()));
        AdminDb db(name);
        Lobby lobby;
        frmmulti& w = lobby.w;
        QCOMPARE(gMyConn().OpenConnection(centralHost(), "vondrix_mpclien", "GRINTALvoskemb", name,
                                          centralPort(), 0),
                 0);
        w.cmdrefreshlist2_Click(); // an empty bank
        QCOMPARE(w.lblscoreaantalindatabase->text(), QStringLiteral("0"));
        QCOMPARE(w.lblscoreaantalzonderrecord->text(), QStringLiteral("0"));

        int id = 0;
        for (const char* user : {"anna", "bert", "cas"})
            QVERIFY(db.exec("insert into phpbb_users (user_id, username, user_from) values "
                            "(?, ?, 'Belgium')",
                            {++id, user}));
        // Records: bert 10, anna 6, cas 3, and one of a name not in the user table.
        // Posts: bert 7, anna 4, cas 2, the rest stock questions.
        auto holder = [](int n) {
            return n <= 6    ? "anna"
                   : n <= 16 ? "bert"
                   : n <= 19 ? "cas"
                   : n == 20 ? "ghost"
                             : "nobody";
        };
        auto poster = [](int n) {
            return n <= 4 ? "anna" : n <= 11 ? "bert" : n <= 13 ? "cas" : "vondrix";
        };
        for (int n = 1; n <= 120; ++n)
            QVERIFY(
                db.exec("insert into vdrx_trivia (questionnr, question, aantal, poster, fastest) "
                        "values (?, 'q', 1, ?, ?)",
                        {n, poster(n), holder(n)}));
        w.SSTab1->setCurrentIndex(kTabHighscore);
        QCOMPARE(w.lblscoreaantalindatabase->text(), QStringLiteral("120"));
        QCOMPARE(w.lblscoreaantalzonderrecord->text(), QStringLiteral("20"));
        QCOMPARE(w.lblscoreaantalmetrecord->text(), QStringLiteral("100"));
        const QStringList players = {"1 bert 10 Belgium", "2 anna 6 Belgium", "3 cas 3 Belgium"};
        const QStringList posters = {"1 bert 7", "2 anna 4", "3 cas 2"};
        for (auto [grid, expected] :
             {std::pair{w.fgdata2, players}, std::pair{w.fgdata3, posters}}) {
            QCOMPARE(rows(grid), 4);
            for (int r = 1; r <= 3; ++r) {
                QStringList cells;
                for (int c = 1; c < columns(grid); ++c)
                    cells << text(grid, r, c);
                QCOMPARE(cells.join(u' '), expected[r - 1]);
            }
        }
        QVERIFY(qAbs(columnWidth(w.fgdata2, 2) - 1850) < 15);
        QVERIFY(qAbs(columnWidth(w.fgdata3, 2) - 2650) < 15);
        shot(w, kTabHighscore, "issue-10-highscore.png");
        QVERIFY(admin.exec("REVOKE SELECT ON " + name +
                           ".* FROM 'vondrix_mpclien'@'127.0.0.1', 'vondrix_mpclien'@'localhost'"));
        QVERIFY(admin.exec("DROP DATABASE " + name));
    }
};

QTEST_MAIN(TestServerLists)
#include "tst_serverlists.moc"
