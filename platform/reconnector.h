#pragma once

#include "platform/dbconnection.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

class MysqlSession;

// Opens a lost session again on a thread of its own, so that a server that does not
// answer holds up no caller: at once, then again a pause after each failed attempt,
// until a session is open or this object goes. While a caller waits for a session
// (open with now) the pause is half a second: a server that refuses while it
// restarts is asked again and again, as a connection pool does.
class Reconnector {
public:
    Reconnector(const DbSettings& settings, std::chrono::milliseconds pause);
    // Stops trying; waits for an attempt that runs (at most its connect time-out).
    ~Reconnector();
    Reconnector(const Reconnector&) = delete;
    Reconnector& operator=(const Reconnector&) = delete;

    // Waits at most wait for a session; true once one is open (take it with
    // take()). Without now the caller waits only for the attempt that runs (the
    // first one, when none ended yet): when the last attempt failed and the next is
    // only planned it returns at once. With now it waits for attempts, one about
    // every half second, until one succeeds or wait is spent, or one fails in a way
    // that does not pass by itself (the account refused, an unknown database). But
    // when such a caller waited in vain, for half a pause or more, less than a pause
    // ago, the server is known to be away and the call returns at once.
    bool open(std::chrono::milliseconds wait = {}, bool now = false);
    // The session that was opened; nullptr before.
    std::unique_ptr<MysqlSession> take();
    // The error of the last attempt that failed; Number 0 before one failed.
    DbError lastError();

    // Between attempts while a caller waits for one.
    static constexpr std::chrono::milliseconds kEagerPause{500};

private:
    void run();

    const DbSettings settings_;
    const std::chrono::milliseconds pause_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool stop_ = false;
    std::unique_ptr<MysqlSession> session_; // set once an attempt succeeded
    bool open_ = false;
    int started_ = 0; // attempts begun
    int ended_ = 0;   // attempts ended
    int eager_ = 0;   // callers waiting with now
    // When a caller with now last waited without getting a session.
    bool waitedInVain_ = false;
    std::chrono::steady_clock::time_point waitedUntil_;
    DbError lastError_;
    std::thread thread_; // last: starts once the members above are ready
};
