#include "tests/support/admindb.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <atomic>

bool centralDbAvailable() {
    return !qEnvironmentVariableIsEmpty("VONDRIX_DB_HOST") &&
           !qEnvironmentVariableIsEmpty("VONDRIX_DB_ADMIN_SOCKET");
}

AdminDb::AdminDb(const QString& database) {
    static std::atomic<int> next{1};
    name_ = QStringLiteral("vdx_admin_%1").arg(next++);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), name_);
    db.setHostName(QStringLiteral("localhost"));
    db.setUserName(QStringLiteral("root"));
    db.setDatabaseName(database);
    db.setConnectOptions(QStringLiteral("UNIX_SOCKET=") +
                         qEnvironmentVariable("VONDRIX_DB_ADMIN_SOCKET"));
    if (!db.open()) lastError_ = db.lastError().text();
}

AdminDb::~AdminDb() {
    {
        QSqlDatabase db = QSqlDatabase::database(name_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name_);
}

bool AdminDb::isOpen() const {
    return QSqlDatabase::database(name_, false).isOpen();
}

namespace {
bool runQuery(QSqlQuery& query, const QString& sql, const QVariantList& values) {
    if (values.isEmpty()) return query.exec(sql);
    if (!query.prepare(sql)) return false;
    for (const QVariant& v : values)
        query.addBindValue(v);
    return query.exec();
}
} // namespace

bool AdminDb::exec(const QString& sql, const QVariantList& values) {
    QSqlQuery query(QSqlDatabase::database(name_, false));
    const bool ok = runQuery(query, sql, values);
    lastError_ = ok ? QString() : query.lastError().text();
    return ok;
}

QList<QVariantList> AdminDb::rows(const QString& sql, const QVariantList& values) {
    QSqlQuery query(QSqlDatabase::database(name_, false));
    const bool ok = runQuery(query, sql, values);
    lastError_ = ok ? QString() : query.lastError().text();
    QList<QVariantList> out;
    const int columns = query.record().count();
    while (ok && query.next()) {
        QVariantList row;
        for (int i = 0; i < columns; ++i)
            row.append(query.value(i));
        out.append(row);
    }
    return out;
}

QVariant AdminDb::value(const QString& sql, const QVariantList& values) {
    const QList<QVariantList> r = rows(sql, values);
    return r.isEmpty() || r.first().isEmpty() ? QVariant() : r.first().first();
}
