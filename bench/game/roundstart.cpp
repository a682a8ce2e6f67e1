// Round start: a host and four clients on loopback play 50 music rounds of 20
// seconds (550000-byte excerpts). Per round and client: the time from the host's
// round start to the client's start of the excerpt, less the fixed waits the game
// prescribes (100 ms per client after the result table). In the same run: the
// loopback limit (the same 4 x 550000 bytes over plain sockets) and the floor
// (staging the excerpt, writing it on the client and handing it to the player).
#include "bench/game/players.h"
#include "common/protocol.h"
#include "platform/gui/mediaplayer.h"
#include "platform/gui/programend.h"
#include "tests/support/freeport.h"
#include "tests/support/songfiles.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kSeconds = 20;
constexpr int kRounds = 50;
constexpr int kClients = 4;
constexpr int kTableWaitMs = 100;

QTextStream& out() {
    static QTextStream stream(stdout);
    return stream;
}

double msSince(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

// One send of 4 x bytes over plain loopback sockets, each read by a thread of its
// own: from the first write to the last byte read, in ms.
double loopbackOnce(const QByteArray& bytes) {
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(listener, kClients);
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    std::vector<int> senders, receivers;
    for (int n = 0; n < kClients; ++n) {
        const int s = ::socket(AF_INET, SOCK_STREAM, 0);
        ::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
        receivers.push_back(s);
        senders.push_back(::accept(listener, nullptr, nullptr));
    }
    ::close(listener);
    std::vector<std::thread> readers;
    for (int s : receivers)
        readers.emplace_back([s, total = bytes.size()] {
            std::vector<char> buffer(65536);
            qsizetype got = 0;
            while (got < total) {
                const ssize_t n = ::read(s, buffer.data(), buffer.size());
                if (n <= 0) break;
                got += n;
            }
        });
    const auto t0 = std::chrono::steady_clock::now();
    for (int s : senders) {
        qsizetype sent = 0;
        while (sent < bytes.size()) {
            const ssize_t n = ::write(s, bytes.constData() + sent, size_t(bytes.size() - sent));
            if (n <= 0) break;
            sent += n;
        }
    }
    for (std::thread& t : readers)
        t.join();
    const double ms = msSince(t0);
    for (int s : senders)
        ::close(s);
    for (int s : receivers)
        ::close(s);
    return ms;
}

// Staging on the host (read the song's first bytes, write "server.mp3"), writing
// "temp.mp3" on the client and handing it to a media player (one new player, as
// each item gets): in ms.
double floorOnce(const QString& song, const QString& folder, MediaPlayer& player) {
    const auto t0 = std::chrono::steady_clock::now();
    QFile source(song);
    source.open(QIODevice::ReadOnly);
    const QByteArray excerpt = source.read(wire::excerptSize(kSeconds));
    for (const char* name : {"/server.mp3", "/temp.mp3"}) {
        QFile::remove(folder + QLatin1String(name));
        QFile file(folder + QLatin1String(name));
        file.open(QIODevice::WriteOnly);
        file.write(excerpt);
    }
    player.setURL(folder + QStringLiteral("/temp.mp3"));
    player.play();
    return msSince(t0);
}

void row(const QString& what, const QList<double>& values) {
    out() << QStringLiteral("%1: median %2 ms, p95 %3 ms (n = %4)\n")
                 .arg(what, -44)
                 .arg(percentile(values, 50), 0, 'f', 1)
                 .arg(percentile(values, 95), 0, 'f', 1)
                 .arg(values.size());
}

int run(int argc, char* argv[]) {
    // Written out before the process ends: it ends without destroying its static
    // objects (endProgram).
    const struct FlushAtEnd {
        ~FlushAtEnd() { out().flush(); }
    } flushAtEnd;
    QCoreApplication app(argc, argv);
    printMachine();
    const int rounds = qEnvironmentVariableIntValue("VDX_BENCH_ROUNDS") > 0
                           ? qEnvironmentVariableIntValue("VDX_BENCH_ROUNDS")
                           : kRounds;
    QTemporaryDir songsDir;
    const TestSongs songs = makeSongs(songsDir.path(), 6, 75); // more than 550000 bytes each
    if (songs.paths.isEmpty()) {
        out() << "sox and lame are needed for the songs\n";
        return 1;
    }

    QList<double> loopback, floor;
    const QByteArray excerpt(wire::excerptSize(kSeconds), 'x');
    MediaPlayer player;
    for (int n = 0; n < 20; ++n) {
        loopback << loopbackOnce(excerpt);
        floor << floorOnce(songs.paths.value(n % songs.paths.size()), songsDir.path(), player);
    }

    const QStringList common{QStringLiteral("--port"), QString::number(freePort()),
                             QStringLiteral("--playlist"), songs.playlist};
    Player host(QStringLiteral("host"), newUser(QStringLiteral("bhost")),
                common + QStringList{"--tijd", QString::number(kSeconds), "--clients",
                                     QString::number(kClients), "--rounds",
                                     QString::number(rounds)});
    if (!waitFor([&] { return host.has("LISTENING") || host.finished(); }, 30000) ||
        !host.has("LISTENING")) {
        out() << "the host did not start:\n" << host.dump() << "\n";
        return 1;
    }
    std::vector<std::unique_ptr<Player>> clients;
    for (int n = 1; n <= kClients; ++n)
        clients.push_back(std::make_unique<Player>(
            QStringLiteral("client"), newUser(QStringLiteral("bc%1x").arg(n)), common));
    const auto done = [&] {
        return host.has("DONE") && std::all_of(clients.begin(), clients.end(),
                                               [](const auto& c) { return c->has("DONE"); });
    };
    if (!waitFor(done, rounds * 15000 + 60000)) {
        out() << "the game did not end:\n" << host.dump() << "\n";
        for (const auto& c : clients)
            out() << c->dump() << "\n";
        return 1;
    }

    QList<double> first, later, laterLeast, lastClient, hostPart, transfer, clientStart;
    double fixedLater = 0;
    for (int k = 1; k <= rounds; ++k) {
        const QStringList start = host.with(QStringLiteral("ROUNDSTART %1 ").arg(k));
        if (start.size() != 1) continue;
        const qint64 t0 = lastNumber(start.first());
        int tables = 0;
        for (const auto& c : clients)
            tables += c->with(QStringLiteral("TABLE %1 ").arg(k)).size();
        const double fixed = kTableWaitMs * tables;
        if (k > 1) fixedLater = fixed;
        double last = 0;
        for (const auto& c : clients) {
            const QStringList playing = c->with(QStringLiteral("PLAYING %1 ").arg(k));
            if (playing.size() != 1) continue;
            const double rest = double(lastNumber(playing.first()) - t0) - fixed;
            (k == 1 ? first : later) << rest;
            // A wait of "more than 100 ms" on a millisecond clock takes at least 101.
            if (k > 1) laterLeast << rest - tables;
            last = std::max(last, rest);
            const QStringList open = c->with(QStringLiteral("OPEN %1 ").arg(k));
            const QStringList received = c->with(QStringLiteral("RECEIVED %1 ").arg(k));
            if (k > 1 && open.size() == 1 && received.size() == 1) {
                hostPart << double(lastNumber(open.first()) - t0) - fixed;
                transfer << double(lastNumber(received.first()) - lastNumber(open.first()));
                clientStart << double(lastNumber(playing.first()) - lastNumber(received.first()));
            }
        }
        if (k > 1) lastClient << last;
    }
    out() << QStringLiteral("%1 rounds of %2 s, %3 clients, excerpt %4 bytes\n")
                 .arg(rounds)
                 .arg(kSeconds)
                 .arg(kClients)
                 .arg(wire::excerptSize(kSeconds));
    out() << QStringLiteral("fixed waits (100 ms per client after the result table), later rounds: "
                            "%1 ms\n")
                 .arg(fixedLater);
    row(QStringLiteral("rest, round 1, each client"), first);
    row(QStringLiteral("rest, later rounds, each client"), later);
    row(QStringLiteral("rest past 101 ms per wait, later rounds"), laterLeast);
    row(QStringLiteral("rest, later rounds, last client"), lastClient);
    if (!hostPart.isEmpty()) {
        row(QStringLiteral("  of which: host, to the excerpt's first byte"), hostPart);
        row(QStringLiteral("  of which: the excerpt's transfer"), transfer);
        row(QStringLiteral("  of which: client, last byte to playing"), clientStart);
    }
    row(QStringLiteral("loopback limit, 4 x excerpt, plain sockets"), loopback);
    row(QStringLiteral("stage + write temp.mp3 + hand to the player"), floor);
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    return endProgram(run(argc, argv));
}
