#include "common/gamestate.h"
#include "common/joystickmodule.h"
#include "common/settings.h"
#include "game/Form6.h"
#include "lobby/frmmulti.h"
#include "platform/joystick.h"
#include "tests/support/dialogrecorder.h"
#include "tests/support/tempfolder.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <ctime>
#include <fcntl.h>
#include <linux/joystick.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// A FIFO named js0 in a folder of its own, standing in for the first joystick.
class FakeJoystick {
public:
    FakeJoystick() : path_(QFile::encodeName(dir_.filePath("js0"))) {
        setJoystickFolder(dir_.path());
        if (::mkfifo(path_.constData(), 0600) != 0) qFatal("mkfifo failed");
        fd_ = ::open(path_.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    }
    ~FakeJoystick() {
        ::close(fd_);
        setJoystickFolder({});
    }

    static QByteArray record(int number, bool down) {
        js_event e{};
        e.value = down ? 1 : 0;
        e.type = JS_EVENT_BUTTON;
        e.number = quint8(number);
        return QByteArray(reinterpret_cast<const char*>(&e), sizeof e);
    }
    void button(int number, bool down) { write(record(number, down)); }
    // Several records in one write, so that one poll sees them all.
    void write(const QByteArray& bytes) {
        QCOMPARE(::write(fd_, bytes.constData(), size_t(bytes.size())), ssize_t(bytes.size()));
    }

private:
    QTemporaryDir dir_;
    QByteArray path_;
    int fd_ = -1;
};

QLabel* prompt(int i) {
    return Form6::instance().findChild<QLabel*>(QStringLiteral("prompt(%1)").arg(i));
}
QLineEdit* box(int i) {
    return Form6::instance().findChild<QLineEdit*>(QStringLiteral("txtknop(%1)").arg(i));
}
// Which prompts are showing, as "1100".
QString promptsShown() {
    QString shown;
    for (int i = 0; i < 4; ++i)
        shown += prompt(i)->isVisible() ? '1' : '0';
    return shown;
}
QStringList knoppen(int speler) {
    const Speler& p = state().spelers[speler];
    return {p.knop1, p.knop2, p.knop3, p.knop4};
}

void type(const QString& keys) {
    for (QChar c : keys)
        QTest::sendKeyEvent(QTest::Click, &Form6::instance(), Qt::Key_unknown, QString(c),
                            Qt::NoModifier);
}
} // namespace

class tst_form6 : public QObject {
    Q_OBJECT

    std::unique_ptr<TempProgramFolder> folder_;
    std::unique_ptr<DialogRecorder> dialogs_;

    QString settingsFile() const { return folder_->file("settings.ini"); }
    QStringList storedButtons() const {
        QStringList values;
        for (int n = 1; n <= 4; ++n)
            values.append(readini(settingsFile(), "controls", QStringLiteral("button%1").arg(n)));
        return values;
    }
    static QStringList onlineBoxes() {
        const frmmulti& online = frmmulti::instance();
        return {online.txtbutton1->text(), online.txtbutton2->text(), online.txtbutton3->text(),
                online.txtbutton4->text()};
    }

    // The Controls tab's order: show the window, start, then the window gets activated.
    static Form6& startKeyboard(qint16 speler = 0) {
        Form6& window = Form6::instance();
        window.show();
        window.keyboards(speler, 1);
        if (!QTest::qWaitForWindowActive(&window)) qWarning("window not activated");
        return window;
    }
    static Form6& startJoystick(qint16 joystick) {
        Form6& window = Form6::instance();
        window.show();
        window.controlers(0, joystick);
        if (!QTest::qWaitForWindowActive(&window)) qWarning("window not activated");
        return window;
    }

private slots:
    void init() {
        resetState();
        resetJoystickModule();
        folder_ = std::make_unique<TempProgramFolder>();
        dialogs_ = std::make_unique<DialogRecorder>();
        frmmulti::instance(); // the start window, loaded before this one
        dialogs_->clear();
    }

    void cleanup() {
        Form6::unload(); // before the program folder goes
        frmmulti::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        dialogs_.reset();
        folder_.reset();
    }

