#pragma once

#include "platform/gui/mediaworker.h"

#include <QMediaPlayer>
#include <QObject>
#include <QString>
#include <memory>

class QTimer;

// A media item: a file the player can make current.
struct MediaItem {
    QString sourceURL;
    bool isNull() const { return sourceURL.isEmpty(); }
};

// The media player of the game window: one item at a time, no controls on screen.
// Errors of the player (missing file, no sound device) only mean no sound.
//
// Each item plays on a Qt player of its own, on a thread of its own (MediaWorker).
// The window waits at most 2 x 2 s for a load (2 s, and 2 s more for one more try
// on a fresh worker when the first got stuck) and at most MediaWorker::kCallBoundMs
// for any other call. An item whose worker got stuck is silent; a call held up by
// another worker that got stuck is made late.
class MediaPlayer : public QObject {
    Q_OBJECT
public:
    explicit MediaPlayer(QObject* parent = nullptr);
    ~MediaPlayer() override;

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
    void play();
    void stop();
    void pause();
    // Stops and releases the current item.
    void close();

    // settings.volume: 0 .. 100.
    int volume() const;
    void setVolume(int level);

    // What the current item's player showed last; a closed or silent item shows
    // a stopped player at 0.
    QMediaPlayer::PlaybackState playState() const { return shown().state; }
    QMediaPlayer::MediaStatus mediaStatus() const { return shown().media; }
    bool failed() const { return shown().error != QMediaPlayer::NoError; }
    qint64 position() const { return shown().position; }
    // The volume its audio output plays at, 0 .. 1.
    float outputVolume() const { return shown().volume; }

private:
    MediaSnapshot shown() const;
    // Runs the call on the current item's worker; a worker that got stuck goes, and
    // the item is silent.
    void call(std::function<void(QMediaPlayer&)> fn);
    // A worker for a new item: the spare when there is one.
    std::unique_ptr<MediaWorker> newWorker();
    // Out of the way of a round's start: makes the spare.
    void tidy();

    std::unique_ptr<MediaWorker> worker_; // the current item's
    std::unique_ptr<MediaWorker> spare_;
    QTimer* tidyTimer_;
    float volume_ = 1.0f;
    QString url_;
    QString uiMode_;
};
