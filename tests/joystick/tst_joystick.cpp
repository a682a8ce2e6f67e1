#include "common/gamestate.h"
#include "common/joystickmodule.h"
#include "platform/joystick.h"

#include <QTemporaryDir>
#include <QtTest>
#include <ctime>
#include <fcntl.h>
#include <linux/joystick.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// A joystick folder of its own for one test.
class JoystickFolder {
public:
    JoystickFolder() { setJoystickFolder(dir_.path()); }
    ~JoystickFolder() { setJoystickFolder({}); }
    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};

// A FIFO named js<n> standing in for a joystick device. The test end is opened
// read-write, so it never blocks and the reader sees end of file only when the
// test unplugs it.
class FakeJoystick {
public:
    FakeJoystick(const QString& folder, int n)
        : path_(QFile::encodeName(folder + "/js" + QString::number(n))) {
        if (::mkfifo(path_.constData(), 0600) != 0) qFatal("mkfifo failed");
        plug();
    }
    ~FakeJoystick() { unplug(); }

    void plug() { fd_ = ::open(path_.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC); }
    void unplug() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

    void button(int number, bool down, quint8 flags = 0) {
        send(JS_EVENT_BUTTON | flags, number, down ? 1 : 0);
    }
    void axis(int number, qint16 value) { send(JS_EVENT_AXIS, number, value); }

    static QByteArray record(quint8 type, int number, qint16 value) {
        js_event e{};
        e.time = 1234;
        e.value = value;
        e.type = type;
        e.number = quint8(number);
        return QByteArray(reinterpret_cast<const char*>(&e), sizeof e);
    }
    void send(quint8 type, int number, qint16 value) { write(record(type, number, value)); }
    void write(const QByteArray& bytes) {
        QCOMPARE(::write(fd_, bytes.constData(), size_t(bytes.size())), ssize_t(bytes.size()));
    }

private:
    QByteArray path_;
    int fd_ = -1;
};

// A joystick folder of its own with joystick 0 in it.
struct OneStick : JoystickFolder, FakeJoystick {
    OneStick() : FakeJoystick(path(), 0) {}
};

QList<int> held(const qint16 (&knoppen)[16]) {
    QList<int> pressed;
    for (int i = 0; i < 16; ++i) {
        if (knoppen[i] == kTrue)
            pressed.append(i);
        else if (knoppen[i] != kFalse)
            pressed.append(-1000 - i); // neither True nor False
    }
    return pressed;
}

// One poll of joystick 1 (2), then the buttons it left held.
QList<int> poll1() {
    readjoystick1();
    return held(state().knoppen1);
}
QList<int> poll2() {
    readjoystick2();
    return held(state().knoppen2);
}
} // namespace

class tst_joystick : public QObject {
    Q_OBJECT

private slots:
    void init() {
        resetState();
        resetJoystickModule();
    }

    void idNamesTheDeviceJsN() {
        qputenv("VONDRIX_JOYSTICK_DIR", "/tmp/sticks/");
        QCOMPARE(joystickDevicePath(2), QString("/tmp/sticks/js2"));
        qunsetenv("VONDRIX_JOYSTICK_DIR");
        QCOMPARE(joystickDevicePath(0), QString("/dev/input/js0"));
        JoystickFolder folder;
        QCOMPARE(joystickDevicePath(1), QDir::cleanPath(folder.path()) + "/js1");
    }

    void noJoystickMeansAbsentAndAllFalse() {
        JoystickFolder folder;
        QVERIFY(!checkjoystick1(0));
        QVERIFY(!checkjoystick2(1));
        QVERIFY(!checkjoystick3(2));
        state().knoppen1[4] = kTrue; // overwritten by the poll's (empty) reading
        QCOMPARE(poll1(), QList<int>{});
    }

    void presenceFollowsTheDevices() {
        JoystickFolder folder;
        FakeJoystick second(folder.path(), 1);
        QVERIFY(!checkjoystick1(0));
        QVERIFY(checkjoystick2(1));
        QVERIFY(!checkjoystick3(2));
        FakeJoystick third(folder.path(), 2);
        QVERIFY(checkjoystick3(2));
    }

    void deviceWithoutWriterIsAbsent() {
        OneStick stick;
        stick.unplug(); // the node stays, nobody is behind it
        QVERIFY(!checkjoystick1(0));
        QVERIFY(!joystickDevice(0).isOpen());
    }

    void twoButtonsAtOnce() {
        OneStick stick;
        stick.button(0, true);
        stick.button(2, true);
        QCOMPARE(poll1(), (QList<int>{0, 2})); // no presence check needed for joystick 1
        QCOMPARE(held(state().knoppen2), QList<int>{});
    }

    void releaseClearsOnNextPoll() {
        OneStick stick;
        stick.button(0, true);
        stick.button(2, true);
        readjoystick1();
        stick.button(0, false);
        QCOMPARE(poll1(), QList<int>{2});
        stick.button(2, false);
        QCOMPARE(poll1(), QList<int>{});
    }

