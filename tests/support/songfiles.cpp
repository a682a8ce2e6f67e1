#include "tests/support/songfiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace {
bool run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}
} // namespace

bool canMakeSongs() {
    return !QStandardPaths::findExecutable(QStringLiteral("sox")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("lame")).isEmpty();
}

TestSongs makeSongs(const QString& folder, int count, int seconds) {
    TestSongs songs;
    if (!canMakeSongs()) return songs;
    const QDir dir(folder);
    QByteArray m3u = "#EXTM3U\r\n";
    for (int n = 1; n <= count; ++n) {
        const QString wav = dir.filePath(QStringLiteral("song%1.wav").arg(n));
        const QString mp3 = dir.filePath(QStringLiteral("song%1.mp3").arg(n));
        const QString tone = QString::number(220 + 40 * n);
        if (!run(QStringLiteral("sox"), {"-n", "-r", "22050", "-b", "16", "-c", "1", wav, "synth",
                                         QString::number(seconds), "sine", tone}))
            return {};
        const QString title = QStringLiteral("Song %1").arg(n);
        const QString artist = QStringLiteral("Artist %1").arg(n);
        if (!run(QStringLiteral("lame"),
                 {"--quiet", "-b", "64", "--tt", title, "--ta", artist, "--tl", "Album", "--ty",
                  "2008", "--tc", QStringLiteral("test %1").arg(n), "--id3v1-only", wav, mp3}))
            return {};
        QFile::remove(wav);
        songs.paths << mp3;
        songs.titles << artist + QStringLiteral(" - ") + title;
        m3u += "#EXTINF:" + QByteArray::number(seconds) + "," + songs.titles.last().toUtf8() +
               "\r\n" + mp3.toUtf8() + "\r\n";
    }
    songs.playlist = dir.filePath(QStringLiteral("songs.m3u"));
    QFile file(songs.playlist);
    if (!file.open(QIODevice::WriteOnly) || file.write(m3u) != m3u.size()) return {};
    return songs;
}
