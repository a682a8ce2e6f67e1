// Lobby load: N lobby users, each on its own connection with the lobby account,
// poll the chat and the users in the lobby every 1.2 s, as the Lobby tab does.
//
//   vdx_bench_lobbyload [--users 50,200,500] [--seconds 60] [--modes reread,append]
//                       [--server-pid PID]
//
// VONDRIX_DB_HOST / VONDRIX_DB_PORT name the server, VONDRIX_DB_ADMIN_SOCKET its
// root socket (used to fill it). The database is filled with 2 000 users and
// 10 000 chat lines, 2 000 of them since the simulated users' login; one more
// connection writes a line every second while the users poll. Mode "reread" reads
// the whole chat since the login at every tick; "append" reads it once on entering
// the tab and then the lines after the last messageID it read. Per N it prints the
// latency of a tick (chat poll + users poll; also from 10 s on, once every user has
// entered), of the chat poll alone, of the read on entering the tab, and the CPU
// time of the server and of this program.
#include "lobby/centraldb.h"
#include "lobby/lobbypoll.h"
#include "platform/dbconnection.h"
#include "tests/support/admindb.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QStringList>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <random>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::microseconds;
using std::chrono::milliseconds;

constexpr int kUsers = 2000;
constexpr int kOldLines = 8000;
constexpr int kLinesSinceLogin = 2000;
constexpr int kFirstUserId = 100000;
constexpr auto kInterval = milliseconds(1200);

// The one-minute load average of the machine, as a hint of what else ran.
QString loadAverage() {
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly)) return QStringLiteral("-");
    return QString::fromLatin1(file.readAll().split(' ').value(0));
}

// CPU seconds (user + system) a process has used so far.
double cpuSeconds(const QString& pid) {
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!file.open(QIODevice::ReadOnly)) return 0;
    const QByteArray stat = file.readAll();
    // Fields after the command name in parentheses; utime and stime are 14 and 15.
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13) return 0;
    return (fields.at(11).toDouble() + fields.at(12).toDouble()) / sysconf(_SC_CLK_TCK);
}

