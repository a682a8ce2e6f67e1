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
    else
        player_->stop();
}

void MediaPlayer::pause() {
    if (!failed()) player_->pause();
}

void MediaPlayer::close() {
    setURL(QString());
}

int MediaPlayer::volume() const {
    return int(std::lround(audio_.volume() * 100));
}

void MediaPlayer::setVolume(int level) {
    audio_.setVolume(qBound(0, level, 100) / 100.0);
}
