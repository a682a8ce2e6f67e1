#include "platform/dbconnection.h"

#include "platform/dbsession.h"
#include "platform/mysqlhandle.h"

#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <atomic>
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

DbRecordset copyRows(QSqlQuery& query) {
    const QSqlRecord record = query.record();
    QStringList names;
    names.reserve(record.count());
    for (int i = 0; i < record.count(); ++i)
        names.append(record.fieldName(i));
    QList<QVariantList> rows;
    if (query.size() > 0) rows.reserve(query.size());
    while (query.next()) {
        QVariantList row;
        row.reserve(names.size());
        for (int i = 0; i < names.size(); ++i) {
            const QVariant v = query.value(i);
            row.append(v.isNull() ? QVariant() : v);
        }
        rows.append(std::move(row));
    }
    return DbRecordset(std::move(names), std::move(rows));
}

QString generatedName() {
    static std::atomic<int> next{1};
    return QStringLiteral("vdx_db_%1").arg(next++);
}

} // namespace

DbConnection::DbConnection(const QString& connectionName)
    : name_(connectionName.isEmpty() ? generatedName() : connectionName),
      closedReason_(notConnected()) {}

DbConnection::~DbConnection() {
    reconnector_.reset();
    dropSession();
}

int DbConnection::OpenConnection(const QString& host, const QString& user, const QString& password,
                                 const QString& database, int port, int /*flags*/) {
    reconnector_.reset(); // a lost session of the old account stays lost
    dropSession();
    settings_ = {host,         user,         password, database, port, connectTimeout_,
                 readTimeout_, writeTimeout_};
    sessionSets_.clear();
    error_ = openSession(name_, settings_);
    open_ = reopenable_ = error_.Number == 0;
    closedReason_ = open_ ? notConnected() : error_;
    return error_.Number;
}

void DbConnection::dropSession() {
    open_ = false;
    if (!QSqlDatabase::contains(name_)) return;
    {
        QSqlDatabase db = QSqlDatabase::database(name_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name_);
}

// A new session for the account that was open, with the user variables of the old
// one. A timed poll waits only for the attempt it starts, and a little; any other
// statement waits for an attempt as long as budget allows, which the wait uses up.
bool DbConnection::reopen(std::chrono::milliseconds& budget) {
    using Clock = std::chrono::steady_clock;
    const bool starting = !reconnector_;
    if (starting) {
        dropSession();
        reconnector_ = std::make_unique<Reconnector>(name_, settings_, kReopenPause);
    }
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
    reconnector_.reset();
    open_ = true;
    closedReason_ = notConnected();
    // Kept until they are set: a session lost during the replay gets them too. One
    // that fails on its own (its table locked ...) is passed over.
    for (const Statement& set : std::as_const(sessionSets_)) {
        int count = 0;
        DbRecordset rows;
        attempt(set.sql, &set.values, count, rows);
        if (!open_) {
            error_.lostConnection = true;
            return false;
        }
    }
    return true;
}

void DbConnection::markLost() {
    {
        QSqlDatabase db = QSqlDatabase::database(name_, false);
        db.close();
    }
    open_ = false;
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
    if (open_ && mysqlhandle::closedByServer(QSqlDatabase::database(name_, false))) markLost();
    // What the statement may wait for a new session, in all.
    std::chrono::milliseconds budget{settings_.connectTimeout * 1000};
    if (!open_ && !reopen(budget)) return {};
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
    case Outcome::GaveUpUnsent:
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
    QSqlDatabase db = QSqlDatabase::database(name_, false);
    bool sent = false;
    QElapsedTimer took;
    took.start();
    {
        QSqlQuery query(db);
        query.setForwardOnly(true); // the rows are copied out below
        bool ok = false;
        if (values && !values->isEmpty()) {
            ok = query.prepare(sql); // runs nothing yet
            if (ok) {
                for (const QVariant& value : *values)
                    query.addBindValue(value);
                sent = true;
                ok = query.exec();
            }
        } else {
            sent = true;
            ok = query.exec(sql); // plain text protocol: one statement, session kept
        }
        if (ok) {
            error_ = {};
            if (!query.isSelect()) {
                count = qMax(0, query.numRowsAffected());
                return Outcome::Done;
            }
            rows = copyRows(query);
            count = rows.RecordCount();
            return Outcome::Done;
        }
        error_ = dbErrorOf(query.lastError());
    }
    if (!connectionLost(error_.Number) && !mysqlhandle::closedByServer(db)) return Outcome::Failed;
    markLost();
    // The client library gives up waiting with "lost connection" too.
    if (error_.Number == 2013 && took.elapsed() >= settings_.readTimeout * 1000 - kTimeoutSlackMs)
        return sent ? Outcome::GaveUp : Outcome::GaveUpUnsent;
    // The client library reports 2006 when it could not send the statement at all.
    return sent && error_.Number != 2006 ? Outcome::LostMaybeRun : Outcome::LostUnsent;
}
