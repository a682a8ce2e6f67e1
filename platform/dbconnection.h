#pragma once

#include "platform/dbrecordset.h"

#include <QString>
#include <QVariantList>

// Outcome of the last operation of a connection.
struct DbError {
    int Number = 0; // 0 = success; otherwise the MySQL error number
    QString Description;
};

// One connection to a MySQL/MariaDB server over Qt SQL (driver QMYSQL).
// Every statement runs on this one session, so a variable that one statement
// sets ("SET @t1=0") is seen by the next. The connection never reconnects by
// itself: when the server goes away, the failing statement reports the error and
// State() turns to kNotConnected; the caller decides whether to open again.
//
// Statements that carry outside text (user names, chat lines, descriptions ...)
// must use the overloads with bound values: put "?" where a value goes and pass
// the values in order. Such values are never pasted into the SQL text, so quotes,
// backslashes and ";" in them are stored as typed and cannot change the statement.
class DbConnection {
public:
    static constexpr int kNotConnected = 1;
    static constexpr int kConnected = 0;
    // Reported by a statement made while no connection is open.
    static constexpr int kNotConnectedError = 2006;

    // Each connection needs a name of its own; empty = a generated one.
    explicit DbConnection(const QString& connectionName = {});
    ~DbConnection();
    DbConnection(const DbConnection&) = delete;
    DbConnection& operator=(const DbConnection&) = delete;

    // Opens (or re-opens) the session. Returns 0 on success, else the error
    // number, which Error() also reports. flags are accepted and not used.
    int OpenConnection(const QString& host, const QString& user, const QString& password,
                       const QString& database, int port, int flags);
    // kNotConnected (1) until an open succeeds and again after the server went away.
    int State() const;

    // Runs one statement and waits for it. count is set to the number of rows the
    // statement returned, or else the number of rows it changed. Returns the rows
    // of a statement that returns rows, otherwise (and on failure) nothing.
    DbRecordset Execute(const QString& sql, int& count);
    DbRecordset Execute(const QString& sql, const QVariantList& values, int& count);
    DbRecordset Execute(const QString& sql);
    DbRecordset Execute(const QString& sql, const QVariantList& values);

    DbError Error() const { return error_; }

    // Seconds before connecting, reading or writing gives up (defaults 5, 10, 10);
    // used by the next OpenConnection.
    void setTimeouts(int connectSeconds, int readSeconds, int writeSeconds);

private:
    DbRecordset run(const QString& sql, const QVariantList* values, int& count);

    QString name_;
    DbError error_;
    DbError closedReason_; // what a statement reports while not connected
    int connectTimeout_ = 5;
    int readTimeout_ = 10;
    int writeTimeout_ = 10;
};
