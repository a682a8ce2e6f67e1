// Answer path: a key press on a client to the host's record of the answer, over
// loopback, 1000 presses 20 ms apart; median and p99.
#include "bench/game/players.h"
#include "tests/support/freeport.h"
#include "tests/support/songfiles.h"

#include <QCoreApplication>
#include <QMap>
#include <QTemporaryDir>
#include <QTextStream>
#include <unistd.h>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    printMachine();
    const int presses = qEnvironmentVariableIntValue("VDX_BENCH_PRESSES") > 0
                            ? qEnvironmentVariableIntValue("VDX_BENCH_PRESSES")
                            : 1000;
    QTemporaryDir songsDir;
    const TestSongs songs = makeSongs(songsDir.path(), 6, 2);
    if (songs.paths.isEmpty()) {
        out << "sox and lame are needed for the songs\n";
        return 1;
    }
    const QStringList common{QStringLiteral("--port"), QString::number(freePort()),
                             QStringLiteral("--playlist"), songs.playlist};
    Player host(QStringLiteral("host"), newUser(QStringLiteral("ahost")),
                common + QStringList{"--answer-log"});
    if (!waitFor([&] { return host.has("LISTENING") || host.finished(); }, 30000) ||
        !host.has("LISTENING")) {
        out << "the host did not start:\n" << host.dump() << "\n";
        return 1;
    }
    Player client(QStringLiteral("client"), newUser(QStringLiteral("aclient")),
                  common + QStringList{"--presses", QString::number(presses)});
    if (!waitFor([&] { return client.has("DONE"); }, presses * 60 + 60000)) {
        out << "the presses did not end:\n" << client.dump() << "\n" << host.dump() << "\n";
        return 1;
    }
    waitFor([&] { return host.with(QStringLiteral("ANSWER ")).size() >= presses; }, 2000);

    const QStringList pressed = client.with(QStringLiteral("PRESS "));
    const QStringList recorded = host.with(QStringLiteral("ANSWER "));
    QList<double> ms;
    for (qsizetype n = 0; n < qMin(pressed.size(), recorded.size()); ++n)
        ms << double(lastNumber(recorded.at(n)) - lastNumber(pressed.at(n))) / 1000.0;
    out << QStringLiteral("%1 presses, %2 answers recorded\n")
               .arg(pressed.size())
               .arg(recorded.size());
    out << QStringLiteral("key press on the client to the host's record: median %1 ms, p99 %2 ms, "
                          "max %3 ms\n")
               .arg(percentile(ms, 50), 0, 'f', 3)
               .arg(percentile(ms, 99), 0, 'f', 3)
               .arg(percentile(ms, 100), 0, 'f', 3);
    return 0;
}
