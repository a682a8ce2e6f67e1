#pragma once

#include <QtGlobal>
#include <functional>

// Millisecond counters of the system. Both wrap after 2^32 ms like their Windows namesakes.
// Tests replace the source to drive the clocks without waiting real time.
quint32 timeGetTime();
quint32 GetTickCount();

using ClockSource = std::function<quint32()>;
void setClockSource(ClockSource source); // an empty function restores the steady clock

// A clock a test moves by hand.
class ManualClock {
public:
    ManualClock(); // installs itself as the clock source
    ~ManualClock();
    ManualClock(const ManualClock&) = delete;
    ManualClock& operator=(const ManualClock&) = delete;
    void advance(quint32 ms) { now_ += ms; }
    void set(quint32 ms) { now_ = ms; }
    quint32 now() const { return now_; }

private:
    quint32 now_ = 1000;
};
