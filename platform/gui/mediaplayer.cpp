#include "platform/gui/mediaplayer.h"

#include <QUrl>
#include <cmath>

MediaPlayer::MediaPlayer(QObject* parent) : QObject(parent) {
    renew();
}

// Each item gets a player of its own: the media backend does not always play a second
// item in a player that played one before, and stopping a player whose item failed to
// load blocks for a second.
void MediaPlayer::renew() {
    player_ = std::make_unique<QMediaPlayer>();
    player_->setAudioOutput(&audio_);
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

// Making a player costs a few milliseconds, and the next item gets one of its own
// anyway: a closed player has none until then.
void MediaPlayer::close() {
    player_.reset();
    url_.clear();
}

QMediaPlayer& MediaPlayer::player() {
    if (!player_) renew();
    return *player_;
}

int MediaPlayer::volume() const {
    return int(std::lround(audio_.volume() * 100));
}

void MediaPlayer::setVolume(int level) {
    audio_.setVolume(qBound(0, level, 100) / 100.0);
}
