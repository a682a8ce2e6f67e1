// How long the window's thread waits for a statement after the central server
// dropped the session (KILL), and for a chat line sent while it restarts, at 0, 200
// and 400 ms round trip through a delaying proxy; and for a player's action and a
// lobby tick while the server is frozen, and a player's action while it is gone.
// Prints a Markdown table of the median, min and max over the runs.
#include "bench/machine.h"
#include "lobby/centraldb.h"
#include "tests/db/privateserver.h"
#include "tests/support/admindb.h"
#include "tests/support/delayproxy.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRuns = 7;
constexpr int kRestartRuns = 5;

struct Figures {
    std::vector<qint64> ms;
    void print(const char* what, int rtt) {
        std::sort(ms.begin(), ms.end());
        std::printf("| %s | %d | %lld | %lld | %lld |\n", what, rtt, ms[ms.size() / 2], ms.front(),
                    ms.back());
    }
};

qint64 timed(DbConnection& c, const QString& sql) {
    QElapsedTimer took;
    took.start();
    c.Execute(sql);
    return took.elapsed();
}

bool kill(DbConnection& c) {
    const qint64 id =
        c.Execute(QStringLiteral("SELECT CONNECTION_ID()")).Fields(0).Value.toLongLong();
    AdminDb admin;
    return id != 0 && admin.exec(QStringLiteral("KILL %1").arg(id));
}

int open(DbConnection& c, quint16 port) {
    return c.OpenConnection(QStringLiteral("127.0.0.1"), QStringLiteral("vondrix_mpclien"),
                            QStringLiteral("GRINTALvoskemb"), QStringLiteral("vondrix_mijnPHP"),
                            port, 0);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::printf("%s\n\n", machineDescription().c_str());
    PrivateServer server;
    if (!server.start()) {
        std::fprintf(stderr, "%s\n", qPrintable(server.error()));
        return 1;
    }
    const UsePrivateServer use(server);
    std::printf(
        "| statement | round trip ms | median ms | min ms | max ms |\n|---|---|---|---|---|\n");
    for (const int rtt : {0, 200, 400}) {
        DelayProxy proxy(quint16(server.port()), std::chrono::milliseconds(rtt / 2));
        DbConnection c;
        if (open(c, proxy.port()) != 0) return 1;
        Figures figures;
        for (int run = 0; run < kRuns; ++run) {
            c.Execute(QStringLiteral("SET @t1=5"));
            if (!kill(c)) return 1;
            QThread::msleep(rtt / 2 + 300); // the server's goodbye has crossed the link
            figures.ms.push_back(timed(c, QStringLiteral("SELECT @t1")));
            if (c.Error().Number != 0)
                std::fprintf(stderr, "%s\n", qPrintable(c.Error().Description));
        }
        figures.print("first after a KILL", rtt);
    }

    // A restart as a service does it: stopped, started again 2 s later; the chat
    // line is sent half a second into it.
    const QString chatLine = QStringLiteral(
        "INSERT INTO vdrx_messages (van,naar,bericht,servertime) VALUES(?,'all',?,now())");
    for (const int rtt : {0, 400}) {
        DelayProxy proxy(quint16(server.port()), std::chrono::milliseconds(rtt / 2));
        DbConnection c;
        if (open(c, proxy.port()) != 0) return 1;
        Figures figures;
        for (int run = 0; run < kRestartRuns; ++run) {
            if (!server.restartInBackground(std::chrono::milliseconds(2000))) return 1;
            QThread::msleep(500);
            QElapsedTimer took;
            took.start();
            c.Execute(chatLine, {QStringLiteral("bench"), QStringLiteral("during a restart")});
            figures.ms.push_back(took.elapsed());
            if (c.Error().Number != 0)
                std::fprintf(stderr, "%s\n", qPrintable(c.Error().Description));
            if (!server.waitUntilAnswering()) return 1;
        }
        figures.print("chat line 0.5 s into a 2 s restart", rtt);
    }

    // Frozen: the session is dropped and the server hangs (connect time-out 5 s).
    DbConnection c;
    if (open(c, quint16(server.port())) != 0) return 1;
    Figures action, tick;
    for (int run = 0; run < 3; ++run) {
        if (!kill(c)) return 1;
        QThread::msleep(300);
        server.freeze();
        {
            const DbConnection::TimedPoll poll(c);
            tick.ms.push_back(timed(c, QStringLiteral("SELECT 1"))); // starts the attempt
            tick.ms.push_back(timed(c, QStringLiteral("SELECT 1")));
        }
        QThread::msleep(6000); // the attempt failed and the next is only planned
        action.ms.push_back(timed(c, QStringLiteral("SELECT 1")));
        server.thaw();
        QThread::msleep(500);
        timed(c, QStringLiteral("SELECT 1"));
    }
    action.print("player's action, server frozen", 0);
    tick.print("lobby tick, server frozen", 0);

    // Gone for good: connections are refused.
    Figures gone;
    server.kill();
    for (int run = 0; run < 3; ++run) {
        gone.ms.push_back(timed(c, QStringLiteral("SELECT 1")));
        QThread::msleep(2500); // no longer known to be away
    }
    gone.print("player's action, server gone", 0);
    return 0;
}
