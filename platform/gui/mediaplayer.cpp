#include "platform/gui/mediaplayer.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QDeadlineTimer>
#include <QMediaDevices>
#include <QMediaFormat>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <utility>

namespace {
// The spare worker is made this long after the last change of item, out of the
// way of a round's start.
constexpr int kTidyDelayMs = 1000;
// Loading an item is where the backend deadlocks: a race between the seek that ends
// the load and the decoder's streaming thread. A load whose worker got stuck is
// tried once more on a fresh worker, which rarely meets the race again.
constexpr int kLoadAttempts = 2;
constexpr int kLoadBoundMs = 2000;
} // namespace

MediaPlayer::MediaPlayer(QObject* parent) : QObject(parent), tidyTimer_(new QTimer(this)) {
    tidyTimer_->setSingleShot(true);
    tidyTimer_->setInterval(kTidyDelayMs);
    connect(tidyTimer_, &QTimer::timeout, this, &MediaPlayer::tidy);
    // The media backend and the list of sound devices start on this thread, not on
    // a worker's, which ends.
    QMediaFormat().supportedFileFormats(QMediaFormat::Decode);
    QMediaDevices::defaultAudioOutput();
}

MediaPlayer::~MediaPlayer() {
    MediaWorker::retire(std::move(worker_));
    MediaWorker::retire(std::move(spare_));
}

std::unique_ptr<MediaWorker> MediaPlayer::newWorker() {
    if (spare_ && spare_->stuck()) MediaWorker::retire(std::move(spare_));
    return spare_ ? std::move(spare_) : std::make_unique<MediaWorker>(volume_);
}

void MediaPlayer::call(std::function<void(QMediaPlayer&)> fn) {
    if (worker_ && !worker_->run(std::move(fn)) && worker_->stuck())
        MediaWorker::retire(std::move(worker_));
}

// Each item gets a player of its own: the media backend does not always play a
// second item in a player that played one before, and stopping a player whose item
// failed to load blocks for a second. The one that goes is torn down on its thread.
void MediaPlayer::setURL(const QString& file) {
    const QDeadlineTimer end(kLoadAttempts * kLoadBoundMs); // the tries' bounds in all
    MediaWorker::retire(std::move(worker_));
    url_ = file;
    tidyTimer_->start();
    if (file.isEmpty()) {
        worker_ = newWorker();
        return;
    }
    const auto load = [source = QUrl::fromLocalFile(file)](QMediaPlayer& p) {
        p.setSource(source);
    };
    for (int attempt = 0; attempt < kLoadAttempts && !worker_; ++attempt) {
        worker_ = newWorker();
        const int bound = int(std::min<qint64>(kLoadBoundMs, end.remainingTime()));
        if (!worker_->run(load, bound) && worker_->stuck()) MediaWorker::retire(std::move(worker_));
    }
}

void MediaPlayer::play() {
    call([](QMediaPlayer& p) { p.play(); });
}

void MediaPlayer::stop() {
    if (failed())
        setURL(url_); // the item stays current
    else
        call([](QMediaPlayer& p) { p.stop(); });
}

void MediaPlayer::pause() {
    if (!failed()) call([](QMediaPlayer& p) { p.pause(); });
}

void MediaPlayer::close() {
    MediaWorker::retire(std::move(worker_));
    url_.clear();
}

void MediaPlayer::tidy() {
    MediaWorker::retire(nullptr); // those that ended go
    if (!spare_) spare_ = newWorker();
}

MediaSnapshot MediaPlayer::shown() const {
    return worker_ ? worker_->snapshot() : MediaSnapshot{};
}

int MediaPlayer::volume() const {
    return int(std::lround(volume_ * 100));
}

void MediaPlayer::setVolume(int level) {
    volume_ = float(qBound(0, level, 100) / 100.0);
    const auto apply = [v = volume_](QMediaPlayer& p) { p.audioOutput()->setVolume(v); };
    call(apply);
    if (spare_ && !spare_->run(apply) && spare_->stuck()) MediaWorker::retire(std::move(spare_));
}
