#include "platform/dbconnection.h"

#include "platform/mysqlsession.h"
#include "platform/reconnector.h"
#include "platform/sqlvalues.h"

#include <QElapsedTimer>
#include <optional>
#include <utility>

namespace {

constexpr qsizetype kMaxSessionSets = 16;
// Between attempts to open a lost session again.
constexpr std::chrono::milliseconds kReopenPause{2000};
// How long a timed poll that starts such an attempt waits for it.
constexpr std::chrono::milliseconds kReopenWait{1000};
// A statement that lost its session this close to the read time-out, or later,
// was given up by the client.
constexpr qint64 kTimeoutSlackMs = 100;
// The client library's "invalid parameter number".
constexpr int kValueCountError = 2034;

DbError notConnected() {
    return {DbConnection::kNotConnectedError,
            QStringLiteral("Not connected to the database server")};
}

// Errors after which the session is dead: server gone away, connection lost,
// connection killed, server shutting down.
bool connectionLost(int number) {
    return number == 2006 || number == 2013 || number == 2055 || number == 1927 || number == 1053;
}

// "SET @name=...": gives a user variable of the session a value.
bool isUserVariableSet(QStringView sql) {
    sql = sql.trimmed();
    if (!sql.startsWith(u"set", Qt::CaseInsensitive)) return false;
    sql = sql.mid(3);
    return sql.size() > 1 && sql.at(0).isSpace() && sql.trimmed().startsWith(u'@');
}

// Statements the server may run twice without changing a row.
bool changesNoRows(const QString& sql) {
    qsizetype i = 0;
    while (i < sql.size() && (sql.at(i).isSpace() || sql.at(i) == u'('))
        ++i;
    const QStringView rest = QStringView(sql).mid(i);
    if (rest.startsWith(u"select", Qt::CaseInsensitive) ||
        rest.startsWith(u"show", Qt::CaseInsensitive))
        return true;
    return isUserVariableSet(rest);
}

} // namespace

DbConnection::DbConnection() : closedReason_(notConnected()) {}

DbConnection::~DbConnection() = default;

int DbConnection::OpenConnection(const QString& host, const QString& user, const QString& password,
                                 const QString& database, int port, int /*flags*/) {
    reconnector_.reset(); // a lost session of the old account stays lost
    session_.reset();
    settings_ = {host,         user,         password, database, port, connectTimeout_,
                 readTimeout_, writeTimeout_};
    sessionSets_.clear();
    session_ = MysqlSession::open(settings_, error_);
    reopenable_ = session_ != nullptr;
    closedReason_ = session_ ? notConnected() : error_;
    return error_.Number;
}

// A new session for the account that was open, with the user variables of the old
// one. A timed poll waits only for the attempt it starts, and a little; any other
// statement waits for an attempt as long as budget allows, which the wait uses up.
bool DbConnection::reopen(std::chrono::milliseconds& budget) {
    using Clock = std::chrono::steady_clock;
    // A session opened while nobody asked may have been dropped by the server before
    // it was taken (its idle time-out, another restart): then one more.
    for (int handedOver = 0; handedOver < 2; ++handedOver) {
        const bool starting = !reconnector_;
        if (starting) reconnector_ = std::make_unique<Reconnector>(settings_, kReopenPause);
        std::chrono::milliseconds wait = std::max(budget, std::chrono::milliseconds{0});
        if (polling_) wait = starting ? kReopenWait : std::chrono::milliseconds{0};
        const Clock::time_point start = Clock::now();
        const bool open = reconnector_->open(wait, !polling_);
        if (!polling_)
            budget -= std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
        if (!open) {
            const DbError failed = reconnector_->lastError();
            error_ = failed.Number != 0 ? failed : closedReason_;
            error_.lostConnection = true;
            return false;
        }
        session_ = reconnector_->take();
        reconnector_.reset();
        if (!session_->closedByServer()) break;
        markLost();
    }
    if (!session_) {
        error_ = closedReason_;
        error_.lostConnection = true;
        return false;
    }
    closedReason_ = notConnected();
    // Kept until they are set: a session lost during the replay gets them too. One
    // that fails on its own (its table locked ...) is passed over.
    for (const Statement& set : std::as_const(sessionSets_)) {
        int count = 0;
        DbRecordset rows;
        attempt(set.sql, &set.values, count, rows);
        if (!session_) {
            error_.lostConnection = true;
            return false;
        }
    }
    return true;
}