    void heldButtonStaysAcrossPolls() {
        OneStick stick;
        stick.button(5, true);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(poll1(), QList<int>{5});
        }
        stick.button(7, true);
        stick.button(7, false);
        QCOMPARE(poll1(), QList<int>{5});
    }

    void buttonsAbove15AreIgnored() {
        OneStick stick;
        stick.button(16, true);
        stick.button(31, true);
        stick.button(200, true);
        QCOMPARE(poll1(), QList<int>{});
        QCOMPARE(joystickDevice(0).buttons(), quint16(0));
        stick.button(15, true);
        QCOMPARE(poll1(), QList<int>{15});
    }

    void axisEventsAreIgnored() {
        OneStick stick;
        stick.axis(0, 32767);
        stick.axis(1, -32767);
        stick.axis(3, 1);
        stick.send(JS_EVENT_AXIS | JS_EVENT_INIT, 4, 1);
        QCOMPARE(poll1(), QList<int>{});
        stick.button(1, true);
        stick.axis(1, 0); // does not release button 1
        QCOMPARE(poll1(), QList<int>{1});
    }

    void initEventsGiveTheStateAtOpening() {
        OneStick stick;
        stick.button(0, false, JS_EVENT_INIT);
        stick.button(3, true, JS_EVENT_INIT);
        stick.button(9, true, JS_EVENT_INIT);
        QVERIFY(checkjoystick1(0));
        stick.button(9, false);
        QCOMPARE(poll1(), QList<int>{3});
    }

    void presenceCheckDoesNotFillTheTable() {
        OneStick stick;
        stick.button(4, true);
        QVERIFY(checkjoystick1(0));
        QCOMPARE(held(state().knoppen1), QList<int>{});
        QCOMPARE(poll1(), QList<int>{4});
    }

    void unplugKeepsTheLastState() {
        OneStick stick;
        stick.button(1, true);
        stick.button(6, true);
        readjoystick1();
        stick.button(6, false); // sent just before the cable came out
        stick.unplug();
        QCOMPARE(poll1(), QList<int>{1});
        QVERIFY(!joystickDevice(0).isOpen());
        QCOMPARE(poll1(), QList<int>{1});
        QVERIFY(!checkjoystick1(0));
    }

    void nextPollOpensARepluggedDevice() {
        OneStick stick;
        stick.button(1, true);
        readjoystick1();
        stick.unplug();
        readjoystick1();
        QVERIFY(!joystickDevice(0).isOpen());
        stick.plug();
        stick.button(1, false, JS_EVENT_INIT);
        stick.button(2, true, JS_EVENT_INIT);
        readjoystick1();
        QVERIFY(joystickDevice(0).isOpen());
        QCOMPARE(held(state().knoppen1), QList<int>{2});
    }

    void recordSplitOverTwoWrites() {
        OneStick stick;
        const QByteArray press = FakeJoystick::record(JS_EVENT_BUTTON, 3, 1);
        const QByteArray release = FakeJoystick::record(JS_EVENT_BUTTON, 3, 0);
        const QByteArray other = FakeJoystick::record(JS_EVENT_BUTTON, 12, 1);
        stick.write(press.left(3));
        QCOMPARE(poll1(), QList<int>{});
        stick.write(press.mid(3));
        QCOMPARE(poll1(), QList<int>{3});

        // One and a half records, then the rest.
        const QByteArray both = release + other;
        stick.write(both.left(13));
        QCOMPARE(poll1(), QList<int>{});
        stick.write(both.mid(13));
        QCOMPARE(poll1(), QList<int>{12});
    }

    void halfRecordIsDroppedWithTheDevice() {
        OneStick stick;
        stick.write(FakeJoystick::record(JS_EVENT_BUTTON, 8, 1).left(5));
        readjoystick1();
        stick.unplug();
        readjoystick1();
        stick.plug();
        stick.button(2, true);
        QCOMPARE(poll1(), QList<int>{2});
    }

    void eventsAreReadWithoutAPoll() {
        OneStick stick;
        QVERIFY(checkjoystick1(0));
        JoystickDevice& device = joystickDevice(0);
        stick.button(0, true);
        stick.button(4, true);
        QTRY_COMPARE(device.buttons(), quint16(0x11));
        stick.unplug();
        QTRY_VERIFY(!device.isOpen());
        QCOMPARE(device.buttons(), quint16(0x11));
    }

    void unpluggedDeviceDoesNotKeepTheLoopBusy() {
        OneStick stick;
        QVERIFY(checkjoystick1(0));
        stick.unplug();
        const std::clock_t start = std::clock();
        QTest::qWait(300);
        const double cpuMs = 1000.0 * double(std::clock() - start) / CLOCKS_PER_SEC;
        QVERIFY2(cpuMs < 100, qPrintable(QString::number(cpuMs)));
    }

    void readjoystick2UsesTheIdOfItsCheck() {
        JoystickFolder folder;
        FakeJoystick first(folder.path(), 0);
        FakeJoystick second(folder.path(), 1);
        first.button(0, true);
        second.button(5, true);
        QCOMPARE(poll2(), QList<int>{0}); // never checked: id 0
        QVERIFY(checkjoystick2(1));
        QCOMPARE(poll2(), QList<int>{5});
        QCOMPARE(poll1(), QList<int>{0});
    }
};

QTEST_GUILESS_MAIN(tst_joystick)
#include "tst_joystick.moc"
