#pragma once

#include <QtGlobal>

class JoystickDevice;

// Joysticks 1, 2 and 3 of the game, each reached by the joystick id it was
// last checked with (0 = the first joystick, device js0). Joysticks 1 and 2
// start on id 0, so readjoystick1 needs no check first, and readjoystick2
// polls id 0 until checkjoystick2 has stored another id.

// Presence checks: store the id, and when the joystick is there read it once.
bool checkjoystick1(qint32 id);
bool checkjoystick2(qint32 id);
bool checkjoystick3(qint32 id);

// Polls: state().knoppen1 / knoppen2 entry i becomes kTrue while button i + 1
// is held, kFalse otherwise. A joystick that cannot be read leaves the table
// as the last poll left it.
void readjoystick1();
void readjoystick2();

// The device that readjoystick1 (joystick 1) or readjoystick2 (2) reads.
JoystickDevice& joystickdevice(int joystick);

// Back to a fresh program run: ids 0, nothing read (tests).
void resetJoystickModule();
