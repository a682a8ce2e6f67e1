#pragma once

#include <QObject>
#include <functional>

class QTimer;

// Runs a joystick poll timer (the game window's Timer1) without waking every
// millisecond. While the timer is on, the poll runs at once whenever events
// change the joystick's buttons. The first tick after start() comes at the
// timer's own interval when the joystick is open, so a button already held
// answers as soon as before; after that, and while no joystick is open, the
// timer ticks every kLookMs only, to find a joystick plugged in later.
class JoystickPoll : public QObject {
    Q_OBJECT

public:
    static constexpr int kLookMs = 1000;

    // joystick: 1 or 2 (the module's joysticks). The poll takes the timer's ticks.
    JoystickPoll(QTimer* timer, int joystick, std::function<void()> poll);

    // Turns the timer on. Starting the timer by itself works too, ticking at its
    // interval until the first tick.
    void start();

private:
    void tick();
    void buttonsChanged();
    void follow();

    QTimer* timer_;
    int joystick_;
    std::function<void()> poll_;
    int pollMs_;
};
