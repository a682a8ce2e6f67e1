#include "lobby/oscheck.h"
#include "platform/osversion.h"
#include "tests/support/dialogrecorder.h"

#include <QtTest>
#include <sys/utsname.h>

namespace {
OsVersionInfo record(quint32 platform, quint32 major, quint32 minor) {
    OsVersionInfo info;
    info.dwPlatformId = platform;
    info.dwMajorVersion = major;
    info.dwMinorVersion = minor;
    info.dwBuildNumber = 2600;
    return info;
}

// Makes GetVersionExA report the given system for the lifetime of the object.
class FakeSystem {
public:
    FakeSystem(quint32 platform, quint32 major, quint32 minor) {
        const OsVersionInfo info = record(platform, major, minor);
        setOsVersionSource([info] { return info; });
    }
    ~FakeSystem() { setOsVersionSource({}); }
};

const QString kAdvice =
    QString("\n\nIf you get an error saying a file or one of it's dependencies is "
            "missing, please go to ") +
    vistaHelpAddress();
} // namespace

class tst_oscheck : public QObject {
    Q_OBJECT

private slots:
    void classification_data() {
        QTest::addColumn<quint32>("platform");
        QTest::addColumn<quint32>("major");
        QTest::addColumn<quint32>("minor");
        QTest::addColumn<int>("code");
        QTest::newRow("95") << 1u << 4u << 0u << 1;
        QTest::newRow("98") << 1u << 4u << 10u << 2;
        QTest::newRow("Me") << 1u << 4u << 90u << 3;
        QTest::newRow("9x other minor") << 1u << 4u << 3u << 0;
        QTest::newRow("9x other major") << 1u << 5u << 0u << 0;
        QTest::newRow("NT 3.51") << 2u << 3u << 51u << 4;
        QTest::newRow("NT 4") << 2u << 4u << 0u << 5;
        QTest::newRow("2000") << 2u << 5u << 0u << 6;
        QTest::newRow("XP") << 2u << 5u << 1u << 7;
        QTest::newRow("2003") << 2u << 5u << 2u << 8;
        QTest::newRow("NT 5.3") << 2u << 5u << 3u << 0;
        QTest::newRow("Vista") << 2u << 6u << 0u << 9;
        QTest::newRow("7 reports 6.1") << 2u << 6u << 1u << 9;
        QTest::newRow("NT 10") << 2u << 10u << 0u << 0;
        QTest::newRow("Win32s") << 0u << 4u << 0u << 0;
        QTest::newRow("CE") << 3u << 5u << 1u << 0;
        QTest::newRow("Linux 6.1") << kPlatformLinux << 6u << 1u << 0;
    }
    void classification() {
        QFETCH(quint32, platform);
        QFETCH(quint32, major);
        QFETCH(quint32, minor);
        QFETCH(int, code);
        QCOMPARE(int(versioncode(record(platform, major, minor))), code);
        FakeSystem system(platform, major, minor);
        QCOMPARE(int(getversion()), code);
    }

    void xpGetsNoWarning() {
        FakeSystem xp(VER_PLATFORM_WIN32_NT, 5, 1);
        DialogRecorder dialogs;
        showoswarning();
        QCOMPARE(dialogs.messages.size(), 0);
    }

    void vistaAndSevenGetTheImportantWarning() {
        FakeSystem seven(VER_PLATFORM_WIN32_NT, 6, 1);
        DialogRecorder dialogs;
        showoswarning();
        QCOMPARE(dialogs.texts(), QStringList{"IMPORTANT for Windows Vista users: " + kAdvice});
    }

    void unknownSystemGetsTheUnknownWarning() {
        FakeSystem later(VER_PLATFORM_WIN32_NT, 10, 0);
        DialogRecorder dialogs;
        showoswarning();
        QCOMPARE(dialogs.texts(), QStringList{"UNKNOWN OS: for Windows Vista users: " + kAdvice});
    }

    void thisSystemIsUnknown() {
        utsname names{};
        QCOMPARE(::uname(&names), 0);
        const QString release = QString::fromLocal8Bit(names.release);

        OsVersionInfo info;
        info.dwOSVersionInfoSize = kOsVersionInfoSize;
        QVERIFY(GetVersionExA(info));
        QCOMPARE(info.dwOSVersionInfoSize, kOsVersionInfoSize);
        QCOMPARE(info.dwPlatformId, kPlatformLinux);
        QCOMPARE(QString("%1.%2").arg(info.dwMajorVersion).arg(info.dwMinorVersion),
                 release.section('.', 0, 1));
        QCOMPARE(info.szCSDVersion, QString::fromLocal8Bit(names.sysname) + " " + release);

        QCOMPARE(int(getversion()), int(kOsUnknown));
        DialogRecorder dialogs;
        showoswarning();
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].text, "UNKNOWN OS: for Windows Vista users: " + kAdvice);
        QCOMPARE(dialogs.messages[0].icon, MsgIcon::None);
        QCOMPARE(dialogs.messages[0].title, appTitle());
    }
};

QTEST_GUILESS_MAIN(tst_oscheck)
#include "tst_oscheck.moc"