bool fill(AdminDb& admin, QString& servertijd) {
    const QDateTime now = admin.value(QStringLiteral("select now()")).toDateTime();
    const QDateTime login = now.addSecs(-3 * 3600);
    servertijd = login.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    bool ok =
        admin.exec(QStringLiteral("set global max_connections = 2000")) &&
        admin.exec(QStringLiteral("delete from vdrx_messages")) &&
        admin.exec(QStringLiteral("delete from phpbb_users where user_id >= %1").arg(kFirstUserId));
    QStringList rows;
    for (int i = 0; ok && i < kUsers; ++i) {
        rows << QStringLiteral("(%1,'bench_user_%2','','bench@example.org','Belgium','elders')")
                    .arg(kFirstUserId + i)
                    .arg(i, 4, 10, QLatin1Char('0'));
        if (rows.size() == 500) {
            ok =
                admin.exec(QStringLiteral("insert into phpbb_users (user_id,username,user_password,"
                                          "user_email,user_from,locatie) values ") +
                           rows.join(QLatin1Char(',')));
            rows.clear();
        }
    }
    // Older lines a day before the login; the lines since the login two to a second.
    for (int i = 0; ok && i < kOldLines + kLinesSinceLogin; ++i) {
        const QDateTime at =
            i < kOldLines ? login.addDays(-1).addSecs(i) : login.addSecs((i - kOldLines) / 2);
        rows << QStringLiteral("('bench_user_%1','all','line %2: what a question that was, did "
                               "anybody get the last one?','%3')")
                    .arg(i % kUsers, 4, 10, QLatin1Char('0'))
                    .arg(i)
                    .arg(at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
        if (rows.size() == 500) {
            ok =
                admin.exec(QStringLiteral("insert into vdrx_messages (van,naar,bericht,servertime) "
                                          "values ") +
                           rows.join(QLatin1Char(',')));
            rows.clear();
        }
    }
    if (!ok) std::fprintf(stderr, "filling failed: %s\n", qPrintable(admin.lastError()));
    return ok;
}

struct Samples {
    std::vector<qint64> tick, chat, entry; // microseconds
    std::vector<qint64> settled;           // ticks from 10 s on, after everybody's entry read
    int failures = 0;
};

double percentile(std::vector<qint64> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const size_t k = std::min(v.size() - 1, size_t(p * double(v.size() - 1) + 0.5));
    return double(v[k]) / 1000.0;
}

qint64 since(Clock::time_point start) {
    return std::chrono::duration_cast<microseconds>(Clock::now() - start).count();
}

// One lobby user: enters the tab (chat and system messages at once), then ticks.
void lobbyUser(int index, ChatReader::Mode mode, const QString& servertijd, Clock::time_point begin,
               Clock::time_point end, std::mutex& connecting, std::atomic<int>& ready,
               Samples& out) {
    DbConnection conn;
    {
        const std::lock_guard lock(connecting);
        openLobbyAccount(conn);
    }
    ++ready;
    if (conn.State() == DbConnection::kNotConnected) {
        out.failures++;
        return;
    }
    const QString naam = QStringLiteral("bench_user_%1").arg(index, 4, 10, QLatin1Char('0'));
    std::mt19937 random(index);
    auto next = begin + milliseconds(std::uniform_int_distribution<int>(0, 1199)(random));
    std::this_thread::sleep_until(next);

    ChatReader reader(mode);
    QString system;
    QString users;
    auto start = Clock::now();
    if (!reader.poll(conn, servertijd) || !pollSystemMessages(conn, naam, system)) out.failures++;
    out.entry.push_back(since(start));

    // Like the window's timer: a tick that overran is followed by a full interval.
    for (next += kInterval; next < end;) {
        std::this_thread::sleep_until(next);
        start = Clock::now();
        const bool chatOk = reader.poll(conn, servertijd);
        out.chat.push_back(since(start));
        if (!chatOk || !pollLobbyUsers(conn, users)) out.failures++;
        out.tick.push_back(since(start));
        if (start - begin >= std::chrono::seconds(10)) out.settled.push_back(out.tick.back());
        next += kInterval;
        if (next < Clock::now()) next = Clock::now() + kInterval;
    }
}

// A line a second, as a chatting user sends it.
void writer(Clock::time_point begin, Clock::time_point end) {
    DbConnection conn;
    openLobbyAccount(conn);
    int n = 0;
    for (auto next = begin; next < end; next += milliseconds(1000)) {
        std::this_thread::sleep_until(next);
        conn.Execute(QStringLiteral("INSERT INTO vdrx_messages (van,naar,bericht,servertime) "
                                    "VALUES(?,'all',?,now());"),
                     {QStringLiteral("bench_writer"), QStringLiteral("new line %1").arg(++n)});
    }
}

QString option(const QStringList& args, const QString& name, const QString& fallback) {
    const int i = args.indexOf(name);
    return i >= 0 && i + 1 < args.size() ? args.at(i + 1) : fallback;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QStringList counts = option(args, QStringLiteral("--users"), QStringLiteral("50,200,500"))
                                   .split(QLatin1Char(','));
    const QStringList modes =
        option(args, QStringLiteral("--modes"), QStringLiteral("reread,append"))
            .split(QLatin1Char(','));
    const int seconds = option(args, QStringLiteral("--seconds"), QStringLiteral("60")).toInt();
    const QString serverPid = option(args, QStringLiteral("--server-pid"), {});
    if (!centralDbAvailable()) {
        std::fprintf(stderr, "set VONDRIX_DB_HOST, VONDRIX_DB_PORT and VONDRIX_DB_ADMIN_SOCKET\n");
        return 2;
    }

    AdminDb admin;
    QString servertijd;
    if (!admin.isOpen() || !fill(admin, servertijd)) return 1;
    std::printf("%d users, %d chat lines, %d of them since the login; %d s per run, polls every "
                "%lld ms; %u processors\n\n",
                kUsers, kOldLines + kLinesSinceLogin, kLinesSinceLogin, seconds,
                static_cast<long long>(kInterval.count()), std::thread::hardware_concurrency());
    std::printf(
        "| chat read | N | ticks | tick median ms | tick p99 ms | tick p99 from 10 s ms | chat "
        "poll p99 ms | "
        "entry read median ms | server CPU %% | bench CPU %% | failures | load average |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|---|---|---|\n");
    std::fflush(stdout);

    for (const QString& modeName : modes) {
        const ChatReader::Mode mode = modeName == QStringLiteral("reread")
                                          ? ChatReader::Mode::Reread
                                          : ChatReader::Mode::Append;
        for (const QString& count : counts) {
            const int n = count.toInt();
            admin.exec(QStringLiteral("delete from vdrx_messages where van = 'bench_writer'"));
            admin.exec(QStringLiteral("update phpbb_users set locatie = if(user_id < %1, 'lobby', "
                                      "'elders') where user_id >= %2")
                           .arg(kFirstUserId + n)
                           .arg(kFirstUserId));

            std::vector<Samples> samples(size_t(n), Samples{});
            std::vector<std::thread> threads;
            std::mutex connecting;
            std::atomic<int> ready{0};
            // Everybody connects first (a few ms each), then the schedule starts.
            const auto begin = Clock::now() + milliseconds(200) * n / 50 + std::chrono::seconds(2);
            const auto end = begin + std::chrono::seconds(seconds);
            for (int i = 0; i < n; ++i)
                threads.emplace_back(lobbyUser, i, mode, servertijd, begin, end,
                                     std::ref(connecting), std::ref(ready),
                                     std::ref(samples[size_t(i)]));
            std::thread chatter(writer, begin, end);
            std::this_thread::sleep_until(begin);
            const double server0 = serverPid.isEmpty() ? 0 : cpuSeconds(serverPid);
            const double self0 = cpuSeconds(QStringLiteral("self"));
            std::this_thread::sleep_until(end);
            const double server1 = serverPid.isEmpty() ? 0 : cpuSeconds(serverPid);
            const double self1 = cpuSeconds(QStringLiteral("self"));
            for (std::thread& t : threads)
                t.join();
            chatter.join();

            Samples all;
            for (const Samples& s : samples) {
                all.tick.insert(all.tick.end(), s.tick.begin(), s.tick.end());
                all.chat.insert(all.chat.end(), s.chat.begin(), s.chat.end());
                all.entry.insert(all.entry.end(), s.entry.begin(), s.entry.end());
                all.settled.insert(all.settled.end(), s.settled.begin(), s.settled.end());
                all.failures += s.failures;
            }
            const int late = ready.load() < n ? n - ready.load() : 0;
            std::printf(
                "| %s | %d | %zu | %.2f | %.2f | %.2f | %.2f | %.2f | %s | %.0f | %d | %s |\n",
                qPrintable(modeName), n, all.tick.size(), percentile(all.tick, 0.5),
                percentile(all.tick, 0.99), percentile(all.settled, 0.99),
                percentile(all.chat, 0.99), percentile(all.entry, 0.5),
                serverPid.isEmpty()
                    ? "-"
                    : qPrintable(QString::number(100.0 * (server1 - server0) / seconds, 'f', 0)),
                100.0 * (self1 - self0) / seconds, all.failures + late, qPrintable(loadAverage()));
            std::fflush(stdout);
        }
    }
    admin.exec(QStringLiteral("delete from vdrx_messages"));
    return 0;
}
