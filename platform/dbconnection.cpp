#include "platform/dbconnection.h"

#include "platform/clock.h"
#include "platform/mysqlhandle.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <atomic>
#include <utility>

namespace {

const QString kDriver = QStringLiteral("QMYSQL");
constexpr qsizetype kMaxSessionSets = 16;
// After a failed attempt to open again, statements report that failure for so
// long without trying: a server that does not answer costs one connect time-out,
// not one per statement.
constexpr quint32 kReopenPauseMs = 2000;

DbError notConnected() {
    return {DbConnection::kNotConnectedError,
            QStringLiteral("Not connected to the database server")};
}

DbError fromSqlError(const QSqlError& e) {
    bool ok = false;
    int number = e.nativeErrorCode().toInt(&ok);
    if (!ok || number == 0) number = 2000; // the client library's "unknown error"
    QString text = e.databaseText().trimmed();
    if (text.isEmpty()) text = e.driverText().trimmed();
    if (text.isEmpty()) text = QStringLiteral("Unknown database error");
    return {number, text};
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
    if (!QSqlDatabase::contains(name_)) return;
    {
        QSqlDatabase db = QSqlDatabase::database(name_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name_);
}

int DbConnection::OpenConnection(const QString& host, const QString& user, const QString& password,
                                 const QString& database, int port, int /*flags*/) {
    const Account account{host, user, password, database, port};
    if (!(account == account_)) reopenable_ = false;
    account_ = account;
    sessionSets_.clear();
    reopenFailed_ = false;
    const int result = open(account);
    if (result == 0) reopenable_ = true;
    return result;
}

int DbConnection::open(const Account& account) {
    if (!QSqlDatabase::isDriverAvailable(kDriver)) {
        error_ = {2000, QStringLiteral("The MySQL driver of Qt (QMYSQL) is not installed")};
        closedReason_ = error_;
        return error_.Number;
    }
    QSqlDatabase db = QSqlDatabase::contains(name_) ? QSqlDatabase::database(name_, false)
                                                    : QSqlDatabase::addDatabase(kDriver, name_);
    db.close();
    db.setHostName(account.host);
    db.setPort(account.port);
    db.setUserName(account.user);
    db.setPassword(account.password);
    db.setDatabaseName(account.database);
    db.setConnectOptions(QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT=%1;MYSQL_OPT_READ_TIMEOUT=%2;"
                                        "MYSQL_OPT_WRITE_TIMEOUT=%3;MYSQL_OPT_RECONNECT=0")
                             .arg(connectTimeout_)
                             .arg(readTimeout_)
                             .arg(writeTimeout_));
    if (!db.open()) {
        error_ = fromSqlError(db.lastError());
        closedReason_ = error_;
        return error_.Number;
    }
    // Qt's MySQL driver lets one text carry several statements; only the first
    // result would be seen and errors of the others would be lost.
    mysqlhandle::singleStatements(db);
    error_ = {};
    closedReason_ = notConnected();
    return 0;
}

// A new session for the account that was open, with the user variables of the old one.
bool DbConnection::reopen() {
    if (reopenFailed_ && timeGetTime() - reopenFailedAt_ < kReopenPauseMs) {
        error_ = closedReason_;
        return false;
    }
    reopenFailed_ = open(account_) != 0;
    if (reopenFailed_) {
        reopenFailedAt_ = timeGetTime();
        return false;
    }
    const QList<Statement> sets = std::exchange(sessionSets_, {});
    for (const Statement& set : sets) {
        int count = 0;
        DbRecordset rows;
        if (attempt(set.sql, &set.values, count, rows) != Outcome::Done) return false;
    }
    return true;
}

void DbConnection::markLost() {
    {
        QSqlDatabase db = QSqlDatabase::database(name_, false);
        db.close();
    }
    closedReason_ = {2006, QStringLiteral("MySQL server has gone away")};
}

int DbConnection::State() const {
    if (!QSqlDatabase::contains(name_)) return kNotConnected;
    return QSqlDatabase::database(name_, false).isOpen() ? kConnected : kNotConnected;
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
    if (State() == kConnected && mysqlhandle::closedByServer(QSqlDatabase::database(name_, false)))
        markLost();
    if (State() != kConnected) {
        if (!reopenable_) {
            error_ = closedReason_;
            return {};
        }
        if (!reopen()) return {};
    }
    DbRecordset rows;
    const Outcome outcome = attempt(sql, values, count, rows);
    const bool again =
        outcome == Outcome::LostUnsent || (outcome == Outcome::LostMaybeRun && changesNoRows(sql));
    if (again && reopen()) attempt(sql, values, count, rows);
    return rows;
}

DbConnection::Outcome DbConnection::attempt(const QString& sql, const QVariantList* values,
                                            int& count, DbRecordset& rows) {
    count = 0;
    rows = {};
    QSqlDatabase db = QSqlDatabase::database(name_, false);
    bool sent = false;
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
            if (isUserVariableSet(sql)) {
                const Statement set{sql, values ? *values : QVariantList()};
                sessionSets_.removeAll(set);
                sessionSets_.append(set);
                if (sessionSets_.size() > kMaxSessionSets) sessionSets_.removeFirst();
            }
            if (!query.isSelect()) {
                count = qMax(0, query.numRowsAffected());
                return Outcome::Done;
            }
            rows = copyRows(query);
            count = rows.RecordCount();
            return Outcome::Done;
        }
        error_ = fromSqlError(query.lastError());
    }
    if (!connectionLost(error_.Number) && !mysqlhandle::closedByServer(db)) return Outcome::Failed;
    markLost();
    // The client library reports 2006 when it could not send the statement at all.
    return sent && error_.Number != 2006 ? Outcome::LostMaybeRun : Outcome::LostUnsent;
}
