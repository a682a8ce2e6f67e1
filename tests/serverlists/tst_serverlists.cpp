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

bool sh(const QString& script) {
    return QProcess::execute(QStringLiteral("sh"), {"-ec", script}) == 0;
}

// Two namespaces: "near", where the test thread pings from (loopback, 10.200.0.1 on
// a veth pair, 10.201.0.0/16 unreachable), and "far" with 10.200.0.2 .. .11 on the
// other end, dropping every echo request.
class TestNetwork {
public:
    TestNetwork() : near_("vdx-near-" + QString::number(QCoreApplication::applicationPid())) {
        ok_ = sh(QStringLiteral("N=%1; F=%1-far; ip netns add $N; ip netns add $F\n"
                                "ip -n $N link set lo up\n"
                                "ip -n $N link add vnear type veth peer name vfar netns $F\n"
                                "ip -n $N addr add 10.200.0.1/24 dev vnear\n"
                                "ip -n $N link set vnear up\n"
                                "ip -n $N route add unreachable 10.201.0.0/16\n"
                                "ip -n $F link set vfar up\n"
                                "for i in $(seq 2 11); do ip -n $F addr add 10.200.0.$i/24 dev "
                                "vfar; done\n"
                                "ip netns exec $F sysctl -qw net.ipv4.icmp_echo_ignore_all=1")
                     .arg(near_));
    }
    ~TestNetwork() {
        leave();
        sh(QStringLiteral("ip netns del %1 || true; ip netns del %1-far || true").arg(near_));
    }
    static QString silent(int i) { return QStringLiteral("10.200.0.%1").arg(i + 2); }
    // The datagram socket where true, else (being root) the raw socket.
    bool allowDatagram(bool allow) {
        return sh("ip netns exec " + near_ + " sysctl -qw net.ipv4.ping_group_range='" +
                  (allow ? "0 2147483647'" : "1 0'"));
    }
    // Moves the calling thread into "near" (sockets opened there stay there).
    bool enter() {
        home_ = ::open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC);
        const int fd = ::open(("/run/netns/" + near_).toLocal8Bit().constData(), O_RDONLY);
        const bool entered = ok_ && home_ >= 0 && fd >= 0 && ::setns(fd, CLONE_NEWNET) == 0;
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
    QString near_;
    bool ok_ = false;
    int home_ = -1;
};

// The pings' echo time-out: a silent host shows "999" once it has passed. Room for
// a loaded machine beyond it stays short of a second time-out.
constexpr int kEchoTimeoutMs = 1000;
constexpr int kRoomMs = 900;

// An answered echo: its round-trip time, below the "999" of no answer.
bool answered(const QString& time) {
    bool number = false;
    const int ms = time.toInt(&number);
    return number && ms >= 0 && ms < 999;
}

QString marker() {
    return QStringLiteral("tsl") + QUuid::createUuid().toString(QUuid::Id128).left(12);
}

// count server rows; description and quizlength may be NULL.
void addServers(AdminDb& db, int count, const QString& user, const QString& ip, const char* type,
                const char* active, const QVariant& description = QStringLiteral("a game"),
                const QVariant& quizlength = QStringLiteral("100")) {
    QVERIFY2(db.exec(QStringLiteral("insert into vdrx_servers (IPaddress, IPport, IPping, user, "
                                    "description, curPlayers, maxPlayers, version, active, "
                                    "country, gtype, password, quizlength) select ?, '6060', "
                                    "'12', ?, ?, '1', '4', '4', ?, 'Belgium', ?, 'no', ? from "
                                    "seq_1_to_%1")
                         .arg(count),
                     {ip, user, description, active, type, quizlength}),
             qPrintable(db.lastError()));
}

int rowOf(const QTableWidget* grid, int column, const QString& text) {
    for (int r = 1; r < rows(grid); ++r)
        if (resultgrid::text(grid, r, column) == text) return r;
    return -1;
}