    void freshWindow() {
        Form6& window = Form6::instance();
        QCOMPARE(window.objectName(), QString("Form6"));
        QCOMPARE(window.windowTitle(), QString("Controls"));
        QVERIFY(!(window.windowFlags() & Qt::WindowCloseButtonHint));
        auto* timer = window.findChild<QTimer*>("Timer1");
        QVERIFY(timer);
        QCOMPARE(timer->interval(), 1);
        QVERIFY(!timer->isActive());
        window.show();
        QCOMPARE(promptsShown(), QString("1000"));
        QCOMPARE(prompt(3)->text(), QString("Press a button to use answer 4:"));
        for (int i = 0; i < 4; ++i)
            QVERIFY(box(i)->isHidden());
        QVERIFY(!window.close()); // no way out but the fourth input
        QVERIFY(window.isVisible());
    }

    void keyboardAssignmentRefusesAUsedKey() {
        QPointer<Form6> window = &startKeyboard();
        type("h");
        QCOMPARE(knoppen(0), (QStringList{"h", "", "", ""}));
        QCOMPARE(promptsShown(), QString("1100"));
        QVERIFY(box(0)->isVisible());
        QVERIFY(!box(0)->isEnabled());
        QCOMPARE(box(0)->text(), QString("h"));
        QVERIFY(box(1)->isHidden());
        type("j");
        type("h"); // already answer 1
        QCOMPARE(knoppen(0), (QStringList{"h", "j", "", ""}));
        QCOMPARE(promptsShown(), QString("1110"));
        type("k");
        QCOMPARE(promptsShown(), QString("1111"));
        QVERIFY(Form6::exists());
        type("l");
        QCOMPARE(knoppen(0), (QStringList{"h", "j", "k", "l"}));
        QVERIFY(!Form6::exists());
        QVERIFY(window->isHidden());
        QTRY_VERIFY(window.isNull());
        QCOMPARE(onlineBoxes(), (QStringList{"h", "j", "k", "l"}));
        QCOMPARE(storedButtons(), (QStringList{"h", "j", "k", "l"}));
        // Written button1 first: each new key goes to the top of its section.
        QFile file(settingsFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("[controls]\r\nbutton4=l\r\nbutton3=k\r\nbutton2=j\r\n"
                                            "button1=h\r\n"));
        QCOMPARE(dialogs_->texts(), QStringList{});
    }

    void caseCounts() {
        startKeyboard();
        type("hHjJ");
        QCOMPARE(knoppen(0), (QStringList{"h", "H", "j", "J"}));
        QCOMPARE(storedButtons(), (QStringList{"h", "H", "j", "J"}));
    }

    void keysThatCannotBeStoredAreRefused() {
        startKeyboard();
        const QStringList refused = {"\r",
                                     "\n",
                                     "\b",
                                     "\x1b",
                                     "\t",
                                     "\x01",
                                     "\x7f",
                                     QString(QChar(0x85)),
                                     QString(QChar(0x416)),
                                     "",
                                     "ab",
                                     "["};
        for (const QString& text : refused)
            QTest::sendKeyEvent(QTest::Click, &Form6::instance(), Qt::Key_unknown, text,
                                Qt::NoModifier);
        QTest::keyClick(&Form6::instance(), Qt::Key_Return);
        QTest::keyClick(&Form6::instance(), Qt::Key_Escape);
        QTest::keyClick(&Form6::instance(), Qt::Key_Backspace);
        QTest::keyClick(&Form6::instance(), Qt::Key_Shift);
        QTest::keyClick(&Form6::instance(), Qt::Key_Left);
        QCOMPARE(knoppen(0), (QStringList{"", "", "", ""}));
        QCOMPARE(promptsShown(), QString("1000"));
        // Blank, "]" and 8-bit letters are keys like any other.
        type(QStringLiteral(" ]\u00e9"));
        QCOMPARE(knoppen(0), (QStringList{" ", "]", "\u00e9", ""}));
    }

    void keysGoToThePlayerButTheFileGetsRecord0() {
        Speler& eigen = state().spelers[0];
        eigen.knop1 = "a", eigen.knop2 = "b", eigen.knop3 = "c", eigen.knop4 = "d";
        startKeyboard(2);
        QCOMPARE(laatstekeyboardspeler, qint16(2));
        type("wxyz");
        QCOMPARE(knoppen(2), (QStringList{"w", "x", "y", "z"}));
        QCOMPARE(knoppen(0), (QStringList{"a", "b", "c", "d"}));
        QCOMPARE(onlineBoxes(), (QStringList{"a", "b", "c", "d"}));
        QCOMPARE(storedButtons(), (QStringList{"a", "b", "c", "d"}));
    }

