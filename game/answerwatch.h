#pragma once

#include <QObject>

class QTimer;

// Paces the host's answer watch (the game window's tmrAntwoordenTonen). The
// watch only acts on a change: an answer, a player who left, a tick of the
// delay, the end of a round's preparation. Whoever makes such a change pokes
// the watch, which then ticks once after its own interval (20 ms); in between
// it rests, ticking every kRestMs as a safety net.
class AnswerWatch : public QObject {
    Q_OBJECT

public:
    static constexpr int kRestMs = 1000;

    // Connect this before the watch's handler, so that the handler's own pokes hold.
    explicit AnswerWatch(QTimer* timer);

    // Turns the watch on: it looks after its interval.
    void start();
    // The watch looks within its interval, if it is on.
    void poke();

private:
    void tick();

    QTimer* timer_;
    int lookMs_;
};