// The rows below the header, each row's cells joined by blanks.
QStringList cells(const QTableWidget* grid) {
    QStringList all;
    for (int r = 1; r < rows(grid); ++r) {
        QStringList row;
        for (int c = 1; c < columns(grid); ++c)
            row << text(grid, r, c);
        all << row.join(u' ');
    }
    return all;
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
    void listsChooseFillAndReport() {
        VDX_REQUIRE_CENTRAL_DB();
        AdminDb db;
        const QString user = marker(), many = marker(), few = marker();
        const QString longText = QStringLiteral("a long server description, wider than its header");
        addServers(db, 1, user, QStringLiteral("127.0.0.1"), "music", "1", longText, QVariant());
        addServers(db, 1, user, QStringLiteral("127.0.0.2"), "trivia", "1");
        addServers(db, 1, user, QStringLiteral("127.0.0.3"), "music", "0");
        addServers(db, 100, many, QStringLiteral("127.0.0.1"), "music", "0");
        addServers(db, 3, few, QStringLiteral("127.0.0.4"), "music", "0");
        Lobby lobby;
        frmmulti& w = lobby.w;
        QCOMPARE(openCentral(), 0);
        w.SSTab1->setCurrentIndex(kTabJoin);

        // Music list: the stored ping never shows, NULL does, long text widens its column.
        auto listed = [&](const char* ip) { return rowOf(w.fgData, 1, ip) > 0; };
        int r = rowOf(w.fgData, 4, user);
        QVERIFY(r > 0 && listed("127.0.0.1") && !listed("127.0.0.2") && !listed("127.0.0.3"));
        QCOMPARE(text(w.fgData, r, 3) + text(w.fgData, r, 6), QStringLiteral("?<-NULL->"));
        QVERIFY(columnWidth(w.fgData, 5) >= textWidth(w.fgData, 1, longText) + 125);
        QVERIFY2(QRegularExpression("^\\d\\d:\\d\\d: List updated in \\d[.,]\\d{3} seconds$")
                     .match(w.lblstatusjoin->text())
                     .hasMatch(),
                 qPrintable(w.lblstatusjoin->text()));

        // The boxes are a pair of alternatives; unticking changes nothing.
        w.chkprivate->click();
        QVERIFY(!w.chkPublic->isChecked() && listed("127.0.0.2") && !listed("127.0.0.1"));
        w.chkprivate->click();
        QVERIFY(listed("127.0.0.2"));
        w.chkPublic->click();
        QVERIFY(!w.chkprivate->isChecked() && listed("127.0.0.1"));

        // Ping times on; a click on the row takes address, port and password flag.
        w.chkpingtime->click();
        r = rowOf(w.fgData, 4, user);
        QVERIFY(QRegularExpression("^(\\d+|err) ms$").match(text(w.fgData, r, 3)).hasMatch());
        w.fgData->setCurrentCell(r - 1, 1);
        w.fgData_Click();
        QCOMPARE(w.txthostnaam->text() + w.txthostport->text() + w.txtmetpaswoord->text(),
                 QStringLiteral("127.0.0.16060no"));

        // Nothing found, and a failing statement: both told in the visible status.
        w.txtSQL->setText(listOf(marker()));
        w.serverlijstvullen();
        QCOMPARE(w.lblstatusjoin->text(), QStringLiteral("No Vondrix servers found"));
        QCOMPARE(rows(w.fgData), 0);
        w.txtSQL->setText(QStringLiteral("select * from vdrx_nosuchtable"));
        w.serverlijstvullen();
        QCOMPARE(w.lblstatusjoin->text(), QStringLiteral("An error occured during the update."));
        QCOMPARE(w.lblstatus->text(), w.lblstatusjoin->text());

        // 100 rows: events run before the statements and rows 1 and 51; status every 9 rows.
        QList<int> filledAtEvents, statusRows;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            int filled = 0;
            while (filled < w.fgData->rowCount() && w.fgData->item(filled, 1))
                ++filled;
            filledAtEvents << filled;
        });
        watch.start(0);
        GridFillOptions options;
        options.progress = [&](int row, int count) { statusRows << row * 1000 + count; };
        fillGrid(w.fgData, QStringLiteral("SET @t1=7;\n") + listOf(many), options);
        watch.stop();
        QCOMPARE(QSet<int>(filledAtEvents.begin(), filledAtEvents.end()), QSet<int>({0, 50}));
        QCOMPARE(statusRows.size(), 11);
        for (int i = 0; i < 11; ++i)
            QCOMPARE(statusRows[i], 9 * (i + 1) * 1000 + 100);
        QCOMPARE(rows(w.fgData), 101);

        // A refresh asked for while a fill lets events run waits for it to end.
        QTimer::singleShot(0, &w, [&] {
            w.serverlijstsql = listOf(few);
            w.cmdVernieuwen_Click();
        });
        w.txtSQL->setText(listOf(many));
        w.serverlijstvullen();
        QCOMPARE(rows(w.fgData), 4);
        QCOMPARE(text(w.fgData, 1, 4) + text(w.fgData, 3, 4), few + few);
        db.exec(QStringLiteral("delete from vdrx_servers where user in (?, ?, ?)"),
                {user, many, few});
    }

    void pingsAndTwentyRowsTenSilent() {
        QCOMPARE(pingtijd(QStringLiteral("vondrix.example")), QStringLiteral("err"));
        QCOMPARE(pingtijd(QStringLiteral("0.0.0.0")), QStringLiteral("err"));
        if (!icmpAvailable()) QSKIP("no ICMP socket for this user (ping_group_range, no root)");
        QVERIFY(answered(pingtijd(QStringLiteral("127.0.0.1"))));
        TestNetwork net;
        if (!net.enter())
            QSKIP("network namespaces cannot be made here (ip netns needs CAP_NET_ADMIN and "
                  "CAP_SYS_ADMIN)");
        for (bool datagram : {false, true}) {
            QVERIFY(net.allowDatagram(datagram));
            QElapsedTimer clock;
            clock.start();
            const QStringList times = pingtijden({TestNetwork::silent(0), "127.0.0.1", "10.201.0.9",
                                                  TestNetwork::silent(1), "127.0.0.3"});
            QVERIFY2(clock.elapsed() >= kEchoTimeoutMs - 50 &&
                         clock.elapsed() < kEchoTimeoutMs + kRoomMs,
                     qPrintable(QString::number(clock.elapsed())));
            QCOMPARE(times.mid(2, 2), QStringList({"err", "999"}));
            QCOMPARE(times.value(0), QStringLiteral("999"));
            QVERIFY2(answered(times.value(1)) && answered(times.value(4)),
                     qPrintable(times.join(u' ')));
        }
        net.leave(); // the database is on the host's loopback
        VDX_REQUIRE_CENTRAL_DB();

        // The list: 10 answering hosts between 10 silent ones, all pinged at once.
        AdminDb db;
        const QString user = marker();
        for (int i = 0; i < 10; ++i) {
            addServers(db, 1, user, QStringLiteral("127.0.0.%1").arg(i + 1), "music", "0",
                       QStringLiteral("answering host %1").arg(i + 1));
            addServers(db, 1, user, TestNetwork::silent(i), "music", "0",
                       QStringLiteral("silent host %1").arg(i + 1));
        }
        Lobby lobby;
        frmmulti& w = lobby.w;
        QCOMPARE(openCentral(), 0);
        w.chkpingtime->setChecked(true);
        w.txtSQL->setText(listOf(user));
        QVERIFY(net.enter()); // the open connection stays where it was made
        QElapsedTimer clock;
        clock.start();
        w.serverlijstvullen();
        const qint64 ms = clock.elapsed();
        net.leave();
        qInfo("20 rows, 10 silent, ping times on: filled in %lld ms", ms);
        QCOMPARE(rows(w.fgData), 21);
        for (int r = 1; r <= 20; ++r) {
            const QString shown = text(w.fgData, r, 3);
            QVERIFY2(r % 2 ? answered(shown.chopped(3)) && shown.endsWith(" ms")
                           : shown == u"999 ms",
                     qPrintable(shown));
        }
        QVERIFY2(ms < kEchoTimeoutMs + kRoomMs, qPrintable(QString::number(ms)));
        shot(w, kTabJoin, "serverlists-join.png");
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
        QCOMPARE(w.lblscoreaantalindatabase->text() + w.lblscoreaantalzonderrecord->text(),
                 QStringLiteral("00"));

        // Records: bert 10, anna 6, cas 3, and one of a name not in the user table.
        // Posts: bert 7, anna 4, cas 2, the rest stock questions.
        QVERIFY(db.exec("insert into phpbb_users (user_id, username, user_from) values "
                        "(1, 'anna', 'Belgium'), (2, 'bert', 'Belgium'), (3, 'cas', 'Belgium')"));
        QVERIFY2(db.exec("insert into vdrx_trivia (questionnr, question, aantal, poster, fastest) "
                         "select seq, 'q', 1, case when seq <= 4 then 'anna' when seq <= 11 then "
                         "'bert' when seq <= 13 then 'cas' else 'vondrix' end, case when seq <= 6 "
                         "then 'anna' when seq <= 16 then 'bert' when seq <= 19 then 'cas' when "
                         "seq = 20 then 'ghost' else 'nobody' end from seq_1_to_120"),
                 qPrintable(db.lastError()));
        w.SSTab1->setCurrentIndex(kTabHighscore);
        // "with a record" and "without" as the captions say, not as the labels are named.
        QCOMPARE(w.lblscoreaantalindatabase->text() + ' ' + w.lblscoreaantalzonderrecord->text() +
                     ' ' + w.lblscoreaantalmetrecord->text(),
                 QStringLiteral("120 20 100"));
        QCOMPARE(cells(w.fgdata2),
                 QStringList({"1 bert 10 Belgium", "2 anna 6 Belgium", "3 cas 3 Belgium"}));
        QCOMPARE(cells(w.fgdata3), QStringList({"1 bert 7", "2 anna 4", "3 cas 2"}));
        QVERIFY(qAbs(columnWidth(w.fgdata2, 2) - 1850) < 15);
        QVERIFY(qAbs(columnWidth(w.fgdata3, 2) - 2650) < 15);
        shot(w, kTabHighscore, "serverlists-highscore.png");
        QVERIFY(admin.exec("REVOKE SELECT ON " + name +
                           ".* FROM 'vondrix_mpclien'@'127.0.0.1', 'vondrix_mpclien'@'localhost'"));
        QVERIFY(admin.exec("DROP DATABASE " + name));
    }
};

QTEST_MAIN(TestServerLists)
#include "tst_serverlists.moc"
