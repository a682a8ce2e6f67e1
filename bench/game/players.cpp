#include "bench/game/players.h"

#include "bench/machine.h"
#include "tests/support/admindb.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>
#include <QThread>
#include <QUuid>
#include <algorithm>
#include <cmath>

Player::Player(const QString& role, const QString& naam, const QStringList& extra) : naam_(naam) {
    QFile ini(home_.filePath(QStringLiteral("settings.ini")));
    if (ini.open(QIODevice::WriteOnly))
        ini.write("[controls]\r\ndevice=keyboard\r\nbutton1=q\r\nbutton2=w\r\nbutton3=e\r\n"
                  "button4=r\r\n");
    ini.close();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VONDRIX_HOME"), home_.path());
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process_.setProcessEnvironment(env);
    QObject::connect(&process_, &QProcess::readyReadStandardOutput, [this] {
        while (process_.canReadLine())
            lines_ << QString::fromUtf8(process_.readLine()).trimmed();
    });
    const QString program = qEnvironmentVariable("VDX_NETPLAYER", QStringLiteral(VDX_NETPLAYER));
    process_.start(program, QStringList{role, QStringLiteral("--user"), naam,
                                        QStringLiteral("--password"), QStringLiteral("pw")} +
                                extra);
}

Player::~Player() {
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

bool Player::has(const QString& prefix) const {
    return std::any_of(lines_.begin(), lines_.end(),
                       [&](const QString& l) { return l.startsWith(prefix); });
}

QStringList Player::with(const QString& prefix) const {
    QStringList found;
    for (const QString& l : lines_)
        if (l.startsWith(prefix)) found << l;
    return found;
}

QString Player::dump() const {
    return naam_ + QStringLiteral(":\n  ") + lines_.join(QStringLiteral("\n  ")) +
           QStringLiteral("\n  stderr: ") +
           QString::fromLocal8Bit(const_cast<QProcess&>(process_).readAllStandardError());
}

QString newUser(const QString& stem) {
    AdminDb db;
    const QString naam = stem + QUuid::createUuid().toString(QUuid::Id128).left(8);
    const qint64 id =
        db.value(QStringLiteral("select coalesce(max(user_id),0)+1 from phpbb_users")).toLongLong();
    db.exec(QStringLiteral("insert into phpbb_users (user_id, username, user_password, user_email, "
                           "user_from) values (?,?,md5(?),?,?)"),
            {id, naam, QStringLiteral("pw"), QStringLiteral("x@example.org"),
             QStringLiteral("Belgium ")});
    return naam;
}

bool waitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(20);
    }
    return done();
}

qint64 lastNumber(const QString& line) {
    return line.section(u' ', -1).toLongLong();
}

double percentile(QList<double> values, double p) {
    if (values.isEmpty()) return 0;
    std::sort(values.begin(), values.end());
    const auto rank = qsizetype(std::ceil(p / 100.0 * double(values.size())));
    return values.at(std::clamp<qsizetype>(rank - 1, 0, values.size() - 1));
}

void printMachine() {
    QTextStream(stdout) << "machine: " << QString::fromStdString(machineDescription()) << "\n";
}
