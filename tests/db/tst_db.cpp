#include "lobby/centraldb.h"
#include "privateserver.h"
#include "tests/support/admindb.h"
#include "tests/support/dialogrecorder.h"

#include <QElapsedTimer>
#include <QThread>
#include <QUuid>
#include <QtTest>
#include <limits>
#include <thread>

namespace {

// A user name no other suite uses, so rows can be found and removed again.
QString marker() {
    return QStringLiteral("tst_db_") + QUuid::createUuid().toString(QUuid::Id128).left(12);
}

void restoreEnv(const char* name, const QByteArray& value) {
    if (value.isNull())
        qunsetenv(name);
    else
        qputenv(name, value);
}

// 1 while the logins table is still there.
int loginsTables(AdminDb& admin) {
    return admin
        .value(QStringLiteral("SELECT COUNT(*) FROM information_schema.tables WHERE table_schema "
                              "= 'vondrix_mijnPHP' AND table_name = 'vdrx_logins'"))
        .toInt();
}

// The session id of a connection, as KILL takes it.
qint64 sessionOf(DbConnection& connection) {
    return connection.Execute(QStringLiteral("SELECT CONNECTION_ID()"))
        .Fields(0)
        .Value.toLongLong();
}

// Ends a session from the administrator account, as an operator would, and waits
// until the server has let it go.
bool killSession(qint64 id) {
    AdminDb admin;
    admin.exec(QStringLiteral("KILL %1").arg(id));
    for (int i = 0; i < 200; ++i) {
        if (admin
                .value(QStringLiteral("SELECT COUNT(*) FROM information_schema.processlist "
                                      "WHERE id = ?"),
                       {id})
                .toInt() == 0)
            return true;
        QThread::msleep(10);
    }
    return false;
}

// Waits until the session runs a SLEEP, then ends it as killSession does; false
// when it ran none within 10 s.
bool killSessionInItsSleep(qint64 id) {
    {
        AdminDb admin;
        QElapsedTimer waited;
        waited.start();
        while (admin
                   .value(QStringLiteral("SELECT COUNT(*) FROM information_schema.processlist "
                                         "WHERE id = ? AND state = 'User sleep'"),
                          {id})
                   .toInt() == 0) {
            if (waited.elapsed() > 10000) return false;
            QThread::msleep(10);
        }
    }
    return killSession(id);
}

} // namespace

// Skips without the test database, else opens the program's own connection to it.
#define REQUIRE_OPEN_CENTRAL()                                                                     \
    do {                                                                                           \
        VDX_REQUIRE_CENTRAL_DB();                                                                  \
        QCOMPARE(openCentral(), 0);                                                                \
    } while (false)

class tst_db : public QObject {
    Q_OBJECT

private slots:
    // --- without a server ---

    void statementBeforeOpenIsReportedAndCallerGoesOn() {
        // Runs first: gMyConn has not been opened yet.
        DialogRecorder dialogs;
        QCOMPARE(gMyConn().State(), DbConnection::kNotConnected);
        int count = 7;
        const DbRecordset rs = gMyConn().Execute(QStringLiteral("SELECT 1"), count);
        QVERIFY(rs.isNothing());
        QCOMPARE(count, 0);
        CheckError();
        gMyConn().Execute(QStringLiteral("SELECT 2"));
        CheckError();
        QCOMPARE(dialogs.texts(), QStringList(2, QStringLiteral("Error 2006: Not connected to "
                                                                "the database server")));
        QCOMPARE(dialogs.messages.first().title, appTitle());
        QCOMPARE(dialogs.messages.first().buttons, MsgButtons::Ok);
    }

    void nothingRecordsetIsSafe() {
        DbRecordset rs;
        QVERIFY(rs.isNothing());
        QCOMPARE(rs.RecordCount(), 0);
        QCOMPARE(rs.FieldCount(), 0);
        QVERIFY(rs.Eof());
        rs.MoveFirst();
        rs.MoveNext();
        QVERIFY(rs.Fields(0).Value.isNull());
        QVERIFY(rs.Fields(QStringLiteral("status")).Name.isEmpty());
        rs.CloseRecordset();
    }

