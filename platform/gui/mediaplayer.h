#pragma once

#include <QAudioOutput>
#include <QList>
#include <QMediaPlayer>
#include <QObject>
#include <QString>

class QTimer;

// A media item: a file the player can make current.
struct MediaItem {
    QString sourceURL;
    bool isNull() const { return sourceURL.isEmpty(); }
};

// The media player of the game window: one item at a time, no controls on screen.
// Errors of the player (missing file, no sound device) only mean no sound.
class MediaPlayer : public QObject {
    Q_OBJECT
public:
    explicit MediaPlayer(QObject* parent = nullptr);

    // URL: setting it loads the file as the current item (again, when it is the same file).
    void setURL(const QString& file);
    QString URL() const { return url_; }
    // The player shows nothing; the mode is only kept.
    void setUiMode(const QString& mode) { uiMode_ = mode; }
    QString uiMode() const { return uiMode_; }

    // A media item for a file.
    MediaItem newMedia(const QString& file) const { return MediaItem{file}; }
    // mediaCollection.add: the item of a file, for currentMedia.
    MediaItem mediaCollectionAdd(const QString& file) const { return newMedia(file); }
    // currentMedia: makes the item current, reading its file anew.
    void setCurrentMedia(const MediaItem& item) { setURL(item.sourceURL); }
    MediaItem currentMedia() const { return MediaItem{url_}; }

    // controls.play, controls.stop, controls.pause
    void play() {
        if (player_) player_->play();
    }
    void stop();
    void pause();
    // Stops and releases the current item. The next item gets a new player.
    void close();

    // settings.volume: 0 .. 100.
    int volume() const;
    void setVolume(int level);

    QMediaPlayer::PlaybackState playState() const {
        return player_ ? player_->playbackState() : QMediaPlayer::StoppedState;
    }
    // The Qt player of the current item (an empty one after close); each URL, close
    // and failed stop makes a new one, so do not keep the reference.
    QMediaPlayer& player();

private:
    bool failed() const { return player_ && player_->error() != QMediaPlayer::NoError; }
    // The current player becomes a new one: the spare when there is one.
    void renew();
    // The current player goes: at once while it sounds, a while later when stopped.
    void retire();
    // Out of the way of a round's start: tears down the players that went and
    // makes a spare.
    void tidy();

    // Each player is a child with an audio output of its own; the volume is kept here.
    QMediaPlayer* player_ = nullptr;
    QMediaPlayer* spare_ = nullptr;
    QList<QMediaPlayer*> retired_;
    QTimer* tidyTimer_;
    float volume_ = 1.0f;
    QString url_;
    QString uiMode_;
};
