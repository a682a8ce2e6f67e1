#include "platform/gui/mediaplayer.h"
#include "platform/gui/soundfiles.h"
#include "platform/programfolder.h"
#include "tests/support/tempfolder.h"
#include "tests/support/testmain.h"

#include <QAudioOutput>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtEndian>
#include <QtTest>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {
constexpr int kTimeoutMs = 10000;
// The window's wait for a load at most: two tries of 2 s (see MediaPlayer).
constexpr int kLoadBoundMs = 2 * 2000;
// What the window may wait beyond a bound (a loaded machine, the sanitizers); less
// than one more try of a load or a call would add.
constexpr int kSlackMs = 1000;

// Runs a tool to its end; false when it is missing or fails.
bool run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

class tst_media : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString mp3_; // a 3-second tone

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        const QString sox = QStandardPaths::findExecutable("sox");
        const QString lame = QStandardPaths::findExecutable("lame");
        if (sox.isEmpty() || lame.isEmpty()) return;
        const QString wav = dir_.filePath("tone.wav");
        const QString mp3 = dir_.filePath("tone.mp3");
        if (run(sox,
                {"-n", "-r", "44100", "-b", "16", "-c", "2", wav, "synth", "3", "sine", "440"}) &&
            run(lame, {"--quiet", "-b", "128", wav, mp3}))
            mp3_ = mp3;
    }

    void playsAnMp3AndStops() {
        if (mp3_.isEmpty()) QSKIP("sox or lame missing");
        MediaPlayer player;
        player.setObjectName("WindowsMediaPlayer1");
        player.setUiMode("none");
        player.setURL(mp3_);
        QCOMPARE(player.URL(), mp3_);
        player.play();
        QTRY_COMPARE_WITH_TIMEOUT(player.playState(), QMediaPlayer::PlayingState, kTimeoutMs);
        QTRY_VERIFY_WITH_TIMEOUT(player.position() > 0, kTimeoutMs);
        player.stop();
        QTRY_COMPARE_WITH_TIMEOUT(player.playState(), QMediaPlayer::StoppedState, kTimeoutMs);
    }

    void pauseHoldsThePlace() {
        if (mp3_.isEmpty()) QSKIP("sox or lame missing");
        MediaPlayer player;
        player.setURL(mp3_);
        player.play();
        QTRY_VERIFY_WITH_TIMEOUT(player.position() > 0, kTimeoutMs);
        player.pause();
        QTRY_COMPARE_WITH_TIMEOUT(player.playState(), QMediaPlayer::PausedState, kTimeoutMs);
        QVERIFY(player.position() > 0);
    }

    void closeReleasesTheItem() {
        if (mp3_.isEmpty()) QSKIP("sox or lame missing");
        MediaPlayer player;
        player.setURL(mp3_);
        player.play();
        QTRY_COMPARE_WITH_TIMEOUT(player.playState(), QMediaPlayer::PlayingState, kTimeoutMs);
        player.close();
        QCOMPARE(player.playState(), QMediaPlayer::StoppedState);
        QVERIFY(player.currentMedia().isNull());
        QCOMPARE(player.mediaStatus(), QMediaPlayer::NoMedia);
    }

    void clientItemPlaysItsRewrittenFile() {
        // The client makes its item once and plays it every round after the file was rewritten.
        if (mp3_.isEmpty()) QSKIP("sox or lame missing");
        const QString temp = dir_.filePath("temp.mp3");
        QVERIFY(QFile::copy(mp3_, temp));
        MediaPlayer player;
        const MediaItem item = player.mediaCollectionAdd(temp);
        for (int round = 0; round < 2; ++round) {
            player.stop();
            player.close();
            if (round == 1) {
                QVERIFY(QFile::remove(temp));
                QVERIFY(QFile::copy(mp3_, temp));
            }
            player.setCurrentMedia(item);
            QCOMPARE(player.currentMedia().sourceURL, temp);
            player.play();
            QTRY_VERIFY_WITH_TIMEOUT(player.position() > 0, kTimeoutMs);
        }
        player.stop();
    }

    void sameUrlLoadsAgain() {
        if (mp3_.isEmpty()) QSKIP("sox or lame missing");
        MediaPlayer player;
        player.setURL(mp3_);
        player.play();
        QTRY_VERIFY_WITH_TIMEOUT(player.position() > 500, kTimeoutMs);
        player.setURL(mp3_); // an effect played again starts from its beginning
        QVERIFY(player.position() < 500);
        player.play();
        QTRY_COMPARE_WITH_TIMEOUT(player.playState(), QMediaPlayer::PlayingState, kTimeoutMs);
        player.stop();
    }

    // A sound per key press: players that went are torn down, not kept for good.
    void itemsInQuickSuccessionDoNotPileUpPlayers() {
        if (mp3_.isEmpty()) QSKIP("sox or lame missing");
        QTRY_COMPARE_WITH_TIMEOUT(MediaWorker::running(), 0, kTimeoutMs);
        MediaPlayer player;
        for (int press = 0; press < 20; ++press) {
            player.setURL(mp3_);
            player.play();
        }
        // Once the spare has been made (its timer has run out), the item's and the
        // spare are all that run: every earlier item's player has ended.
        auto* spareTimer = player.findChild<QTimer*>();
        QVERIFY(spareTimer);
        QTRY_VERIFY_WITH_TIMEOUT(!spareTimer->isActive(), kTimeoutMs);
        QTRY_COMPARE_WITH_TIMEOUT(MediaWorker::running(), 2, kTimeoutMs);
        player.stop();
    }

    void missingFileIsNoSoundAndNoDelay() {
        MediaPlayer player;
        player.setURL(dir_.filePath("nothing.mp3"));
        player.play();
        QTRY_VERIFY_WITH_TIMEOUT(player.failed(), kTimeoutMs);
        QElapsedTimer t;
        t.start();
        player.pause();
        player.stop();
        QCOMPARE(player.playState(), QMediaPlayer::StoppedState);
        QCOMPARE(player.URL(), dir_.filePath("nothing.mp3"));
        player.close();
        QVERIFY2(t.elapsed() < 500, qPrintable(QString::number(t.elapsed())));
        if (mp3_.isEmpty()) return;
        // The player goes on with the next good file.
        player.setURL(mp3_);
        player.play();
        QTRY_VERIFY_WITH_TIMEOUT(player.position() > 0, kTimeoutMs);
        player.stop();
    }

    void volumeMapsOntoTheOutput_data() {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("stored");
        QTest::addColumn<double>("output");
        QTest::newRow("silent") << 0 << 0 << 0.0;
        QTest::newRow("half") << 50 << 50 << 0.5;
        QTest::newRow("full") << 100 << 100 << 1.0;
        QTest::newRow("above") << 150 << 100 << 1.0;
        QTest::newRow("below") << -5 << 0 << 0.0;
    }
    void volumeMapsOntoTheOutput() {
        QFETCH(int, level);
        QFETCH(int, stored);
        QFETCH(double, output);
        MediaPlayer player;
        player.setURL(dir_.filePath("a.mp3"));
        player.setVolume(level);
        QCOMPARE(player.volume(), stored);
        QVERIFY(qAbs(player.outputVolume() - output) < 1e-6);
        player.setURL(dir_.filePath("b.mp3")); // the next item keeps it
        QVERIFY(qAbs(player.outputVolume() - output) < 1e-6);
    }

    void soundFilesAreInstalled() {
        TempProgramFolder folder;
        QVERIFY(installSoundFiles());
        for (const char* name : {"start.wav", "answers.wav"}) {
            const QByteArray wav = readAll(programFile(name));
            QVERIFY2(wav.size() > 44, name);
            QCOMPARE(wav.mid(0, 4), "RIFF");
            QCOMPARE(wav.mid(8, 8), "WAVEfmt ");
            QCOMPARE(qFromLittleEndian<quint16>(wav.constData() + 20), quint16(1));  // PCM
            QCOMPARE(qFromLittleEndian<quint16>(wav.constData() + 34), quint16(16)); // bits
            QCOMPARE(wav.mid(36, 4), "data");
            QVERIFY(qFromLittleEndian<quint32>(wav.constData() + 40) > 1000); // some sound
            QVERIFY(QFileInfo(programFile(name)).isWritable());
        }
    }

    void soundFilesKeepExistingOnes() {
        TempProgramFolder folder;
        {
            QFile own(programFile("answers.wav"));
            QVERIFY(own.open(QIODevice::WriteOnly));
            own.write("mine");
        }
        QVERIFY(installSoundFiles());
        QCOMPARE(readAll(programFile("answers.wav")), "mine");
        QVERIFY(QFile::exists(programFile("start.wav")));
    }

    void effectPlays() {
        TempProgramFolder folder;
        QVERIFY(installSoundFiles());
        MediaPlayer player;
        player.setObjectName("WindowsMediaPlayer2");
        player.setUiMode("none");
        player.setURL(programFile("start.wav"));
        player.play();
        QTRY_VERIFY_WITH_TIMEOUT(player.position() > 0, kTimeoutMs);
        QTRY_COMPARE_WITH_TIMEOUT(player.mediaStatus(), QMediaPlayer::EndOfMedia, kTimeoutMs);
    }

    // The media backend deadlocks inside a call for good (the preloaded tool makes it
    // happen at every load): the window waits at most 2 x 2 s for a load and not at
    // all for the calls of the silent item, the item stays current, the next one is
    // tried, a stuck worker holds up no other, and the process still ends.
    void stuckBackendLeavesItemsSilent() {
        if (mp3_.isEmpty()) QSKIP("sox or lame missing");
        if (qEnvironmentVariableIsSet("VDX_MEDIARACE_CHILD")) {
            MediaPlayer player;
            for (int item = 0; item < 3; ++item) {
                QElapsedTimer t;
                t.start();
                player.setURL(mp3_);
                player.play();
                player.pause();
                player.stop();
                QVERIFY2(t.elapsed() < kLoadBoundMs + kSlackMs,
                         qPrintable(QString::number(t.elapsed())));
                QCOMPARE(player.URL(), mp3_);
            }
            player.close();

            auto working = std::make_unique<MediaWorker>(1.0f);
            auto stuck = std::make_unique<MediaWorker>(1.0f);
            const auto retire = qScopeGuard([&] {
                MediaWorker::retire(std::move(stuck));
                MediaWorker::retire(std::move(working));
            });
            QVERIFY(working->run([](QMediaPlayer&) {}));
            const QUrl source = QUrl::fromLocalFile(mp3_);
            QVERIFY(!stuck->run([source](QMediaPlayer& p) { p.setSource(source); }, 2000));
            QVERIFY(stuck->stuck());
            QVERIFY(
                working->run([](QMediaPlayer& p) { p.audioOutput()->setVolume(0.5f); }, kSlackMs));
            QCOMPARE(working->snapshot().volume, 0.5f);
            return;
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("VDX_MEDIARACE_CHILD", "1");
        env.insert("QT_MEDIA_BACKEND", "gstreamer");
        env.insert("LD_PRELOAD", VDX_MEDIARACE);
        env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":verify_asan_link_order=0");
        QProcess child;
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {"stuckBackendLeavesItemsSilent"});
        QVERIFY2(child.waitForFinished(90000), "the child hung");
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
                 child.readAllStandardOutput().right(2000).constData());
    }

    // A window that is never deleted keeps its players: they still end, on their own
    // threads, with the application object; and the process ends without the media
    // libraries' own teardown, whose disconnect from the sound server can abort it
    // (the preloaded tool fails a process that disconnects at exit).
    void playersEndWithTheApplication() {
        if (mp3_.isEmpty()) QSKIP("sox or lame missing");
        if (qEnvironmentVariableIsSet("VDX_LEAK_CHILD")) {
            MediaPlayer* kept = std::make_unique<MediaPlayer>().release(); // never deleted
            kept->setURL(mp3_);
            kept->play();
            QTRY_VERIFY_WITH_TIMEOUT(kept->position() > 0, kTimeoutMs);
            QObject::connect(qApp, &QObject::destroyed, [] {
                if (MediaWorker::running() == 0) return;
                std::fputs("a media player runs on after the application object\n", stderr);
                std::_Exit(3);
            });
            return;
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("VDX_LEAK_CHILD", "1");
        env.insert("LD_PRELOAD", VDX_EXITTEARDOWN);
        env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":verify_asan_link_order=0");
        QProcess child;
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {"playersEndWithTheApplication"});
        QVERIFY(child.waitForFinished(60000));
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
                 child.readAllStandardError().right(2000).constData());
    }

    void noSoundDeviceIsNoSound() {
        // This suite's playing tests again, in a process that finds no sound server.
        if (qEnvironmentVariableIsSet("VDX_NO_SOUND_CHILD")) QSKIP("already without sound");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("VDX_NO_SOUND_CHILD", "1");
        env.insert("PULSE_SERVER", "unix:" + dir_.filePath("no-such-server"));
        env.insert("XDG_RUNTIME_DIR", dir_.path());
        QProcess child;
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(),
                    {"playsAnMp3AndStops", "clientItemPlaysItsRewrittenFile",
                     "missingFileIsNoSoundAndNoDelay", "effectPlays"});
        QVERIFY(child.waitForFinished(120000));
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
                 child.readAllStandardOutput().right(2000).constData());
    }
};

VDX_TEST_MAIN(tst_media)
#include "tst_media.moc"
