#pragma once

#include <QElapsedTimer>
#include <QMediaPlayer>
#include <QMutex>
#include <QObject>
#include <QThread>
#include <atomic>
#include <functional>
#include <memory>

// What a worker's player showed last; read on the window's thread without waiting.
struct MediaSnapshot {
    QMediaPlayer::PlaybackState state = QMediaPlayer::StoppedState;
    QMediaPlayer::MediaStatus media = QMediaPlayer::NoMedia;
    QMediaPlayer::Error error = QMediaPlayer::NoError;
    qint64 position = 0;
    float volume = 1.0f; // of the audio output
};

// One Qt media player and its audio output on a thread of their own. The calling
// thread hands each call to that thread and waits for it at most its bound: the
// media backend (Qt 6.4 with GStreamer) can deadlock inside a call for good. The
// workers' calls take turns (see the .cpp). A worker is stuck when its thread holds
// the turn for the whole bound of its call, or, when the wait for a call ends, has
// held it or been away from its calls for half that call's bound; the time it waits
// for another worker's turn does not count. A stuck worker holds no turn, is never
// waited for again, and ends by itself should its call come back after all. All of
// it is used from one thread, the window's.
class MediaWorker {
public:
    static constexpr int kCallBoundMs = 3000;

    // Starts the thread and has it make the player, without waiting: the first call
    // waits for that too.
    explicit MediaWorker(float volume);
    // Only a worker whose thread has ended is destroyed: hand the others to retire().
    ~MediaWorker();
    MediaWorker(const MediaWorker&) = delete;
    MediaWorker& operator=(const MediaWorker&) = delete;

    // Runs call on the worker's thread, waiting at most boundMs; true when it came
    // back in time. When it did not, the worker is stuck, or the call (held up by
    // another worker's turn) is still made, late.
    bool run(std::function<void(QMediaPlayer&)> call, int boundMs = kCallBoundMs);
    bool stuck() const { return stuck_; }
    MediaSnapshot snapshot() const;

    // Ends a worker in the background: the caller does not wait for its player's
    // teardown. A stuck one is left behind for good.
    static void retire(std::unique_ptr<MediaWorker> worker);
    // Ends every worker, waiting at most kCallBoundMs in all. Runs when the application
    // object goes, so that no player outlives it.
    static void finishAll();
    // Workers whose thread still runs, stuck ones left out.
    static int running();

private:
    class Turn;
    enum class Phase { Away, Waiting, Holding }; // where the thread is, as to the turn
    static Turn& turn();

    // On the worker's thread: runs fn in a turn of at most boundMs, unless stuck.
    void inTurn(const std::function<void()>& fn, int boundMs);
    void record(const QMediaPlayer& player);
    // On the worker's thread: the player goes, then the thread's event loop ends.
    void finish();
    void endLater();

    QThread thread_;
    QObject context_; // lives on thread_: calls are queued to it
    std::unique_ptr<QMediaPlayer> player_;
    mutable QMutex mutex_;
    MediaSnapshot snapshot_;
    std::atomic<bool> stuck_ = false;
    // Guarded by the turn's mutex.
    Phase phase_ = Phase::Away;
    QElapsedTimer phaseSince_;
};
