#include "common/settings.h"
#include "tests/support/datarow.h"
#include "tests/support/dialogrecorder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace {

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void put(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

// Lowers the file size limit of the process while it lives; writes beyond it fail
// (for root as well).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = old_;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

} // namespace

class tst_settings : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    QString ini() const { return dir_->filePath("settings.ini"); }

private slots:
    void init() { dir_ = std::make_unique<QTemporaryDir>(); }
    void cleanup() {
        QFile::setPermissions(dir_->path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                QFileDevice::ExeOwner);
        dir_.reset();
    }

    void readiniFindsValues_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        const QByteArray controls = "[controls]\r\ndevice=joystick\r\nbutton1=h\r\n";
        dataRow("crlf", controls, "controls", "button1", "h");
        dataRow("missing key", controls, "controls", "button2", "");
        dataRow("missing section", controls, "user", "device", "");
        dataRow("caller capitals", controls, "CONTROLS", "Device", "joystick");
        dataRow("file capitals", QByteArray("[Controls]\r\nButton1=h\r\n"), "controls", "button1",
                "h");
        dataRow("value as written", QByteArray("[user]\r\nusername= Anna=B \r\n"), "user",
                "username", " Anna=B ");
        dataRow("latin-1 byte", QByteArray("[user]\r\nusername=\xe9t\xe9\r\n"), "user", "username",
                QString::fromLatin1("\xe9t\xe9"));
        dataRow("lone cr", QByteArray("[controls]\rbutton1=h\r"), "controls", "button1", "h");
        dataRow("cr cr lf", QByteArray("[controls]\r\r\nbutton1=h"), "controls", "button1", "h");
        dataRow("lf only", QByteArray("[controls]\nbutton1=h\n"), "controls", "button1", "");
        dataRow("lf stays in the line", QByteArray("[controls]\r\nbutton1=h\nbutton2=j\r\n"),
                "controls", "button1", "h\nbutton2=j");
        dataRow("key before any section", QByteArray("button1=h\r\n[controls]\r\n"), "controls",
                "button1", "");
        dataRow("blanks around =", QByteArray("[controls]\r\nbutton1 = h\r\n"), "controls",
                "button1", "");
        dataRow("blank after header", QByteArray("[controls] \r\nbutton1=h\r\n"), "controls",
                "button1", "");
        dataRow("[ value ends section", QByteArray("[controls]\r\nbutton1=[\r\nbutton2=j\r\n"),
                "controls", "button1", "");
        dataRow("key after [ value", QByteArray("[controls]\r\nbutton1=[\r\nbutton2=j\r\n"),
                "controls", "button2", "");
        dataRow("header reopens", QByteArray("[a]\r\n[b]\r\nk=1\r\n[a]\r\nk=2\r\n"), "a", "k", "2");
        dataRow("first duplicate wins", QByteArray("[a]\r\nk=1\r\n[a]\r\nk=2\r\n"), "a", "k", "1");
    }
    void readiniFindsValues() {
        QFETCH(QByteArray, file);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        put(ini(), file);
        QCOMPARE(readini(ini(), section, key), value);
        QCOMPARE(bytesOf(ini()), file);
    }

    void readiniWithoutFileCreatesIt() {
        QCOMPARE(readini(ini(), "controls", "device"), QString());
        QVERIFY(QFileInfo(ini()).isFile());
        QCOMPARE(QFileInfo(ini()).size(), 0);
    }

    void writeiniBuildsAndReplaces() {
        writeini(ini(), "controls", "device", "keyboard");
        writeini(ini(), "controls", "button1", "h");
        writeini(ini(), "controls", "button2", "j");
        writeini(ini(), "controls", "button3", "k");
        writeini(ini(), "controls", "button4", "l");
        writeini(ini(), "user", "username", "anna");
        QCOMPARE(bytesOf(ini()), QByteArray("[controls]\r\nbutton4=l\r\nbutton3=k\r\nbutton2=j\r\n"
                                            "button1=h\r\ndevice=keyboard\r\n\r\n[user]\r\n"
                                            "username=anna\r\n"));
        QCOMPARE(readini(ini(), "controls", "button3"), "k");
        QCOMPARE(readini(ini(), "user", "username"), "anna");

        writeini(ini(), "controls", "button2", "x");
        QCOMPARE(bytesOf(ini()), QByteArray("[controls]\r\nbutton4=l\r\nbutton3=k\r\nbutton2=x\r\n"
                                            "button1=h\r\ndevice=keyboard\r\n\r\n[user]\r\n"
                                            "username=anna\r\n"));
    }

    void writeiniEdits_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");
        dataRow("capitals keep header", QByteArray("[Controls]\r\nButton1=h\r\nbutton2=j\r\n"),
                "controls", "button1", "x", QByteArray("[Controls]\r\nbutton1=x\r\nbutton2=j\r\n"));
        dataRow("caller spelling", QByteArray("[controls]\r\nbutton1=h\r\n"), "CONTROLS", "Button1",
                "x", QByteArray("[controls]\r\nButton1=x\r\n"));
        dataRow("blanks around =", QByteArray("[controls]\r\nbutton1 = h\r\n"), "controls",
                "button1", "x", QByteArray("[controls]\r\nbutton1=x\r\nbutton1 = h\r\n"));
        dataRow("blank after header", QByteArray("[controls] \r\nbutton1=h\r\n"), "controls",
                "button1", "x",
                QByteArray("[controls] \r\nbutton1=h\r\n\r\n[controls]\r\nbutton1=x\r\n"));
        dataRow("[ value ends section", QByteArray("[controls]\r\nbutton1=[\r\nbutton2=j\r\n"),
                "controls", "button2", "x",
                QByteArray("[controls]\r\nbutton2=x\r\nbutton1=[\r\nbutton2=j\r\n"));
        dataRow("key in later section", QByteArray("[a]\r\nk=1\r\n[b]\r\nk=2\r\n"), "b", "k", "3",
                QByteArray("[a]\r\nk=1\r\n[b]\r\nk=3\r\n"));
        dataRow("last line without break", QByteArray("[a]\r\nk=1"), "a", "k", "2",
                QByteArray("[a]\r\nk=2\r\n"));
        dataRow("header without break", QByteArray("[a]"), "a", "k", "1",
                QByteArray("[a]\r\n\r\n[a]\r\nk=1\r\n"));
        dataRow("header ends in lone cr", QByteArray("[a]\r"), "a", "k", "1",
                QByteArray("[a]\rk=1\r\n"));
        dataRow("key after a lone lf is no key line", QByteArray("[a]\r\nj=1\nk=2\r\n"), "a", "k",
                "3", QByteArray("[a]\r\nk=3\r\nj=1\nk=2\r\n"));
        dataRow("lone cr before the next line", QByteArray("[a]\rj=2\r\n"), "a", "k", "1",
                QByteArray("[a]\rk=1\r\nj=2\r\n"));
        dataRow("lf only appends", QByteArray("[controls]\nbutton1=h\n"), "controls", "button1",
                "x", QByteArray("[controls]\nbutton1=h\n\r\n\r\n[controls]\r\nbutton1=x\r\n"));
        dataRow("leading and trailing breaks", QByteArray("\r\n\r\n\t\r\n[a]\r\nk=1\r\n\r\n\n\r\n"),
                "a", "j", "2", QByteArray("[a]\r\nj=2\r\nk=1\r\n"));
        dataRow("three breaks", QByteArray("[a]\r\nk=1\r\n\r\n\r\n[b]\r\nj=2\r\n"), "a", "k", "1",
                QByteArray("[a]\r\nk=1\r\n\r\n[b]\r\nj=2\r\n"));
        dataRow("five breaks", QByteArray("[a]\r\nk=1\r\n\r\n\r\n\r\n\r\n[b]\r\nj=2\r\n"), "a", "k",
                "1", QByteArray("[a]\r\nk=1\r\n\r\n[b]\r\nj=2\r\n"));
        dataRow("latin-1 bytes survive", QByteArray("[a]\r\nk=\x01\xff\x80\r\n"), "A",
                QString::fromLatin1("\xc9"), QString::fromLatin1("\xe9"),
                QByteArray("[a]\r\n\xc9=\xe9\r\nk=\x01\xff\x80\r\n"));
    }
    void writeiniEdits() {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QByteArray, after);
        put(ini(), before);
        writeini(ini(), section, key, value);
        QCOMPARE(bytesOf(ini()), after);
        QCOMPARE(readini(ini(), section, key), value);
    }

    void lfOnlyFileGetsNewSections() {
        put(ini(), "[controls]\ndevice=keyboard\n[user]\nusername=anna\n");
        QCOMPARE(readini(ini(), "user", "username"), QString());
        writeini(ini(), "controls", "device", "joystick");
        writeini(ini(), "user", "username", "bob");
        QCOMPARE(bytesOf(ini()),
                 QByteArray("[controls]\ndevice=keyboard\n[user]\nusername=anna\n\r\n\r\n"
                            "[controls]\r\ndevice=joystick\r\n\r\n[user]\r\nusername=bob\r\n"));
    }

    void readOnlyFileIsMadeWritable() {
        put(ini(), "[a]\r\nk=1\r\n");
        QFile::setPermissions(ini(), QFileDevice::ReadOwner);
        QCOMPARE(readini(ini(), "a", "k"), "1");
        QVERIFY(QFile::permissions(ini()) & QFileDevice::WriteOwner);
    }

    void failedWriteKeepsOldFile_data() {
        QTest::addColumn<bool>("readOnlyFolder");
        QTest::newRow("file size limit") << false;
        QTest::newRow("read-only folder") << true;
    }
    void failedWriteKeepsOldFile() {
        QFETCH(bool, readOnlyFolder);
        if (readOnlyFolder && geteuid() == 0) QSKIP("permissions do not bind root");
        DialogRecorder dialogs;
        const QByteArray old = "[controls]\r\ndevice=keyboard\r\n";
        put(ini(), old);
        const QString big(200000, QLatin1Char('x'));
        {
            std::unique_ptr<FileSizeLimit> limit;
            if (readOnlyFolder)
                QFile::setPermissions(dir_->path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            else
                limit = std::make_unique<FileSizeLimit>(65536);
            writeini(ini(), "controls", "button1", big);
            writeini(ini(), "controls", "device", "joystick");
        }
        QCOMPARE(bytesOf(ini()), old);
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList{"settings.ini"});
        QCOMPARE(readini(ini(), "controls", "device"), "joystick");
        QCOMPARE(readini(ini(), "controls", "button1"), big);
        QCOMPARE(dialogs.messages.size(), 1);
    }

    void keptTextReachesFileLater() {
        DialogRecorder dialogs;
        put(ini(), "[a]\r\nk=1\r\n");
        {
            FileSizeLimit limit(8);
            writeini(ini(), "a", "k", "2222222222");
        }
        QCOMPARE(bytesOf(ini()), QByteArray("[a]\r\nk=1\r\n"));
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList{"settings.ini"});
        QCOMPARE(readini(ini(), "a", "k"), "2222222222");
        writeini(ini(), "a", "j", "3");
        QCOMPARE(bytesOf(ini()), QByteArray("[a]\r\nj=3\r\nk=2222222222\r\n"));
        // The file is the source again.
        put(ini(), "[a]\r\nk=4\r\n");
        QCOMPARE(readini(ini(), "a", "k"), "4");
    }

    void uncreatableFileIsKeptAndToldOnce() {
        DialogRecorder dialogs;
        const QString blocker = dir_->filePath("folder");
        put(blocker, "not a folder");
        const QString path = blocker + "/settings.ini";

        QCOMPARE(readini(path, "controls", "device"), QString());
        QVERIFY(dialogs.messages.isEmpty());
        writeini(path, "controls", "device", "joystick");
        writeini(path, "user", "username", "anna");
        QCOMPARE(readini(path, "controls", "device"), "joystick");
        QCOMPARE(readini(path, "user", "username"), "anna");
        QCOMPARE(bytesOf(blocker), QByteArray("not a folder"));

        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].icon, MsgIcon::Exclamation);
        QVERIFY(dialogs.messages[0].text.contains(path));
        QCOMPARE(dialogs.messages[0].buttons, MsgButtons::Ok);
    }

    void hugeLinesAreRead() {
        const QByteArray huge(10 * 1024 * 1024, 'a');
        const QByteArray file =
            huge + "\n" + huge + "\r\n[controls]\r\nbig=" + huge + "\r\ndevice=joystick\r\n";
        put(ini(), file);
        QCOMPARE(readini(ini(), "controls", "device"), "joystick");
        QCOMPARE(readini(ini(), "controls", "big").size(), huge.size());
        writeini(ini(), "controls", "device", "keyboard");
        QCOMPARE(readini(ini(), "controls", "device"), "keyboard");
        QCOMPARE(bytesOf(ini()), QByteArray(file).replace("joystick", "keyboard"));
    }
};

QTEST_GUILESS_MAIN(tst_settings)
#include "tst_settings.moc"
