#pragma once

#include <QtGlobal>

// Returns once more than ms milliseconds have passed, letting pending events
// (timer ticks, socket events, clicks) run all the while. It sleeps in the
// event loop instead of spinning, and measures time on the steady clock.
void wachten(qint32 ms);
