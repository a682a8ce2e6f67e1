#pragma once

#include "platform/dbconnection.h"

#include <QString>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

class QSqlError;
class QThread;

// The number and text of an error of Qt's SQL classes.
DbError dbErrorOf(const QSqlError& e);

// Registers a connection under name in the calling thread and opens it, one
// statement per text. Returns the error (Number 0 = open); on failure the name
// is removed again. An open session is handed to owner when that is another
// thread, so that it is used there only.
DbError openSession(const QString& name, const DbSettings& settings, QThread* owner = nullptr);

// Opens a session again on a thread of its own, so that a server that does not
// answer holds up no caller: at once, then again pause after each failed attempt
// (sooner when a caller asks), until a session is open (registered under name and
// handed to the thread that made this object) or this object goes. While it
// tries, name must not be used.
class Reconnector {
public:
    Reconnector(const QString& name, const DbSettings& settings, std::chrono::milliseconds pause);
    // Stops trying; waits for an attempt that runs (at most its connect time-out).
    ~Reconnector();
    Reconnector(const Reconnector&) = delete;
    Reconnector& operator=(const Reconnector&) = delete;

    // Waits at most wait for the attempt that runs (the first one, when none ended
    // yet); true once a session is open. With now, a caller that finds (or sees)
    // the last attempt failed and the next one only planned has one made at once
    // and waits for that one too. But when such a caller waited in vain, for half a
    // pause or more, less than a pause ago, the server is known to be away and the
    // call returns at once.
    bool open(std::chrono::milliseconds wait = {}, bool now = false);
    // The error of the last attempt that failed; Number 0 before one failed.
    DbError lastError();

private:
    void run();

    const QString name_;
    const DbSettings settings_;
    const std::chrono::milliseconds pause_;
    QThread* const owner_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool stop_ = false;
    bool open_ = false;
    bool startNow_ = false; // a caller wants the next attempt without the pause
    int started_ = 0;       // attempts begun
    int ended_ = 0;         // attempts ended
    // When a caller with now last waited without getting a session.
    bool waitedInVain_ = false;
    std::chrono::steady_clock::time_point waitedUntil_;
    DbError lastError_;
    std::thread thread_; // last: starts once the members above are ready
};
