#include "platform/dbconnection.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <atomic>
#include <dlfcn.h>

namespace {

const QString kDriver = QStringLiteral("QMYSQL");

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

// Errors after which the session is dead: server gone away, connection lost.
bool connectionLost(int number) {
    return number == 2006 || number == 2013 || number == 2055;
}

// Qt's MySQL driver lets one text carry several statements; only the first
// result would be seen and errors of the others would be lost. Switch that off,
// through the client library the driver has loaded, so one Execute is one statement.
bool singleStatements(const QSqlDatabase& db) {
    const QVariant handle = db.driver()->handle();
    const QByteArray type = handle.typeName();
    if (type != "MYSQL*" && type != "st_mysql*") return false;
    void* mysql = *static_cast<void* const*>(handle.constData());
    if (!mysql) return false;
    using SetServerOption = int (*)(void*, int);
    constexpr int kMultiStatementsOff = 1; // MYSQL_OPTION_MULTI_STATEMENTS_OFF
    for (const char* library : {"libmariadb.so.3", "libmysqlclient.so.21"}) {
        void* lib = dlopen(library, RTLD_NOW | RTLD_NOLOAD);
        if (!lib) continue;
        const auto setOption =
            reinterpret_cast<SetServerOption>(dlsym(lib, "mysql_set_server_option"));
        const bool ok = setOption && setOption(mysql, kMultiStatementsOff) == 0;
        dlclose(lib);
        return ok;
    }
    return false;
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
    if (!QSqlDatabase::isDriverAvailable(kDriver)) {
        error_ = {2000, QStringLiteral("The MySQL driver of Qt (QMYSQL) is not installed")};
        closedReason_ = error_;
        return error_.Number;
    }
    QSqlDatabase db = QSqlDatabase::contains(name_) ? QSqlDatabase::database(name_, false)
                                                    : QSqlDatabase::addDatabase(kDriver, name_);
    db.close();
    db.setHostName(host);
    db.setPort(port);
    db.setUserName(user);
    db.setPassword(password);
    db.setDatabaseName(database);
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
    singleStatements(db);
    error_ = {};
    closedReason_ = notConnected();
    return 0;
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
    if (State() != kConnected) {
        error_ = closedReason_;
        return {};
    }
    QSqlDatabase db = QSqlDatabase::database(name_, false);
    QSqlQuery query(db);
    query.setForwardOnly(true); // the rows are copied out below
    bool ok = false;
    if (values && !values->isEmpty()) {
        ok = query.prepare(sql);
        if (ok) {
            for (const QVariant& value : *values)
                query.addBindValue(value);
            ok = query.exec();
        }
    } else {
        ok = query.exec(sql); // plain text protocol: one statement, session kept
    }
    if (!ok) {
        error_ = fromSqlError(query.lastError());
        if (connectionLost(error_.Number)) {
            query = QSqlQuery();
            db.close();
            closedReason_ = {2006, QStringLiteral("MySQL server has gone away")};
        }
        return {};
    }
    error_ = {};
    if (!query.isSelect()) {
        count = qMax(0, query.numRowsAffected());
        return {};
    }
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
    count = int(rows.size());
    return DbRecordset(std::move(names), std::move(rows));
}
