#include "platform/clock.h"

#include <QElapsedTimer>

namespace {
ClockSource& source() {
    static ClockSource s;
    return s;
}

quint32 steadyMs() {
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return static_cast<quint32>(timer.elapsed());
}
} // namespace

quint32 timeGetTime() {
    return source() ? source()() : steadyMs();
}
quint32 GetTickCount() {
    return timeGetTime();
}

void setClockSource(ClockSource s) {
    source() = std::move(s);
}

ManualClock::ManualClock() {
    setClockSource([this] { return now_; });
}
ManualClock::~ManualClock() {
    setClockSource({});
}
