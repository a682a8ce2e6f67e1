#pragma once

#include "platform/dbrecordset.h"

#include <QString>
#include <QVariantList>
#include <chrono>
#include <memory>
#include <utility>

// Outcome of the last operation of a connection.
struct DbError {
    int Number = 0; // 0 = success; otherwise the MySQL error number
    QString Description;
    // The connection failed, not the statement: no session could be had, or it was
    // lost while the statement ran. The next statement may well fail the same way.
    bool lostConnection = false;
    // A change was sent and the connection broke before the server said whether it
    // ran (or the read time-out passed): the server may have stored it.
    bool maybeStored = false;
};

// Where and how a session connects: account, database and time-outs in seconds.
struct DbSettings {
    QString host, user, password, database;
    int port = 0;
    int connectTimeout = 5, readTimeout = 10, writeTimeout = 10;
};

class MysqlSession;
class Reconnector;

// One connection to a MySQL/MariaDB server (see MysqlSession). Every statement
// runs on this one session, so a variable that one statement sets ("SET @t1=0") is
// seen by the next, and each costs one round trip.
//
// Once open, the connection comes back by itself after the server dropped it (a
// restart, KILL, the idle time-out) and counts as usable meanwhile. Before a
// statement goes out the session is checked, without a round trip; a session found
// gone, or known gone since an earlier statement, is opened again with the same
// account and database first. A statement that loses the session while it runs is
// run once more on a new one when it only reads (SELECT, SHOW, SET @...) or never
// reached the server; a change that the server may have run is not repeated, and
// neither is a statement the client stopped waiting for (the read time-out passed:
// the server may still run it).
//
// A new session is opened on a thread of its own (see Reconnector), so a server
// that does not answer holds up no statement for long. A statement waits for a
// session, with an attempt about every half second while the server refuses (it
// is restarting), and then runs on the new session; all its waits for a session
// together last at most the connect time-out. After a wait of a second or more
// that got no session, the statements of the next two seconds report the error at
// once (the server is away; a loop of statements does not wait again and again).
// Statements made while a TimedPoll exists wait at most a second, and only for the
// attempt they start; after that they report at once the error of the last
// attempt (or of the lost session). With nobody waiting, a failed attempt is tried
// again two seconds later. A new session gets the user variables that "SET @..."
// statements gave the old one, set again in the same order (not values that later
// statements changed). OpenConnection always starts a fresh session, on the
// calling thread.
//
// Statements that carry outside text (user names, chat lines, descriptions ...)
// must use the overloads with values: put "?" where a value goes and pass the
// values in order. They are written into the statement as literals escaped by the
// client library for the session (see bindValues), so quotes, backslashes and ";"
// in them are stored as typed and cannot change the statement.
class DbConnection {
public:
    static constexpr int kNotConnected = 1;
    static constexpr int kConnected = 0;
    // Reported by a statement made before a connection was ever opened.
    static constexpr int kNotConnectedError = 2006;

    DbConnection();
    // Waits for an attempt to open a lost session again that runs (its connect
    // time-out at most).
    ~DbConnection();
    DbConnection(const DbConnection&) = delete;
    DbConnection& operator=(const DbConnection&) = delete;

    // Opens (or re-opens) the session, ending an attempt to open a lost one again.
    // Returns 0 on success, else the error number, which Error() also reports.
    // flags are accepted and not used.
    int OpenConnection(const QString& host, const QString& user, const QString& password,
                       const QString& database, int port, int flags);
    // kConnected once an open succeeded, also while a lost session is being opened
    // again (the next statement opens it or reports why it cannot); kNotConnected
    // before that and after an open that failed.
    int State() const { return reopenable_ ? kConnected : kNotConnected; }

    // Runs one statement and waits for it. count is set to the number of rows the
    // statement returned, or else the number of rows it changed. Returns the rows
    // of a statement that returns rows, otherwise (and on failure) nothing.
    DbRecordset Execute(const QString& sql, int& count);
    DbRecordset Execute(const QString& sql, const QVariantList& values, int& count);
    DbRecordset Execute(const QString& sql);
    DbRecordset Execute(const QString& sql, const QVariantList& values);

    DbError Error() const { return error_; }

    // Marks the statements made during its life as those of a timed poll: they do
    // not wait for a lost session to come back (see above).
    class TimedPoll {
    public:
        explicit TimedPoll(DbConnection& connection)
            : connection_(connection), was_(std::exchange(connection.polling_, true)) {}
        ~TimedPoll() { connection_.polling_ = was_; }
        TimedPoll(const TimedPoll&) = delete;
        TimedPoll& operator=(const TimedPoll&) = delete;

    private:
        DbConnection& connection_;
        const bool was_;
    };

    // Seconds before connecting, reading or writing gives up (defaults 5, 10, 10);
    // used from the next OpenConnection on.
    void setTimeouts(int connectSeconds, int readSeconds, int writeSeconds);

private:
    // Failed: an error of the statement; GaveUp: the read time-out passed, the
    // server may still run it; Lost...: the session went, before or after the
    // statement reached the server.
    enum class Outcome { Done, Failed, GaveUp, LostUnsent, LostMaybeRun };
    struct Statement {
        QString sql;
        QVariantList values;
        bool operator==(const Statement&) const = default;
    };

    DbRecordset run(const QString& sql, const QVariantList* values, int& count);
    Outcome attempt(const QString& sql, const QVariantList* values, int& count, DbRecordset& rows);
    bool reopen(std::chrono::milliseconds& budget);
    void markLost();

    DbSettings settings_;     // of the last OpenConnection
    bool reopenable_ = false; // the last OpenConnection succeeded: the session may come back
    bool polling_ = false;    // a TimedPoll exists
    std::unique_ptr<MysqlSession> session_;    // open; nullptr while lost
    std::unique_ptr<Reconnector> reconnector_; // opens a lost session again
    QList<Statement> sessionSets_; // the "SET @..." statements of the session, to set again
    DbError error_;
    DbError closedReason_; // what a statement reports while not connected
    int connectTimeout_ = 5;
    int readTimeout_ = 10;
    int writeTimeout_ = 10;
};
