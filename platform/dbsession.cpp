#include "platform/dbsession.h"

#include "platform/mysqlhandle.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QThread>
#include <algorithm>

namespace {

const QString kDriver = QStringLiteral("QMYSQL");

} // namespace

DbError dbErrorOf(const QSqlError& e) {
    bool ok = false;
    int number = e.nativeErrorCode().toInt(&ok);
    if (!ok || number == 0) number = 2000; // the client library's "unknown error"
    QString text = e.databaseText().trimmed();
    if (text.isEmpty()) text = e.driverText().trimmed();
    if (text.isEmpty()) text = QStringLiteral("Unknown database error");
    return {number, text};
}

DbError openSession(const QString& name, const DbSettings& s, QThread* owner) {
    if (!QSqlDatabase::isDriverAvailable(kDriver))
        return {2000, QStringLiteral("The MySQL driver of Qt (QMYSQL) is not installed")};
    DbError error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(kDriver, name);
        db.setHostName(s.host);
        db.setPort(s.port);
        db.setUserName(s.user);
        db.setPassword(s.password);
        db.setDatabaseName(s.database);
        db.setConnectOptions(
            QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT=%1;MYSQL_OPT_READ_TIMEOUT=%2;"
                           "MYSQL_OPT_WRITE_TIMEOUT=%3;MYSQL_OPT_RECONNECT=0")
                .arg(s.connectTimeout)
                .arg(s.readTimeout)
                .arg(s.writeTimeout));
        if (db.open()) {
            // Qt's MySQL driver lets one text carry several statements; only the first
            // result would be seen and errors of the others would be lost.
            mysqlhandle::singleStatements(db);
            if (owner && owner != QThread::currentThread()) db.driver()->moveToThread(owner);
            return {};
        }
        error = dbErrorOf(db.lastError());
    }
    QSqlDatabase::removeDatabase(name);
    return error;
}

Reconnector::Reconnector(const QString& name, const DbSettings& settings,
                         std::chrono::milliseconds pause)
    : name_(name), settings_(settings), pause_(pause), owner_(QThread::currentThread()),
      thread_([this] { run(); }) {}

Reconnector::~Reconnector() {
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

bool Reconnector::open(std::chrono::milliseconds wait, bool now) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    std::unique_lock lock(mutex_);
    if (open_) return true;
    if (now && waitedInVain_ && start - waitedUntil_ < pause_) return false;
    bool asked = false;
    bool timedOut = false;
    while (!open_) {
        int awaited = std::max(started_, 1);    // the attempt that runs, or the first
        if (started_ == ended_ && ended_ > 0) { // the last one failed, the next is planned
            if (!now || asked) break;
            asked = startNow_ = true;
            awaited = started_ + 1;
            changed_.notify_all();
        }
        timedOut =
            !changed_.wait_until(lock, start + wait, [&] { return open_ || ended_ >= awaited; });
        if (timedOut) break;
    }
    // A server that is refused at once may be back in a moment; one that kept the
    // caller waiting is away.
    if (now && !open_ && (timedOut || Clock::now() - start >= pause_ / 2)) {
        waitedInVain_ = true;
        waitedUntil_ = Clock::now();
    }
    return open_;
}

DbError Reconnector::lastError() {
    const std::lock_guard lock(mutex_);
    return lastError_;
}

void Reconnector::run() {
    std::unique_lock lock(mutex_);
    while (!stop_) {
        ++started_;
        startNow_ = false;
        lock.unlock();
        const DbError error = openSession(name_, settings_, owner_);
        lock.lock();
        ++ended_;
        open_ = error.Number == 0;
        if (!open_) lastError_ = error;
        changed_.notify_all();
        if (open_) return;
        changed_.wait_for(lock, pause_, [this] { return stop_ || startNow_; });
    }
}
