#pragma once

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

// Player programs for the benchmarks: vdx_netplayer (or the program that
// VDX_NETPLAYER names) as host or client, each with a program folder of its own,
// on the central database that VONDRIX_DB_HOST / VONDRIX_DB_ADMIN_SOCKET name.
class Player {
public:
    Player(const QString& role, const QString& naam, const QStringList& extra);
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    bool has(const QString& prefix) const;
    QStringList with(const QString& prefix) const;
    bool finished() const { return process_.state() == QProcess::NotRunning; }
    QString dump() const;

private:
    QString naam_;
    QTemporaryDir home_;
    QProcess process_;
    QStringList lines_;
};

// A new user with password "pw" in the user table; its name starts with stem.
QString newUser(const QString& stem);
// Lets events run until done() or ms have passed; true when done.
bool waitFor(const std::function<bool()>& done, int ms);
// A steady-clock number from the end of a line ("PLAYING 3 123456").
qint64 lastNumber(const QString& line);
// The p-th percentile (0..100) of values, nearest rank.
double percentile(QList<double> values, double p);
// The machine line every benchmark prints first.
void printMachine();
