#include "platform/gui/mediaplayer.h"

#include <QAudioOutput>
#include <QTimer>
#include <QUrl>
#include <cmath>
#include <memory>
#include <utility>

namespace {
// Tidying waits this long after the last change of player, out of the way of a
// round's start.
constexpr int kTidyDelayMs = 1000;
constexpr qsizetype kMaxRetired = 2;

QMediaPlayer* newPlayer(QObject* parent, float volume) {
    auto* player = new QMediaPlayer(parent);
    auto* output = new QAudioOutput(player);
    output->setVolume(volume);
    player->setAudioOutput(output);
    return player;
}
} // namespace

MediaPlayer::MediaPlayer(QObject* parent) : QObject(parent), tidyTimer_(new QTimer(this)) {
    tidyTimer_->setSingleShot(true);
    tidyTimer_->setInterval(kTidyDelayMs);
    connect(tidyTimer_, &QTimer::timeout, this, &MediaPlayer::tidy);
    // No spare yet: a player that never gets an item makes none.
    player_ = newPlayer(this, volume_);
}

// Making a player and its output takes milliseconds, tearing one down more: both
// are done a while after a change (tidy), and a new item takes the spare. Each item
// still gets a player of its own: the media backend does not always play a second
// item in a player that played one before, and stopping a player whose item failed
// to load blocks for a second.
void MediaPlayer::renew() {
    retire();
    player_ = spare_ ? std::exchange(spare_, nullptr) : newPlayer(this, volume_);
    tidyTimer_->start();
}

void MediaPlayer::retire() {
    if (!player_) return;
    std::unique_ptr<QMediaPlayer> player(std::exchange(player_, nullptr));
    // A player still sounding goes at once. A stopped one (the game stops a song
    // before it closes it) goes a while later: tearing it down takes milliseconds.
    if (!player->error() && player->playbackState() != QMediaPlayer::StoppedState) return;
    retired_.append(player.release());
    // Items in quick succession do not pile up players; these go before the next starts.
    while (retired_.size() > kMaxRetired)
        std::unique_ptr<QMediaPlayer>(retired_.takeFirst()).reset();
    tidyTimer_->start();
}

void MediaPlayer::tidy() {
    for (QMediaPlayer* player : std::exchange(retired_, {}))
        player->deleteLater();
    if (!spare_) spare_ = newPlayer(this, volume_);
}

void MediaPlayer::setURL(const QString& file) {
    renew();
    url_ = file;
    if (!file.isEmpty()) player_->setSource(QUrl::fromLocalFile(file));
}

void MediaPlayer::stop() {
    if (failed())
        setURL(url_); // the item stays current
    else if (player_)
        player_->stop();
}

void MediaPlayer::pause() {
    if (player_ && !failed()) player_->pause();
}

// The next item gets a player of its own anyway: a closed player has none until then.
void MediaPlayer::close() {
    retire();
    url_.clear();
}

QMediaPlayer& MediaPlayer::player() {
    if (!player_) renew();
    return *player_;
}

int MediaPlayer::volume() const {
    return int(std::lround(volume_ * 100));
}

void MediaPlayer::setVolume(int level) {
    volume_ = float(qBound(0, level, 100) / 100.0);
    for (QMediaPlayer* p : {player_, spare_})
        if (p) p->audioOutput()->setVolume(volume_);
}
