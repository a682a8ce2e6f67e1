#include "common/joystickmodule.h"

#include "common/gamestate.h"
#include "platform/joystick.h"

namespace {
// What the module keeps for one joystick: the id in use and its last reading.
struct Joystick {
    qint32 id = 0;
    quint16 buttons = 0; // bit i = button i held
};

Joystick joysticks[4]; // 1..3

bool check(Joystick& joystick, qint32 id) {
    joystick.id = id;
    const quint32 device = static_cast<quint32>(id);
    if (!joystickPresent(device)) return false;
    joystickButtons(device, joystick.buttons);
    return true;
}

void poll(Joystick& joystick, qint16 (&knoppen)[kJoystickButtons]) {
    joystickButtons(static_cast<quint32>(joystick.id), joystick.buttons);
    for (int i = kJoystickButtons - 1; i >= 0; --i)
        knoppen[i] = (joystick.buttons >> i) & 1u ? kTrue : kFalse;
}
} // namespace

bool checkjoystick1(qint32 id) {
    return check(joysticks[1], id);
}
bool checkjoystick2(qint32 id) {
    return check(joysticks[2], id);
}
bool checkjoystick3(qint32 id) {
    return check(joysticks[3], id);
}

void readjoystick1() {
    poll(joysticks[1], state().knoppen1);
}
void readjoystick2() {
    poll(joysticks[2], state().knoppen2);
}

JoystickDevice& joystickdevice(int joystick) {
    return joystickDevice(static_cast<quint32>(joysticks[joystick == 2 ? 2 : 1].id));
}

void resetJoystickModule() {
    for (Joystick& joystick : joysticks)
        joystick = Joystick{};
}
