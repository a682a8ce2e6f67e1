#include "platform/reconnector.h"

#include "platform/mysqlsession.h"

#include <algorithm>

namespace {

// Failures of a server that is away for a moment (restarting, refusing, busy, shutting
// down); any other (a refused account, an unknown database or host) stays until
// something changes, so nobody waits for it to pass.
bool mayPass(int number) {
    switch (number) {
    case 1040: // too many connections
    case 1053: // shutting down
    case 1927: // connection killed
    case 2002: // cannot connect (socket)
    case 2003: // cannot connect (TCP): refused, or no answer
    case 2006: // gone away
    case 2013: // lost, also during the handshake
        return true;
    default:
        return false;
    }
}

} // namespace

Reconnector::Reconnector(const DbSettings& settings, std::chrono::milliseconds pause)
    : settings_(settings), pause_(pause), thread_([this] { run(); }) {}

Reconnector::~Reconnector() {
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

bool Reconnector::open(std::chrono::milliseconds wait, bool now) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    const Clock::time_point deadline = start + std::max(wait, std::chrono::milliseconds{0});
    std::unique_lock lock(mutex_);
    if (open_) return true;
    if (!now) {
        if (started_ == ended_ && ended_ > 0) return false; // the next one is only planned
        const int awaited = std::max(started_, 1);          // the one that runs, or the first
        changed_.wait_until(lock, deadline, [&] { return open_ || ended_ >= awaited; });
        return open_;
    }
    if (waitedInVain_ && start - waitedUntil_ < pause_) return false;
    const auto lastFailedForGood = [this] {
        return ended_ > 0 && started_ == ended_ && !mayPass(lastError_.Number);
    };
    if (lastFailedForGood()) return false;
    ++eager_;
    changed_.notify_all(); // the pause after a failed attempt shortens
    changed_.wait_until(lock, deadline, [&] { return open_ || lastFailedForGood(); });
    --eager_;
    // A wait of a moment says nothing (a caller with little time left); one that
    // lasted says the server is away.
    if (!open_ && Clock::now() - start >= pause_ / 2) {
        waitedInVain_ = true;
        waitedUntil_ = Clock::now();
    }
    return open_;
}

std::unique_ptr<MysqlSession> Reconnector::take() {
    const std::lock_guard lock(mutex_);
    return std::move(session_);
}

DbError Reconnector::lastError() {
    const std::lock_guard lock(mutex_);
    return lastError_;
}

void Reconnector::run() {
    using Clock = std::chrono::steady_clock;
    std::unique_lock lock(mutex_);
    while (!stop_) {
        ++started_;
        lock.unlock();
        DbError error;
        std::unique_ptr<MysqlSession> session = MysqlSession::open(settings_, error);
        lock.lock();
        ++ended_;
        if (session) {
            session_ = std::move(session);
            open_ = true;
            changed_.notify_all();
            return;
        }
        lastError_ = error;
        changed_.notify_all();
        const Clock::time_point ended = Clock::now();
        for (;;) {
            const bool eager = eager_ > 0 && mayPass(lastError_.Number);
            const Clock::time_point due = ended + (eager ? kEagerPause : pause_);
            if (stop_ || Clock::now() >= due) break;
            changed_.wait_until(lock, due);
        }
    }
}
