#include "common/id3v1.h"
#include "common/playlist.h"
#include "tests/support/datarow.h"
#include "tests/support/dialogrecorder.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QStringList kOldPaths{"old path"};
const QStringList kOldNames{"old name"};
} // namespace

class tst_playlist : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QStringList paths_;
    QStringList names_;

    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = dir_.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    QString folder() const { return dir_.path() + "/"; }
    bool load(const QString& path) { return LoadM3U(path, paths_, names_); }
    bool loadBytes(const QByteArray& bytes) { return load(write("list.m3u", bytes)); }
    void verifyUntouched() {
        QCOMPARE(paths_, kOldPaths);
        QCOMPARE(names_, kOldNames);
    }

    // One ID3v1 tag of 128 bytes.
    static QByteArray tag(const QByteArray& title, const QByteArray& artist,
                          const QByteArray& album, const QByteArray& year,
                          const QByteArray& comment, char pad = ' ') {
        auto field = [pad](QByteArray f, int size) { return f.leftJustified(size, pad, true); };
        return "TAG" + field(title, 30) + field(artist, 30) + field(album, 30) + field(year, 4) +
               field(comment, 30) + char(12);
    }

private slots:
    void init() {
        QVERIFY(dir_.isValid());
        paths_ = kOldPaths;
        names_ = kOldNames;
    }

    void fourPiecesLoadOneEntry() {
        DialogRecorder dialogs;
        QVERIFY(loadBytes("#EXTM3U\r\n#EXTINF:215,Artist - Song\r\nD:\\music\\song.mp3\r\n"));
        QCOMPARE(paths_, QStringList{"D:\\music\\song.mp3"});
        QCOMPARE(names_, QStringList{"Artist - Song"});
        QVERIFY(dialogs.messages.isEmpty());
    }

    void refusedSilently_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("three lines, no final break")
            << QByteArray("#EXTM3U\r\n#EXTINF:215,Artist - Song\r\nD:\\music\\song.mp3");
        QTest::newRow("lower case header") << QByteArray("#extm3u\r\nD:\\a.mp3\r\nD:\\b.mp3\r\n");
        QTest::newRow("byte order mark")
            << QByteArray("\xEF\xBB\xBF#EXTM3U\r\nD:\\a.mp3\r\nD:\\b.mp3\r\n");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("LF, three lines") << QByteArray("#EXTM3U\na.mp3\nb.mp3");
    }
    void refusedSilently() {
        QFETCH(QByteArray, bytes);
        DialogRecorder dialogs;
        QVERIFY(!loadBytes(bytes));
        verifyUntouched();
        QVERIFY(dialogs.messages.isEmpty());
    }

    void missingFileOrFolderRefused() {
        DialogRecorder dialogs;
        QVERIFY(!load(dir_.filePath("nothing.m3u")));
        QVERIFY(!load(dir_.path()));
        QVERIFY(!load(QString()));
        verifyUntouched();
        QVERIFY(dialogs.messages.isEmpty());
    }

    void withoutExtinfTitlesComeFromFileNames() {
        QVERIFY(loadBytes("#EXTM3U\r\nD:\\m\\one.mp3\r\n\r\nF:\\two.live.mp3\r\n#note.txt\r\n"));
        QCOMPARE(paths_,
                 (QStringList{"D:\\m\\one.mp3", "F:\\two.live.mp3", folder() + "#note.txt"}));
        QCOMPARE(names_, (QStringList{"one", "two.live", "#note"}));
    }

    void extinfThenEmptyLineGivesPlaylistFolder() {
        QVERIFY(loadBytes("#EXTM3U\r\n#EXTINF:10,First\r\n\r\nD:\\b.mp3\r\n"));
        QCOMPARE(paths_, (QStringList{folder(), "D:\\b.mp3"}));
        QCOMPARE(names_, (QStringList{"First", "b"}));
    }

    void extinfWithoutCommaIsWholeTitle() {
        QVERIFY(loadBytes("#EXTM3U\r\n#EXTINF Song\r\nD:\\x.mp3\r\n"));
        QCOMPARE(names_, QStringList{"#EXTINF Song"});
    }

    void hashLineAfterExtinfIsPath() {
        QVERIFY(loadBytes("#EXTM3U\r\n#EXTINF:1,T\r\n#comment\r\n"));
        QCOMPARE(paths_, QStringList{folder() + "#comment"});
        QCOMPARE(names_, QStringList{"T"});
    }

    void surplusTitlesDropped() {
        // Two titles in a row shift the titles; titles past the last path go.
        QVERIFY(loadBytes("#EXTM3U\r\n#EXTINF:1,A\r\n#EXTINF:2,B\r\nD:\\x.mp3\r\nD:\\y.mp3\r\n"
                          "#EXTINF:3,C"));
        QCOMPARE(paths_, (QStringList{"D:\\x.mp3", "D:\\y.mp3"}));
        QCOMPARE(names_, (QStringList{"A", "B"}));
    }

    void songLineWithoutDotFails() {
        DialogRecorder dialogs;
        QVERIFY(!loadBytes("#EXTM3U\r\nD:\\a.mp3\r\nD:\\dir.x\\noext\r\nD:\\c.mp3\r\n"));
        verifyUntouched();
        QCOMPARE(dialogs.texts(), QStringList{"Invalid procedure call or argument Number: 5"});
        QCOMPARE(dialogs.messages.at(0).icon, MsgIcon::Exclamation);
        QCOMPARE(dialogs.messages.at(0).title, appTitle());
    }

    void noPathsFails_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty lines") << QByteArray("#EXTM3U\r\n\r\n\r\n\r\n");
        QTest::newRow("titles only")
            << QByteArray("#EXTM3U\r\n#EXTINF:1,A\r\n#EXTINF:2,B\r\n#EXTINF:3,C");
    }
    void noPathsFails() {
        QFETCH(QByteArray, bytes);
        DialogRecorder dialogs;
        QVERIFY(!loadBytes(bytes));
        verifyUntouched();
        QCOMPARE(dialogs.texts(), QStringList{"Subscript out of range Number: 9"});
        QCOMPARE(dialogs.messages.at(0).icon, MsgIcon::Exclamation);
    }

    void resolve_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("resolved");
        const QString win = m3uFolder("E:\\lists\\pop.m3u");
        dataRow("win relative", win, "songs\\a.mp3", "E:\\lists\\songs\\a.mp3");
        dataRow("win drive relative", win, "\\tmp\\b.mp3", "E:\\tmp\\b.mp3");
        dataRow("win network", win, "\\\\server\\share\\c.mp3", "\\\\server\\share\\c.mp3");
        dataRow("win drive", win, "F:\\d.mp3", "F:\\d.mp3");
        dataRow("win empty", win, "", "E:\\lists\\");
        const QString lin = m3uFolder("/home/u/lists/pop.m3u");
        dataRow("linux relative", lin, "songs/a.mp3", "/home/u/lists/songs/a.mp3");
        dataRow("linux absolute", lin, "/music/b.mp3", "/music/b.mp3");
        dataRow("linux, win relative", lin, "sub\\c.mp3", "/home/u/lists/sub/c.mp3");
        dataRow("linux, drive relative", lin, "\\tmp\\d.mp3", "/tmp/d.mp3");
        dataRow("linux, drive", lin, "F:\\d.mp3", "F:\\d.mp3");
        dataRow("no folder", m3uFolder("pop.m3u"), "a\\b.mp3", "a\\b.mp3");
    }
    void resolve() {
        QFETCH(QString, folder);
        QFETCH(QString, line);
        QFETCH(QString, resolved);
        QCOMPARE(m3uResolvePath(folder, line), resolved);
    }

    void folderTakesLastSeparatorOfEitherKind() {
        QCOMPARE(m3uFolder("E:\\lists\\pop.m3u"), "E:\\lists\\");
        QCOMPARE(m3uFolder("/a\\b/c.m3u"), "/a\\b/");
        QCOMPARE(m3uFolder("/a/b\\c.m3u"), "/a/b\\");
    }

    void linuxPlaylistWithLfLines() {
        QVERIFY(loadBytes("#EXTM3U\n#EXTINF:1,Song A\nsongs/a.mp3\n/music/b.mp3\n"
                          "win\\c.mp3\n\\tmp\\d.mp3\n"));
        QCOMPARE(paths_, (QStringList{folder() + "songs/a.mp3", "/music/b.mp3",
                                      folder() + "win/c.mp3", "/tmp/d.mp3"}));
        QCOMPARE(names_, (QStringList{"Song A", "b", "c", "d"}));
    }

    void crLfFileKeepsLoneLf() {
        QVERIFY(loadBytes("#EXTM3U\r\n#EXTINF:1,A\nB\r\nD:\\a.mp3\r\n"));
        QCOMPARE(names_, QStringList{"A\nB"});
    }

    void utf8AndLatin1Titles() {
        QVERIFY(loadBytes("#EXTM3U\r\n#EXTINF:1,Bj\xC3\xB6rk \xE2\x80\x93 J\xC3\xB3ga\r\n"
                          "/m/j\xC3\xB3ga.mp3\r\n/m/\xC3\xA9t\xC3\xA9.mp3\r\n"));
        QCOMPARE(names_,
                 (QStringList{QString::fromUtf8("Björk – Jóga"), QString::fromUtf8("été")}));
        QCOMPARE(paths_.at(0), QString::fromUtf8("/m/jóga.mp3"));

        QVERIFY(loadBytes("#EXTM3U\r\n#EXTINF:1,Bj\xF6rk\r\n/m/j\xF3ga.mp3\r\n"));
        QCOMPARE(names_, QStringList{QString::fromUtf8("Björk")});
        QCOMPARE(paths_, QStringList{QString::fromUtf8("/m/jóga.mp3")});

        // One stray byte at the very end makes the whole file Latin-1.
        QVERIFY(loadBytes("#EXTM3U\r\n#EXTINF:1,Bj\xC3\xB6rk\r\n/m/a.mp3\r\n/m/x.\xC3"));
        QCOMPARE(names_, (QStringList{QString::fromUtf8("BjÃ¶rk"), "x"}));
    }

    void binaryGarbageDoesNotCrash() {
        DialogRecorder dialogs;
        QRandomGenerator rng(42);
        int loaded = 0;
        for (int round = 0; round < 200; ++round) {
            QByteArrayList lines{round % 2 ? "#EXTM3U" : ""};
            for (int n = rng.bounded(1, 10); n > 0; --n) {
                QByteArray line(rng.bounded(0, 60), '\0');
                for (auto& b : line)
                    b = char(rng.bounded(256));
                if (rng.bounded(8)) line.append(".mp3");
                lines.append(line);
            }
            const QByteArray bytes = lines.join(round % 3 ? "\r\n" : "\n");
            paths_ = kOldPaths;
            names_ = kOldNames;
            if (loadBytes(bytes)) {
                ++loaded;
                QCOMPARE(paths_.size(), names_.size());
                QVERIFY(!paths_.isEmpty());
            } else {
                verifyUntouched();
            }
        }
        QVERIFY(loaded > 0);
        QVERIFY(!dialogs.messages.isEmpty());
    }

    void unreadableFileShowsMessage() {
        const QString path = write("locked.m3u", "#EXTM3U\r\nD:\\a.mp3\r\nD:\\b.mp3\r\n");
        QFile::setPermissions(path, QFileDevice::Permissions());
        if (QFile(path).open(QIODevice::ReadOnly)) QSKIP("permissions are not enforced here");
        DialogRecorder dialogs;
        QVERIFY(!load(path));
        verifyUntouched();
        QCOMPARE(dialogs.texts(), QStringList{"Path/File access error Number: 75"});
    }

    void id3v1TagFillsFields() {
        const QByteArray song = QByteArray(300, 'x') + tag("  Title  ", QByteArray("Artist\0\0", 8),
                                                           "Caf\xE9", "1999", " c ");
        const auto t = readId3v1(write("song.mp3", song));
        QVERIFY(t.has_value());
        QCOMPARE(t->title, "Title");
        QCOMPARE(t->artist, QString("Artist") + QString(2, QChar(0)));
        QCOMPARE(t->album, QString::fromUtf8("Café"));
        QCOMPARE(t->year, "1999");
        QCOMPARE(t->comment, "c");
    }

    void id3v1NulPaddingStays() {
        const auto t = readId3v1(write("nul.mp3", tag("Song", "", "", "", "", '\0')));
        QVERIFY(t.has_value());
        QCOMPARE(t->title, QString("Song") + QString(26, QChar(0)));
        QCOMPARE(t->year, QString(4, QChar(0)));
    }

    void id3v1NoTag() {
        const QByteArray full = tag("T", "A", "B", "2000", "C");
        QVERIFY(!readId3v1(write("short.mp3", full.mid(1))));         // 127 bytes
        QVERIFY(!readId3v1(write("lower.mp3", "tag" + full.mid(3)))); // no "TAG"
        QVERIFY(!readId3v1(write("early.mp3", full + 'x')));          // tag not at the end
        QVERIFY(!readId3v1(dir_.filePath("missing.mp3")));
        QVERIFY(!readId3v1(dir_.path()));
    }
};

QTEST_GUILESS_MAIN(tst_playlist)
#include "tst_playlist.moc"
