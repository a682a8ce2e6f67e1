#pragma once

#include "platform/dbconnection.h"

#include <QByteArray>
#include <memory>

struct st_mysql;

// One session with a MySQL/MariaDB server, made with the server's client library.
// The account, the database and the character set (utf8mb4) travel with the
// handshake, and a text carries one statement only (the server refuses a second
// one), so opening costs the connection and the login, nothing more (one round trip
// more where the server's own character set is another), and every statement one
// round trip. A session is used by one thread at a time; it may be
// opened on one thread and used on another.
class MysqlSession {
public:
    // Opens a session; nullptr, with the reason in error, when it cannot be had.
    static std::unique_ptr<MysqlSession> open(const DbSettings& settings, DbError& error);
    // Takes over a handle of the client library, which it closes.
    explicit MysqlSession(st_mysql* mysql) : mysql_(mysql) {}
    ~MysqlSession();
    MysqlSession(const MysqlSession&) = delete;
    MysqlSession& operator=(const MysqlSession&) = delete;

    // Runs one statement (UTF-8) and waits for it. On success rows holds what it
    // returned (nothing for a statement without rows) and count the number of rows
    // it returned, or else the number it changed. false: error() tells why.
    bool run(const QByteArray& sql, DbRecordset& rows, int& count);
    // A text (UTF-8) as a string literal for this session: between quotes, escaped
    // by the client library for the session's character set and SQL mode.
    QByteArray literal(const QByteArray& text) const;
    // Whether a backslash in a quoted text escapes the next character (it does not
    // under the SQL mode NO_BACKSLASH_ESCAPES).
    bool backslashEscapes() const;
    // Whether the server has closed the session while no statement ran (a restart,
    // KILL, its idle time-out): its socket is gone, or has something to read although
    // nothing was asked. Costs no round trip.
    bool closedByServer() const;
    // The error of the last operation.
    DbError error() const;

private:
    st_mysql* const mysql_;
};
