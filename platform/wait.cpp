#include "platform/wait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

void wachten(qint32 ms) {
    QElapsedTimer elapsed;
    elapsed.start();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    while (elapsed.elapsed() <= ms) {
        const qint64 left = ms - elapsed.elapsed() + 1;
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        timer.start(static_cast<int>(qMax<qint64>(left, 1)));
        loop.exec();
    }
}