    void keysOnlyInKeyboardMode() {
        Form6& window = startKeyboard();
        QCOMPARE(window.aantalkeyboard, qint16(1));
        window.aantalkeyboard = 0; // the keyboard option is off
        type("h");
        QCOMPARE(knoppen(0), (QStringList{"", "", "", ""}));
        window.controlers(0, 3); // joystick mode, no joystick 3 to poll
        window.aantalkeyboard = 1;
        type("h");
        QCOMPARE(knoppen(0), (QStringList{"", "", "", ""}));
        window.keyboards(0, 1);
        QVERIFY(!window.Timer1->isActive());
        type("h");
        QCOMPARE(knoppen(0), (QStringList{"h", "", "", ""}));
    }

    void activationRestartsAtAnswer1() {
        Form6& window = startKeyboard();
        type("hj");
        QCOMPARE(promptsShown(), QString("1110"));
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        type("x"); // still on answer 3 until the window comes back
        QCOMPARE(knoppen(0), (QStringList{"h", "j", "x", ""}));
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(promptsShown(), QString("1000"));
        QVERIFY(box(0)->isHidden());
        type("jhkl"); // j and h are free again
        QVERIFY(!Form6::exists());
        QCOMPARE(storedButtons(), (QStringList{"j", "h", "k", "l"}));
    }

    void joystickHeldButtonIsNotAssignedTwice() {
        FakeJoystick stick;
        Form6& window = startJoystick(1);
        QVERIFY(window.Timer1->isActive());
        stick.button(0, true);
        QTRY_COMPARE(knoppen(0), (QStringList{"0", "", "", ""}));
        QCOMPARE(promptsShown(), QString("1100"));
        QCOMPARE(box(0)->text(), QString("0"));
        QTest::qWait(60); // button 0 still held while answer 2 is asked
        QCOMPARE(knoppen(0), (QStringList{"0", "", "", ""}));
        stick.button(3, true);
        QTRY_COMPARE(knoppen(0), (QStringList{"0", "3", "", ""}));
        stick.write(FakeJoystick::record(0, false) + FakeJoystick::record(3, false));
        stick.button(7, true);
        QTRY_COMPARE(knoppen(0), (QStringList{"0", "3", "7", ""}));
        stick.button(0, true); // taken for answer 1
        stick.button(3, true);
        QTest::qWait(30);
        QVERIFY(Form6::exists());
        stick.button(1, true);
        QTRY_VERIFY(!Form6::exists());
        QCOMPARE(knoppen(0), (QStringList{"0", "3", "7", "1"}));
        QCOMPARE(onlineBoxes(), (QStringList{"0", "3", "7", "1"}));
        QCOMPARE(storedButtons(), (QStringList{"0", "3", "7", "1"}));
    }

    void joystickTwoButtonsAtOnceGiveTheLowest() {
        FakeJoystick stick;
        startJoystick(1);
        stick.write(FakeJoystick::record(5, true) + FakeJoystick::record(2, true));
        QTRY_COMPARE(state().spelers[0].knop1, QString("2"));
        // 5 is still held and free, so it answers 2 on a later tick.
        QTRY_COMPARE(knoppen(0), (QStringList{"2", "5", "", ""}));
    }

    void joystickNumberChoosesThePoll() {
        FakeJoystick stick;
        stick.button(4, true);
        Form6& window = startJoystick(3); // no such joystick: nothing polled
        QTest::qWait(30);
        QCOMPARE(knoppen(0), (QStringList{"", "", "", ""}));
        window.controlers(0, 2); // joystick 2, never checked, polls id 0
        QTRY_COMPARE(state().spelers[0].knop1, QString("4"));
        QCOMPARE(state().knoppen2[4], kTrue);
        QCOMPARE(state().knoppen1[4], kFalse);
    }

    void pollTimerLeavesTheCoreAlone() {
        setJoystickFolder(QDir::tempPath() + "/no-joysticks-here");
        Form6& window = startJoystick(1);
        int ticks = 0;
        connect(window.Timer1, &QTimer::timeout, this, [&] { ++ticks; });
        const std::clock_t start = std::clock();
        QEventLoop loop; // not qWait, which sleeps between its rounds
        QTimer::singleShot(500, &loop, &QEventLoop::quit);
        loop.exec();
        const double cpuMs = 1000.0 * double(std::clock() - start) / CLOCKS_PER_SEC;
        setJoystickFolder({});
        QVERIFY2(ticks > 100, qPrintable(QString::number(ticks)));
        QVERIFY2(cpuMs < 150, qPrintable(QString::number(cpuMs)));
    }
};

QTEST_MAIN(tst_form6)
#include "tst_form6.moc"