    void recordsetNavigation() {
        DbRecordset rs({QStringLiteral("a"), QStringLiteral("Status")},
                       {{1, QStringLiteral("one")}, {2, QVariant()}});
        QCOMPARE(rs.RecordCount(), 2);
        QCOMPARE(rs.FieldCount(), 2);
        QVERIFY(!rs.Eof());
        QCOMPARE(rs.Fields(1).Name, QStringLiteral("Status"));
        QCOMPARE(rs.Fields(QStringLiteral("status")).Value.toString(), QStringLiteral("one"));
        QVERIFY(rs.Fields(2).Value.isNull());
        QVERIFY(rs.Fields(-1).Value.isNull());
        rs.MoveNext();
        QCOMPARE(rs.Fields(0).Value.toInt(), 2);
        QVERIFY(rs.Fields(1).Value.isNull());
        QCOMPARE(rs.Fields(1).Text(), QString());
        rs.MoveNext();
        QVERIFY(rs.Eof());
        QVERIFY(rs.Fields(0).Value.isNull());
        QCOMPARE(rs.Fields(0).Name, QStringLiteral("a"));
        rs.MoveNext(); // past the end stays at the end
        QVERIFY(rs.Eof());
        rs.MoveFirst();
        QCOMPARE(rs.Fields(0).Value.toInt(), 1);

        DbRecordset copy = rs; // the same rows and cursor, like an object reference
        copy.MoveNext();
        QCOMPARE(rs.Fields(0).Value.toInt(), 2);
        copy.CloseRecordset();
        QCOMPARE(rs.RecordCount(), 0);
        QVERIFY(rs.Eof());
    }

    void fieldTextWritesDatesTheServersWay() {
        const DbField when{QDateTime(QDate(2024, 3, 9), QTime(7, 5, 4)), QStringLiteral("now()")};
        QCOMPARE(when.Text(), QStringLiteral("2024-03-09 07:05:04"));
    }

    void centralHostComesFromTheEnvironmentAtEachCall() {
        const QByteArray host = qgetenv("VONDRIX_DB_HOST");
        const QByteArray port = qgetenv("VONDRIX_DB_PORT");
        qunsetenv("VONDRIX_DB_HOST");
        qunsetenv("VONDRIX_DB_PORT");
        QCOMPARE(centralHost(), QStringLiteral("db.vondrix.net"));
        QCOMPARE(centralPort(), 3306);
        qputenv("VONDRIX_DB_HOST", "127.0.0.9");
        qputenv("VONDRIX_DB_PORT", "not a port");
        QCOMPARE(centralHost(), QStringLiteral("127.0.0.9"));
        QCOMPARE(centralPort(), 3306);
        qputenv("VONDRIX_DB_PORT", "40123");
        QCOMPARE(centralPort(), 40123);
        restoreEnv("VONDRIX_DB_HOST", host);
        restoreEnv("VONDRIX_DB_PORT", port);
    }

    void closedPortFailsAtOnceAndShowsThroughError() {
        // Nothing listens on port 1 of the loopback address.
        DbConnection connection;
        QElapsedTimer timer;
        timer.start();
        const int result =
            connection.OpenConnection(QStringLiteral("127.0.0.1"), QStringLiteral("u"),
                                      QStringLiteral("p"), QStringLiteral("d"), 1, 0);
        QVERIFY(timer.elapsed() < 5000);
        QCOMPARE(connection.State(), DbConnection::kNotConnected);
        QVERIFY(result != 0);
        QCOMPARE(connection.Error().Number, result);
        QVERIFY(!connection.Error().Description.isEmpty());
        // The reason stays what statements report while not connected.
        connection.Execute(QStringLiteral("SELECT 1"));
        QCOMPARE(connection.Error().Number, result);
    }

    // --- against the test database ---

    void wrongPasswordShowsThroughError() {
        VDX_REQUIRE_CENTRAL_DB();
        DbConnection connection;
        connection.OpenConnection(centralHost(), QStringLiteral("vondrix_mpclien"),
                                  QStringLiteral("wrong"), QStringLiteral("vondrix_mijnPHP"),
                                  centralPort(), 0);
        QCOMPARE(connection.State(), DbConnection::kNotConnected);
        QCOMPARE(connection.Error().Number, 1045);
        QVERIFY(connection.Error().Description.contains(QStringLiteral("Access denied")));
    }

    void checkErrorSilentOnSuccess() {
        REQUIRE_OPEN_CENTRAL();
        QCOMPARE(gMyConn().State(), DbConnection::kConnected);
        DialogRecorder dialogs;
        const DbRecordset rs = gMyConn().Execute(QStringLiteral("SELECT CURRENT_USER()"));
        CheckError();
        QVERIFY(dialogs.messages.isEmpty());
        QVERIFY(rs.Fields(0).Value.toString().startsWith(QStringLiteral("vondrix_mpclien@")));
    }

