#pragma once

#include "platform/joystick.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <linux/joystick.h>
#include <sys/stat.h>
#include <unistd.h>

// Joystick 1 as a FIFO named js0 in a folder of its own; the test presses its buttons.
class FakeJoystick {
public:
    FakeJoystick() {
        const QByteArray path = QFile::encodeName(dir_.filePath(QStringLiteral("js0")));
        if (::mkfifo(path.constData(), 0600) != 0) qFatal("mkfifo failed");
        fd_ = ::open(path.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        setJoystickFolder(dir_.path());
    }
    ~FakeJoystick() {
        ::close(fd_);
        setJoystickFolder(QString());
    }
    FakeJoystick(const FakeJoystick&) = delete;
    FakeJoystick& operator=(const FakeJoystick&) = delete;

    void press(int number) { write(number, 1); }
    void release(int number) { write(number, 0); }

private:
    void write(int number, qint16 value) {
        js_event e{};
        e.type = JS_EVENT_BUTTON;
        e.number = quint8(number);
        e.value = value;
        QCOMPARE(::write(fd_, &e, sizeof e), ssize_t(sizeof e));
    }

    QTemporaryDir dir_;
    int fd_ = -1;
};
