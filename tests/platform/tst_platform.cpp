#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/gui/closeless.h"
#include "platform/gui/shell.h"
#include "platform/programfolder.h"
#include "platform/wait.h"
#include "tests/support/dialogrecorder.h"
#include "tests/support/tempfolder.h"

#include <QDesktopServices>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <QtTest>

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls.append(url); }
};

class tst_platform : public QObject {
    Q_OBJECT

private slots:
    void wachtenRunsTimersInside() {
        int fired = 0;
        QTimer::singleShot(20, [&] { ++fired; });
        QElapsedTimer t;
        t.start();
        wachten(60);
        QVERIFY(t.elapsed() > 60);
        QVERIFY(t.elapsed() < 1000);
        QCOMPARE(fired, 1);
    }

    void wachtenZeroLetsPendingEventsRun() {
        bool ran = false;
        QMetaObject::invokeMethod(this, [&] { ran = true; }, Qt::QueuedConnection);
        wachten(0);
        QVERIFY(ran);
    }

    void wachtenNestsInsideAnEvent() {
        // A timer that waits itself while the outer wait is still running.
        bool innerDone = false;
        QTimer::singleShot(5, [&] {
            wachten(30);
            innerDone = true;
        });
        wachten(10);
        QTRY_VERIFY(innerDone);
    }

    void wachtenDoesNotSpin() {
        const std::clock_t cpuStart = std::clock();
        wachten(300);
        const double cpuMs = 1000.0 * double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        QVERIFY2(cpuMs < 100, qPrintable(QString::number(cpuMs)));
    }

    void manualClockDrivesBothCounters() {
        {
            ManualClock clock;
            clock.set(5000);
            QCOMPARE(timeGetTime(), 5000u);
            clock.advance(250);
            QCOMPARE(GetTickCount(), 5250u);
        }
        const quint32 a = timeGetTime();
        QTest::qWait(15);
        QVERIFY(timeGetTime() - a >= 10);
    }

    void programFolderCanBeMoved() {
        TempProgramFolder folder;
        QCOMPARE(programFolder(), QDir::cleanPath(folder.path()));
        QCOMPARE(programFile("\\settings.ini"), QDir::cleanPath(folder.path()) + "/settings.ini");
        QCOMPARE(programFile("temp.mp3"), QDir::cleanPath(folder.path()) + "/temp.mp3");
    }

    void messageBoxesReachTheRecorder() {
        DialogRecorder rec;
        rec.nextAnswer = vbNo;
        QCOMPARE(MsgBox("Sure?", MsgIcon::Question, {}, MsgButtons::YesNo), vbNo);
        QCOMPARE(rec.messages.size(), 1);
        QCOMPARE(rec.messages[0].title, appTitle());
        rec.inputAnswers << "secret";
        QCOMPARE(InputBox("Password?"), QString("secret"));
        QCOMPARE(InputBox("Again?"), QString());
        QCOMPARE(rec.prompts, QStringList({"Password?", "Again?"}));
    }

    void closelessWindowIgnoresCloseRequests() {
        QWidget w;
        RemoveCloseMenuItem(&w);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(!(w.windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(!w.close());
        QVERIFY(w.isVisible());
        QTest::keyClick(&w, Qt::Key_F4, Qt::AltModifier);
        QVERIFY(w.isVisible());
        QVERIFY(closeByProgram(&w));
        QVERIFY(!w.isVisible());
    }

    void closelessWindowWithChildren() {
        QWidget w;
        new QTimer(&w);
        new QWidget(&w);
        RemoveCloseMenuItem(&w);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(!(w.windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(!w.close());
        QVERIFY(w.isVisible());
        QVERIFY(closeByProgram(&w));
    }

    void shellopenHandsTheAddressToTheDesktop() {
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler("https", &catcher, "open");
        QDesktopServices::setUrlHandler("mailto", &catcher, "open");
        shellopen("open", "https://example.org/quiz", {}, {}, 1);
        shellopen("open", "mailto:support@example.org", {}, {}, 1);
        QDesktopServices::unsetUrlHandler("https");
        QDesktopServices::unsetUrlHandler("mailto");
        QCOMPARE(catcher.urls.size(), 2);
        QCOMPARE(catcher.urls[0].host(), QString("example.org"));
        QCOMPARE(catcher.urls[1].scheme(), QString("mailto"));
    }
};

QTEST_MAIN(tst_platform)
#include "tst_platform.moc"
