#include "platform/gui/mediaworker.h"

#include <QAudioOutput>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSemaphore>
#include <QWaitCondition>
#include <algorithm>
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

// Posts fn to the thread of context; done is released when it has run.
std::shared_ptr<QSemaphore> post(QObject* context, std::function<void()> fn) {
    auto done = std::make_shared<QSemaphore>();
    QMetaObject::invokeMethod(
        context,
        [fn = std::move(fn), done] {
            fn();
            done->release();
        },
        Qt::QueuedConnection);
    return done;
}
} // namespace

// The backend keeps state for the whole process that it does not guard against
// players made, changed and torn down on several threads at once (the sound
// server's main loop, freed with the last sink while a new sink sets its volume):
// the workers' calls take turns. A turn held longer than the bound of its call
// belongs to a stuck worker and goes to the next; so does the turn of a worker the
// window finds stuck.
class MediaWorker::Turn {
public:
    void take(MediaWorker* worker, int boundMs) {
        QMutexLocker lock(&mutex_);
        enter(worker, Phase::Waiting);
        while (owner_) {
            const qint64 left = ownerBoundMs_ - owner_->phaseSince_.elapsed();
            if (left <= 0) {
                owner_->stuck_ = true;
                break;
            }
            free_.wait(&mutex_, QDeadlineTimer(left));
        }
        owner_ = worker;
        ownerBoundMs_ = boundMs;
        enter(worker, Phase::Holding);
    }
    void give(MediaWorker* worker) {
        QMutexLocker lock(&mutex_);
        enter(worker, Phase::Away);
        if (owner_ == worker) release();
    }
    // A call on worker did not come back within boundMs. Its worker is stuck when its
    // thread has held the turn, or been away from its calls, for half of that; when
    // it waits for the turn, the holder is to blame, not this worker.
    bool judge(MediaWorker* worker, int boundMs) {
        QMutexLocker lock(&mutex_);
        if (!worker->stuck_ &&
            (worker->phase_ == Phase::Waiting || worker->phaseSince_.elapsed() < boundMs / 2))
            return false;
        worker->stuck_ = true;
        if (owner_ == worker) release();
        return true;
    }

private:
    static void enter(MediaWorker* worker, Phase phase) {
        worker->phase_ = phase;
        worker->phaseSince_.start();
    }
    void release() {
        owner_ = nullptr;
        free_.wakeAll();
    }

    QMutex mutex_;
    QWaitCondition free_;
    MediaWorker* owner_ = nullptr;
    int ownerBoundMs_ = 0;
};

MediaWorker::Turn& MediaWorker::turn() {
    static auto* const t = new Turn; // never destroyed, like the workers' lists
    return *t;
}

MediaWorker::MediaWorker(float volume) {
    [[maybe_unused]] static const bool atExit = (qAddPostRoutine(&MediaWorker::finishAll), true);
    workers().push_back(this);
    phaseSince_.start();
    thread_.setObjectName(QStringLiteral("media player"));
    context_.moveToThread(&thread_);
    thread_.start();
    post(&context_, [this, volume] {
        inTurn(
            [this, volume] {
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
            },
            kCallBoundMs);
    });
}

MediaWorker::~MediaWorker() {
    Q_ASSERT(thread_.isFinished());
    thread_.wait();
    std::erase(workers(), this);
}

void MediaWorker::inTurn(const std::function<void()>& fn, int boundMs) {
    if (stuck_) return; // its call came back after all: only its end is left
    turn().take(this, boundMs);
    fn();
    turn().give(this);
}

bool MediaWorker::run(std::function<void(QMediaPlayer&)> call, int boundMs) {
    if (stuck_ || thread_.isFinished()) return false;
    const auto done = post(&context_, [this, call = std::move(call), boundMs] {
        inTurn(
            [this, &call] {
                if (!player_) return;
                call(*player_);
                record(*player_);
            },
            boundMs);
    });
    if (done->tryAcquire(1, boundMs)) return true;
    return !turn().judge(this, boundMs) && done->tryAcquire(1, 0);
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

// Also when stuck: a call that came back after all.
void MediaWorker::finish() {
    turn().take(this, kCallBoundMs);
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
    worker->endLater();
    retired.push_back(std::move(worker));
}

void MediaWorker::finishAll() {
    const QDeadlineTimer deadline(kCallBoundMs);
    for (MediaWorker* w : workers())
        if (!w->stuck_ && !w->thread_.isFinished()) w->endLater();
    for (MediaWorker* w : workers())
        if (!w->stuck_ && !w->thread_.wait(deadline)) w->stuck_ = true;
    retire(nullptr);
}

int MediaWorker::running() {
    return int(std::count_if(workers().begin(), workers().end(), [](const MediaWorker* w) {
        return !w->stuck_ && !w->thread_.isFinished();
    }));
}