    void checkErrorShowsOneMessageAndKeepsTheError() {
        REQUIRE_OPEN_CENTRAL();
        DialogRecorder dialogs;
        int count = 5;
        gMyConn().Execute(QStringLiteral("select no_such_column from vdrx_versions"), count);
        QCOMPARE(count, 0);
        CheckError();
        const DbError error = gMyConn().Error();
        QCOMPARE(error.Number, 1054);
        QVERIFY(error.Description.contains(QStringLiteral("Unknown column 'no_such_column'")));
        QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("Error 1054: ") + error.Description});
        CheckError(); // not cleared
        QCOMPARE(dialogs.messages.size(), 2);
        // The caller goes on and its next statement runs on the same connection.
        const DbRecordset rs = gMyConn().Execute(QStringLiteral("SELECT 41 + 1"));
        QCOMPARE(gMyConn().Error().Number, 0);
        QCOMPARE(rs.Fields(0).Value.toInt(), 42);
    }

    void closerecordsetTwiceIsHarmless() {
        REQUIRE_OPEN_CENTRAL();
        myrslogin() = gMyConn().Execute(QStringLiteral("SELECT 1 UNION ALL SELECT 2"));
        QCOMPARE(myrslogin().RecordCount(), 2);
        const DbRecordset held = myrslogin();
        closerecordset();
        QVERIFY(myrslogin().isNothing());
        QCOMPARE(held.RecordCount(), 0);
        closerecordset();
        QVERIFY(myrslogin().isNothing());
    }

    void rowsCountsAndNamesRightAfterExecute() {
        REQUIRE_OPEN_CENTRAL();
        int count = 0;
        DbRecordset rs =
            gMyConn().Execute(QStringLiteral("SELECT 1 AS a, 'one' AS b UNION ALL SELECT 2, 'two' "
                                             "UNION ALL SELECT 3, 'three'"),
                              count);
        QCOMPARE(count, 3);
        QCOMPARE(rs.RecordCount(), 3);
        QCOMPARE(rs.FieldCount(), 2);
        QCOMPARE(rs.Fields(1).Name, QStringLiteral("b"));
        QStringList seen;
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
            seen << rs.Fields(QStringLiteral("B")).Text();
        QCOMPARE(seen, (QStringList{"one", "two", "three"}));

        rs = gMyConn().Execute(QStringLiteral("SELECT 1 AS a FROM DUAL WHERE 1 = 0"), count);
        QCOMPARE(count, 0);
        QVERIFY(!rs.isNothing());
        QCOMPARE(rs.RecordCount(), 0);
        QCOMPARE(rs.FieldCount(), 1);
        QVERIFY(rs.Eof());
    }

    void versionQueryHasTheServerTimeInColumnThree() {
        REQUIRE_OPEN_CENTRAL();
        const DbRecordset rs = gMyConn().Execute(
            QStringLiteral("SELECT * , now() FROM vdrx_versions Where version = '4'"));
        QCOMPARE(gMyConn().Error().Number, 0);
        QCOMPARE(rs.FieldCount(), 4);
        QCOMPARE(rs.Fields(3).Name, QStringLiteral("now()"));
        QCOMPARE(rs.Fields(1).Name, QStringLiteral("status"));
        if (rs.RecordCount() > 0) {
            QVERIFY(
                QDateTime::fromString(rs.Fields(3).Text(), QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                    .isValid());
            const QString status = rs.Fields(QStringLiteral("status")).Text();
            QVERIFY2(status != QStringLiteral("ok") && status != QStringLiteral("nok"),
                     "the seeded version must pass the gate without a notice");
        }
    }

    void nullReachesCallersAsNullVariant() {
        REQUIRE_OPEN_CENTRAL();
        const QString name = marker();
        AdminDb admin;
        QVERIFY2(admin.isOpen(), qPrintable(admin.lastError()));
        QVERIFY(admin.exec(QStringLiteral("INSERT INTO phpbb_users (user_id, username) "
                                          "SELECT COALESCE(MAX(user_id), 0) + 100000, ? FROM "
                                          "phpbb_users"),
                           {name}));
        DbRecordset rs = gMyConn().Execute(
            QStringLiteral("select locatie, NULL AS n from phpbb_users where username = ?"),
            {name});
        QCOMPARE(rs.RecordCount(), 1);
        QVERIFY(rs.Fields(QStringLiteral("locatie")).Value.isNull());
        QVERIFY(rs.Fields(1).Value.isNull());
        rs = gMyConn().Execute(QStringLiteral("SELECT NULL, ''"));
        QVERIFY(rs.Fields(0).Value.isNull());
        QVERIFY(!rs.Fields(1).Value.isNull()); // an empty text is not NULL
        admin.exec(QStringLiteral("DELETE FROM phpbb_users WHERE username = ?"), {name});
    }

    void sessionVariableSeenByTheNextStatement() {
        REQUIRE_OPEN_CENTRAL();
        gMyConn().Execute(QStringLiteral("SET @t1=0"));
        QCOMPARE(gMyConn().Error().Number, 0);
        DbRecordset rs = gMyConn().Execute(QStringLiteral("SELECT @t1+1"));
        QCOMPARE(rs.Fields(0).Value.toInt(), 1);
        // The ranking form: a counter that runs over the rows.
        rs = gMyConn().Execute(QStringLiteral(
            "SELECT @t1:=(@t1+1) as rank FROM (SELECT 1 UNION ALL SELECT 2 UNION ALL SELECT 3) x"));
        QCOMPARE(rs.RecordCount(), 3);
        rs.MoveNext();
        rs.MoveNext();
        QCOMPARE(rs.Fields(QStringLiteral("rank")).Value.toInt(), 3);
        // Statements with bound values run in the same session.
        rs = gMyConn().Execute(QStringLiteral("SELECT @t1 + ?"), {10});
        QCOMPARE(rs.Fields(0).Value.toInt(), 13);
    }

    void oneStatementPerExecute() {
        REQUIRE_OPEN_CENTRAL();
        gMyConn().Execute(QStringLiteral("SELECT 1; SELECT 2"));
        QCOMPARE(gMyConn().Error().Number, 1064);
        const DbRecordset rs = gMyConn().Execute(QStringLiteral("SELECT 3"));
        QCOMPARE(gMyConn().Error().Number, 0);
        QCOMPARE(rs.Fields(0).Value.toInt(), 3);
    }

    // On a server of its own (a lobby shows every chat line written after its login),
    // one that ignores the character set a client asks for at the handshake and has a
    // multibyte one of its own, in which a backslash can be a character's second byte.
    void hostileTextRoundTripsThroughBoundValues() {
        VDX_REQUIRE_CENTRAL_DB();
        PrivateServer server;
        QVERIFY2(server.start(), qPrintable(server.error()));
        server.setOptions({QStringLiteral("--character-set-server=gbk"),
                           QStringLiteral("--collation-server=gbk_chinese_ci"),
                           QStringLiteral("--skip-character-set-client-handshake")});
        QVERIFY2(server.restart(), qPrintable(server.error()));
        const auto shared = qScopeGuard([] { openCentral(); });
        const UsePrivateServer use(server);
        QCOMPARE(openCentral(), 0);
        // Texts that quoting gets wrong: quotes, backslashes next to them, NUL and
        // other control characters, characters outside the Basic Multilingual Plane,
        // marks and wildcards; the sender's name has a quote too.
        const QString name = marker() + QStringLiteral("'s");
        const QStringList texts{
            QStringLiteral("O'Brien \\ \"x\"; DROP TABLE vdrx_logins; -- é€ 😀 %1 ?"),
            QStringLiteral("\\'); DELETE FROM vdrx_messages; #"),
            QStringLiteral("nul") + QChar(0) + QStringLiteral("inside") + QChar(0),
            QStringLiteral("\\0 \\n \\Z \\x00 and a backslash at the end \\"),
            QStringLiteral("\r\n\t\x1a\x7f '' \"\" ``"),
            QStringLiteral("𝄞 🎵 😀 𠀋"),
            QStringLiteral("'?' ? ?? %_"),
            QStringLiteral("€' OR 1=1 -- "),
        };
        const QString insert = QStringLiteral(
            "INSERT INTO vdrx_messages (van,naar,bericht,servertime) VALUES(?,'all',?,now())");
        for (const QString& text : texts) {
            int count = 0;
            gMyConn().Execute(insert, {name, text}, count);
            QCOMPARE(gMyConn().Error().Description, QString());
            QCOMPARE(count, 1);
        }
        const QString lines =
            QStringLiteral("SELECT bericht FROM vdrx_messages WHERE van = ? ORDER BY messageID");
        QStringList read;
        DbRecordset rs = gMyConn().Execute(lines, {name});
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
            read << rs.Fields(0).Value.toString();
        QCOMPARE(read, texts);
        AdminDb admin;
        QCOMPARE(loginsTables(admin), 1);
        QCOMPARE(admin.rows(lines, {name}).size(), texts.size());
        for (qsizetype i = 0; i < texts.size(); ++i)
            QCOMPARE(admin.rows(lines, {name}).at(i).value(0).toString(), texts.at(i));

        // Numbers and NULL (also a null text) come back as they went.
        rs = gMyConn().Execute(
            QStringLiteral("SELECT ?, ?, ?, ?, ? IS NULL AND ? IS NULL"),
            {std::numeric_limits<qint64>::max(), -1, 0.1, true, QVariant(), QString()});
        QCOMPARE(gMyConn().Error().Description, QString());
        QCOMPARE(rs.Fields(0).Value.toLongLong(), std::numeric_limits<qint64>::max());
        QCOMPARE(rs.Fields(1).Value.toInt(), -1);
        QCOMPARE(rs.Fields(2).Value.toDouble(), 0.1);
        QCOMPARE(rs.Fields(3).Value.toInt(), 1);
        QCOMPARE(rs.Fields(4).Value.toInt(), 1);
        // A mark too many or too few: refused, nothing sent.
        gMyConn().Execute(QStringLiteral("SELECT ?, ?"), {1});
        QVERIFY(gMyConn().Error().Number != 0);
    }

    void lobbyAccountCannotDropDeleteOrLookOutside() {
        REQUIRE_OPEN_CENTRAL();
        const QStringList refused{
            QStringLiteral("DROP TABLE vdrx_logins"),
            QStringLiteral("DELETE FROM vdrx_messages WHERE van = 'nobody at all'"),
            QStringLiteral("SELECT * FROM mysql.user"),
            QStringLiteral("CREATE TABLE vdrx_extra (a INT)"),
            QStringLiteral("UPDATE phpbb_users SET user_password = '' WHERE username = 'x'"),
            QStringLiteral(
                "INSERT INTO vdrx_systemmessages (van,bericht,naar) VALUES('a','b','c')"),
        };
        for (const QString& sql : refused) {
            gMyConn().Execute(sql);
            QVERIFY2(gMyConn().Error().Number >= 1142 && gMyConn().Error().Number <= 1143,
                     qPrintable(sql + QStringLiteral(" -> ") + gMyConn().Error().Description));
        }
        AdminDb admin;
        QCOMPARE(loginsTables(admin), 1);
    }

    void createCommandIsRefusedToTheLobbyAccount() {
        REQUIRE_OPEN_CENTRAL();
        DialogRecorder dialogs;
        createServersTable();
        // Drop refused, create refused and reported twice; the table keeps its columns.
        QCOMPARE(dialogs.messages.size(), 3);
        QVERIFY(
            dialogs.texts().at(0).startsWith(QStringLiteral("Error 1142: DROP command denied")));
        QVERIFY(
            dialogs.texts().at(1).startsWith(QStringLiteral("Error 1142: CREATE command denied")));
        QCOMPARE(dialogs.texts().at(2), dialogs.texts().at(1));
        AdminDb admin;
        QCOMPARE(admin
                     .value(QStringLiteral("SELECT COUNT(*) FROM information_schema.columns "
                                           "WHERE table_schema = 'vondrix_mijnPHP' AND "
                                           "table_name = 'vdrx_servers' AND column_name = "
                                           "'quizlength'"))
                     .toInt(),
                 1);
    }

    void createCommandBuildsTheServersTable() {
        // With an account that may create tables, in a scratch database.
        VDX_REQUIRE_CENTRAL_DB();
        const QString scratch = QStringLiteral("vdx_scratch_") + marker().mid(7);
        const QString user = marker();
        AdminDb admin(QString{});
        QVERIFY(admin.exec(QStringLiteral("CREATE DATABASE ") + scratch));
        QVERIFY(admin.exec(
            QStringLiteral("CREATE USER '%1'@'127.0.0.1' IDENTIFIED BY 'pw'").arg(user)));
        QVERIFY(
            admin.exec(QStringLiteral("GRANT ALL ON %1.* TO '%2'@'127.0.0.1'").arg(scratch, user)));
        gMyConn().OpenConnection(centralHost(), user, QStringLiteral("pw"), scratch, centralPort(),
                                 0);
        QCOMPARE(gMyConn().State(), DbConnection::kConnected);
        DialogRecorder dialogs;
        createServersTable();
        createServersTable(); // dropping the existing table works too
        QVERIFY(dialogs.messages.isEmpty());
        const QList<QVariantList> columns = admin.rows(
            QStringLiteral("SELECT column_name FROM information_schema.columns WHERE table_schema "
                           "= ? AND table_name = 'vdrx_servers' ORDER BY ordinal_position"),
            {scratch});
        QStringList names;
        for (const QVariantList& row : columns)
            names << row.first().toString();
        QCOMPARE(names, (QStringList{"serverID", "IPaddress", "IPport", "IPping", "user",
                                     "description", "curPlayers", "maxPlayers", "version",
                                     "starttime", "serverpassword", "active", "startdate"}));
        admin.exec(QStringLiteral("DROP DATABASE ") + scratch);
        admin.exec(QStringLiteral("DROP USER '%1'@'127.0.0.1'").arg(user));
        openCentral();
    }

    void testconnectUsesTheTestAccount() {
        VDX_REQUIRE_CENTRAL_DB();
        DialogRecorder dialogs;
        QCOMPARE(testconnect(), QStringLiteral("Connected"));
        QVERIFY(dialogs.messages.isEmpty());
        const DbRecordset rs = gMyConn().Execute(QStringLiteral("SELECT CURRENT_USER()"));
        QVERIFY(rs.Fields(0).Value.toString().startsWith(QStringLiteral("vondrix_test@")));
        gMyConn().Execute(QStringLiteral("select * from vdrx_versions"));
        QCOMPARE(gMyConn().Error().Number, 0);
        gMyConn().Execute(QStringLiteral("select * from phpbb_users"));
        QCOMPARE(gMyConn().Error().Number, 1142);
        openCentral();
    }

    void testconnectFailureIsReported() {
        VDX_REQUIRE_CENTRAL_DB();
        const QByteArray port = qgetenv("VONDRIX_DB_PORT");
        qputenv("VONDRIX_DB_PORT", "1");
        DialogRecorder dialogs;
        QCOMPARE(testconnect(), QString());
        qputenv("VONDRIX_DB_PORT", port);
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY(dialogs.texts().first().startsWith(QStringLiteral("Error 200")));
        QCOMPARE(gMyConn().State(), DbConnection::kNotConnected);
        openCentral();
    }

    void killedSessionComesBackAndChangesRunOnce() {
        REQUIRE_OPEN_CENTRAL();
        DbConnection& c = gMyConn();
        AdminDb admin;
        const QString port = marker();
        QVERIFY(admin.exec(QStringLiteral("INSERT INTO vdrx_servers (IPaddress, IPport, IPping, "
                                          "user, description, curPlayers, maxPlayers, version, "
                                          "active) VALUES('127.0.0.9', ?, '0', 'x', 'x', '0', "
                                          "'4', '4', '0')"),
                           {port}));
        const auto players = [&] {
            return admin
                .value(QStringLiteral("SELECT curPlayers FROM vdrx_servers WHERE IPport = ?"),
                       {port})
                .toInt();
        };
        const QString up = QStringLiteral("update vdrx_servers set curPlayers = curPlayers + 1 "
                                          "where ipaddress = ? and ipport = ?");
        c.Execute(QStringLiteral("SET @t1=5"));

        // Killed while idle: a change finds the session gone, opens a new one and runs once.
        qint64 session = sessionOf(c);
        QVERIFY(killSession(session));
        int count = 0;
        c.Execute(up, {QStringLiteral("127.0.0.9"), port}, count);
        QCOMPARE(c.Error().Description, QString());
        QCOMPARE(count, 1);
        QCOMPARE(players(), 1);
        QVERIFY(sessionOf(c) != session);
        // The new session has the variables the old one was given.
        QCOMPARE(c.Execute(QStringLiteral("SELECT @t1")).Fields(0).Value.toInt(), 5);

        // Killed while a statement runs: a read is run again on a new session ...
        bool killed = false;
        const auto killInItsSleep = [&killed](qint64 id) {
            return std::thread([id, &killed] { killed = killSessionInItsSleep(id); });
        };
        session = sessionOf(c);
        std::thread killer = killInItsSleep(session);
        DbRecordset rs = c.Execute(QStringLiteral("SELECT SLEEP(1.5), @t1 + 1"));
        killer.join();
        QVERIFY(killed);
        QCOMPARE(c.Error().Number, 0);
        QCOMPARE(rs.Fields(0).Value.toInt(), 0); // slept to the end
        QCOMPARE(rs.Fields(1).Value.toInt(), 6);
        QVERIFY(sessionOf(c) != session);
        // ... a change is not: it is reported, and the next statement opens again.
        killer = killInItsSleep(sessionOf(c));
        c.Execute(QStringLiteral("update vdrx_servers set curPlayers = curPlayers + 1 where "
                                 "ipport = ? and SLEEP(1.5) = 0"),
                  {port}, count);
        killer.join();
        QVERIFY(killed);
        const int lost = c.Error().Number;
        QVERIFY2(lost == 2013 || lost == 1927, qPrintable(c.Error().Description));
        QCOMPARE(count, 0);
        QCOMPARE(c.State(), DbConnection::kConnected); // usable: it comes back by itself
        QTest::qWait(2000);                            // a second run would have ended by now
        QCOMPARE(players(), 1);
        c.Execute(up, {QStringLiteral("127.0.0.9"), port});
        QCOMPARE(c.Error().Number, 0);
        QCOMPARE(players(), 2);
        admin.exec(QStringLiteral("DELETE FROM vdrx_servers WHERE IPport = ?"), {port});
    }

    // --- a server that goes away, on a server of the test's own ---

    // A slow server, a frozen one and one that dies, and each coming back.
    void serverGoingAwayIsReportedWithoutHanging() {
        VDX_REQUIRE_CENTRAL_DB(); // the same tools as the shared test database
        PrivateServer server;
        QVERIFY2(server.start(), qPrintable(server.error()));
        const UsePrivateServer use(server);
        // Each time-out 2 s; a wait may take up to 1.5 s longer on a loaded machine,
        // still short of a second time-out.
        constexpr int kTimeoutS = 2;
        constexpr qint64 kBoundMs = kTimeoutS * 1000 + 1500;
        DbConnection connection;
        connection.setTimeouts(kTimeoutS, kTimeoutS, kTimeoutS);
        const auto open = [&](DbConnection& c) {
            return c.OpenConnection(QStringLiteral("127.0.0.1"), QStringLiteral("vondrix_mpclien"),
                                    QStringLiteral("GRINTALvoskemb"),
                                    QStringLiteral("vondrix_mijnPHP"), server.port(), 0);
        };
        QCOMPARE(open(connection), 0);
        connection.Execute(QStringLiteral("SET @t1=5"));
        QCOMPARE(connection.Error().Number, 0);
        QElapsedTimer timer;

        // A read that waits for a table an operator locked: the client gives up after
        // the read time-out and does not send it a second time.
        {
            AdminDb admin;
            QVERIFY(admin.exec(QStringLiteral("LOCK TABLES vdrx_versions WRITE")));
            timer.start();
            connection.Execute(QStringLiteral("SELECT 'slow read' FROM vdrx_versions"));
            QVERIFY2(timer.elapsed() < kBoundMs, qPrintable(QString::number(timer.elapsed())));
            QCOMPARE(connection.Error().Number, 2013);
            QVERIFY(admin.exec(QStringLiteral("UNLOCK TABLES")));
        }
        DbRecordset rs = connection.Execute(QStringLiteral("SELECT @t1"));
        QCOMPARE(connection.Error().Description, QString());
        QCOMPARE(rs.Fields(0).Value.toInt(), 5);

        // A session lost while its variables are set again keeps them for the next one.
        connection.Execute(QStringLiteral("SET @v = (SELECT COUNT(*) + 40 FROM vdrx_versions)"));
        QCOMPARE(connection.Error().Number, 0);
        {
            AdminDb admin;
            const int versions =
                admin.value(QStringLiteral("SELECT COUNT(*) FROM vdrx_versions")).toInt();
            QVERIFY(killSession(sessionOf(connection)));
            QVERIFY(admin.exec(QStringLiteral("LOCK TABLES vdrx_versions WRITE")));
            connection.Execute(QStringLiteral("SELECT @t1"));
            QVERIFY(connection.Error().Number != 0);
            QVERIFY(admin.exec(QStringLiteral("UNLOCK TABLES")));
            rs = connection.Execute(QStringLiteral("SELECT @t1, @v"));
            QCOMPARE(connection.Error().Description, QString());
            QCOMPARE(rs.Fields(0).Value.toInt(), 5);
            QCOMPARE(rs.Fields(1).Value.toInt(), versions + 40);
        }

        // A server that stops answering: the read time-out ends the first wait. Then
        // no statement waits for a new session for longer than the connect time-out,
        // and the connection still counts as usable.
        server.freeze();
        timer.restart();
        connection.Execute(QStringLiteral("SELECT @t1"));
        QVERIFY2(timer.elapsed() < kBoundMs, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(connection.Error().Number, 2013);
        QElapsedTimer frozen;
        frozen.start();
        qint64 longest = 0;
        while (frozen.elapsed() < 5000) {
            timer.restart();
            connection.Execute(QStringLiteral("SELECT 1"));
            longest = qMax(longest, timer.elapsed());
            QVERIFY(connection.Error().Number != 0);
            QThread::msleep(200);
        }
        QVERIFY2(longest < kBoundMs, qPrintable(QString::number(longest)));
        QCOMPARE(connection.State(), DbConnection::kConnected);
        // Opening against the frozen server gives up after the connect time-out.
        DbConnection other;
        other.setTimeouts(kTimeoutS, kTimeoutS, kTimeoutS);
        timer.restart();
        QVERIFY(open(other) != 0);
        QVERIFY2(timer.elapsed() < 15000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(other.State(), DbConnection::kNotConnected);

        // Answering again: within a few seconds a statement runs, with the variables.
        server.thaw();
        timer.restart();
        do {
            QThread::msleep(100);
            rs = connection.Execute(QStringLiteral("SELECT @t1"));
        } while (connection.Error().Number != 0 && timer.elapsed() < 8000);
        QCOMPARE(connection.Error().Description, QString());
        QCOMPARE(rs.Fields(0).Value.toInt(), 5);
        // An open by the caller gives a fresh session.
        QCOMPARE(open(connection), 0);
        rs = connection.Execute(QStringLiteral("SELECT @t1"));
        QVERIFY(rs.Fields(0).Value.isNull());

        // A restart between two statements: the next one runs.
        connection.Execute(QStringLiteral("SET @t1=8"));
        QVERIFY2(server.restart(), qPrintable(server.error()));
        rs = connection.Execute(QStringLiteral("SELECT @t1 + ?"), {1});
        QCOMPARE(connection.Error().Number, 0);
        QCOMPARE(rs.Fields(0).Value.toInt(), 9);

        // A server that refuses the account is not one coming back: the statement
        // reports at once instead of asking again until the connect time-out.
        {
            AdminDb admin;
            const QString password =
                QStringLiteral("SET PASSWORD FOR 'vondrix_mpclien'@'127.0.0.1' = PASSWORD('%1')");
            QVERIFY2(admin.exec(password.arg(QStringLiteral("changed"))),
                     qPrintable(admin.lastError()));
            QVERIFY(killSession(sessionOf(connection)));
            timer.restart();
            connection.Execute(QStringLiteral("SELECT 1"));
            QCOMPARE(connection.Error().Number, 1045);
            QVERIFY2(timer.elapsed() < kTimeoutS * 1000 / 2,
                     qPrintable(QString::number(timer.elapsed())));
            QVERIFY(admin.exec(password.arg(QStringLiteral("GRINTALvoskemb"))));
            timer.restart();
            do {
                QThread::msleep(100);
                connection.Execute(QStringLiteral("SELECT 1"));
            } while (connection.Error().Number != 0 && timer.elapsed() < 8000);
            QCOMPARE(connection.Error().Description, QString());
        }

        // A server that dies: the statement asks for a session until the connect
        // time-out is spent, then it and the ones after it are reported.
        server.kill();
        DialogRecorder dialogs;
        timer.restart();
        int count = 3;
        connection.Execute(QStringLiteral("SELECT 1"), count);
        QVERIFY2(timer.elapsed() < kBoundMs, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(count, 0);
        const int refused = connection.Error().Number;
        QVERIFY2(refused >= 2002 && refused <= 2003, qPrintable(connection.Error().Description));
        connection.Execute(QStringLiteral("SELECT 1"), {1});
        QCOMPARE(connection.Error().Number, refused);
        QCOMPARE(open(connection), refused);
        QCOMPARE(connection.Error().Number, refused);
        QCOMPARE(connection.State(), DbConnection::kNotConnected);
    }
};

QTEST_GUILESS_MAIN(tst_db)
#include "tst_db.moc"
