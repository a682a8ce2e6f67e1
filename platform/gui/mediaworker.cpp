#include "platform/gui/mediaworker.h"

#include <QAudioOutput>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QSemaphore>
#include <QWaitCondition>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {
// Every worker that exists (for the end of the application), and the retired ones
// until their thread has ended; both used only on the thread that makes workers.
// The lists are never destroyed: a stuck worker's thread must never be waited for,
// not even by the destructors that run at exit.
std::vector<MediaWorker*>& workers() {
    static auto* const list = new std::vector<MediaWorker*>;
    return *list;
}
std::vector<std::unique_ptr<MediaWorker>>& retiredWorkers() {
    static auto* const list = new std::vector<std::unique_ptr<MediaWorker>>;
    return *list;
}

// The backend keeps state for the whole process that it does not guard against
// players made, changed and torn down on several threads at once (the sound
// server's main loop, freed with the last sink while a new sink sets its volume):
// the workers' calls take turns. A turn held longer than a call's bound belongs to
// a stuck worker and is taken over.
class Turn {
public:
    void take(const MediaWorker* worker) {
        QMutexLocker lock(&mutex_);
        while (owner_ && owner_ != worker && !since_.hasExpired(MediaWorker::kCallBoundMs))
            free_.wait(&mutex_, QDeadlineTimer(MediaWorker::kCallBoundMs - since_.elapsed()));
        owner_ = worker;
        since_.start();
    }
    void give(const MediaWorker* worker) {
        QMutexLocker lock(&mutex_);
        if (owner_ != worker) return; // taken over meanwhile
        owner_ = nullptr;
        free_.wakeOne();
    }

private:
    QMutex mutex_;
    QWaitCondition free_;
    const MediaWorker* owner_ = nullptr;
    QElapsedTimer since_;
};

Turn& turn() {
    static auto* const t = new Turn; // never destroyed, like the workers' lists
    return *t;
}

// Posts fn to the thread of context and waits for it, at most the bound.
bool postAndWait(QObject* context, std::function<void()> fn, int boundMs) {
    auto done = std::make_shared<QSemaphore>();
    QMetaObject::invokeMethod(
        context,
        [fn = std::move(fn), done] {
            fn();
            done->release();
        },
        Qt::QueuedConnection);
    return done->tryAcquire(1, boundMs);
}
} // namespace

MediaWorker::MediaWorker(float volume) {
    [[maybe_unused]] static const bool atExit = (qAddPostRoutine(&MediaWorker::finishAll), true);
    workers().push_back(this);
    thread_.setObjectName(QStringLiteral("media player"));
    context_.moveToThread(&thread_);
    thread_.start();
    stuck_ = !postAndWait(
        &context_,
        [this, volume] {
            turn().take(this);
            player_ = std::make_unique<QMediaPlayer>();
            auto* output = new QAudioOutput(player_.get());
            output->setVolume(volume);
            player_->setAudioOutput(output);
            QMediaPlayer* p = player_.get();
            const auto update = [this, p] { record(*p); };
            QObject::connect(p, &QMediaPlayer::playbackStateChanged, p, update);
            QObject::connect(p, &QMediaPlayer::mediaStatusChanged, p, update);
            QObject::connect(p, &QMediaPlayer::errorOccurred, p, update);
            QObject::connect(p, &QMediaPlayer::positionChanged, p, update);
            record(*p);
            turn().give(this);
        },
        kCallBoundMs);
    if (stuck_) endLater();
}

MediaWorker::~MediaWorker() {
    Q_ASSERT(thread_.isFinished());
    thread_.wait();
    std::erase(workers(), this);
}

bool MediaWorker::run(std::function<void(QMediaPlayer&)> call, int boundMs) {
    if (stuck_ || thread_.isFinished()) return false;
    const bool done = postAndWait(
        &context_,
        [this, call = std::move(call)] {
            if (player_) {
                turn().take(this);
                call(*player_);
                record(*player_);
                turn().give(this);
            }
        },
        boundMs);
    if (!done) {
        stuck_ = true;
        endLater();
    }
    return done;
}

MediaSnapshot MediaWorker::snapshot() const {
    QMutexLocker lock(&mutex_);
    return snapshot_;
}

void MediaWorker::record(const QMediaPlayer& player) {
    MediaSnapshot now;
    now.state = player.playbackState();
    now.media = player.mediaStatus();
    now.error = player.error();
    now.position = player.position();
    if (player.audioOutput()) now.volume = player.audioOutput()->volume();
    QMutexLocker lock(&mutex_);
    // A worker serves one item: its error stays, also when play() clears the player's.
    if (now.error == QMediaPlayer::NoError) now.error = snapshot_.error;
    snapshot_ = now;
}

void MediaWorker::finish() {
    turn().take(this);
    player_.reset();
    turn().give(this);
    thread_.quit();
}

// Queued behind whatever the thread runs now: a stuck call that comes back after
// all ends the worker.
void MediaWorker::endLater() {
    QMetaObject::invokeMethod(
        &context_, [this] { finish(); }, Qt::QueuedConnection);
}

void MediaWorker::retire(std::unique_ptr<MediaWorker> worker) {
    auto& retired = retiredWorkers();
    // Those that have ended go now.
    std::erase_if(retired, [](const auto& w) { return w->thread_.isFinished(); });
    if (!worker) return;
    if (!worker->stuck_) worker->endLater();
    retired.push_back(std::move(worker));
}

void MediaWorker::finishAll() {
    const QDeadlineTimer deadline(kCallBoundMs);
    for (MediaWorker* w : workers())
        if (!w->stuck_ && !w->thread_.isFinished()) w->endLater();
    for (MediaWorker* w : workers())
        if (!w->stuck_ && !w->thread_.wait(deadline)) w->stuck_ = true;
    retire(nullptr);
    // At exit the media libraries tear down what is left of them, and Qt Multimedia
    // (6.4) then disconnects from the sound server without the lock of the thread that
    // serves the connection, which now and then aborts the process in PulseAudio's main
    // loop. With every player gone, the process ends before that, with its status.
    [[maybe_unused]] static const bool endEarly = (on_exit(
                                                       [](int status, void*) {
                                                           std::fflush(nullptr);
                                                           std::_Exit(status);
                                                       },
                                                       nullptr),
                                                   true);
}

int MediaWorker::running() {
    return int(std::count_if(workers().begin(), workers().end(), [](const MediaWorker* w) {
        return !w->stuck_ && !w->thread_.isFinished();
    }));
}