void DbConnection::markLost() {
    session_.reset();
    closedReason_ = {2006, QStringLiteral("MySQL server has gone away")};
}

DbRecordset DbConnection::Execute(const QString& sql, int& count) {
    return run(sql, nullptr, count);
}

DbRecordset DbConnection::Execute(const QString& sql, const QVariantList& values, int& count) {
    return run(sql, &values, count);
}

DbRecordset DbConnection::Execute(const QString& sql) {
    int count = 0;
    return run(sql, nullptr, count);
}

DbRecordset DbConnection::Execute(const QString& sql, const QVariantList& values) {
    int count = 0;
    return run(sql, &values, count);
}

void DbConnection::setTimeouts(int connectSeconds, int readSeconds, int writeSeconds) {
    connectTimeout_ = connectSeconds;
    readTimeout_ = readSeconds;
    writeTimeout_ = writeSeconds;
}

DbRecordset DbConnection::run(const QString& sql, const QVariantList* values, int& count) {
    count = 0;
    if (!reopenable_) {
        error_ = closedReason_;
        error_.lostConnection = true;
        return {};
    }
    if (session_ && session_->closedByServer()) markLost();
    // What the statement may wait for a new session, in all.
    std::chrono::milliseconds budget{settings_.connectTimeout * 1000};
    if (!session_ && !reopen(budget)) return {};
    DbRecordset rows;
    Outcome outcome = attempt(sql, values, count, rows);
    const bool again =
        outcome == Outcome::LostUnsent || (outcome == Outcome::LostMaybeRun && changesNoRows(sql));
    if (again) {
        if (!reopen(budget)) return {};
        outcome = attempt(sql, values, count, rows);
    }
    switch (outcome) {
    case Outcome::Done:
        if (isUserVariableSet(sql)) {
            const Statement set{sql, values ? *values : QVariantList()};
            sessionSets_.removeAll(set);
            sessionSets_.append(set);
            if (sessionSets_.size() > kMaxSessionSets) sessionSets_.removeFirst();
        }
        break;
    case Outcome::Failed:
        break;
    case Outcome::GaveUp:
    case Outcome::LostMaybeRun:
        error_.lostConnection = true;
        error_.maybeStored = !changesNoRows(sql);
        break;
    case Outcome::LostUnsent:
        error_.lostConnection = true;
        break;
    }
    return rows;
}

DbConnection::Outcome DbConnection::attempt(const QString& sql, const QVariantList* values,
                                            int& count, DbRecordset& rows) {
    count = 0;
    rows = {};
    std::optional<QByteArray> text = sql.toUtf8();
    if (values && !values->isEmpty()) {
        text = bindValues(
            *text, *values, [this](const QByteArray& value) { return session_->literal(value); },
            session_->backslashEscapes());
        if (!text) {
            error_ = {kValueCountError,
                      QStringLiteral("The statement has not as many \"?\" marks as values")};
            return Outcome::Failed;
        }
    }
    QElapsedTimer took;
    took.start();
    if (session_->run(*text, rows, count)) {
        error_ = {};
        return Outcome::Done;
    }
    error_ = session_->error();
    if (!connectionLost(error_.Number) && !session_->closedByServer()) return Outcome::Failed;
    markLost();
    // The client library gives up waiting with "lost connection" too.
    if (error_.Number == 2013 && took.elapsed() >= settings_.readTimeout * 1000 - kTimeoutSlackMs)
        return Outcome::GaveUp;
    // The client library reports 2006 when it could not send the statement at all.
    return error_.Number != 2006 ? Outcome::LostMaybeRun : Outcome::LostUnsent;
}
