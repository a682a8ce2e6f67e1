#include "game/joystickpoll.h"

#include "common/joystickmodule.h"
#include "platform/joystick.h"

#include <QTimer>

JoystickPoll::JoystickPoll(QTimer* timer, int joystick, std::function<void()> poll)
    : QObject(timer), timer_(timer), joystick_(joystick), poll_(std::move(poll)),
      pollMs_(timer->interval()) {
    connect(timer_, &QTimer::timeout, this, &JoystickPoll::tick);
}

void JoystickPoll::start() {
    const bool open = joystickdevice(joystick_).open();
    timer_->start(open ? pollMs_ : kLookMs);
    follow();
}

void JoystickPoll::tick() {
    poll_();
    follow();
    if (timer_->isActive() && timer_->interval() != kLookMs) timer_->setInterval(kLookMs);
}

void JoystickPoll::buttonsChanged() {
    if (timer_->isActive()) poll_();
}

// The device object of a joystick is made anew when the device folder changes.
void JoystickPoll::follow() {
    connect(&joystickdevice(joystick_), &JoystickDevice::buttonsChanged, this,
            &JoystickPoll::buttonsChanged, Qt::UniqueConnection);
}
