#pragma once

#include <QString>
#include <QStringList>

// Real MP3 files for tests: a tone per song made by sox, encoded by lame with an
// ID3v1 tag. Song n (from 1) has the title "Song n", the artist "Artist n", the
// album "Album", the year "2008" and the comment "test n"; its playlist title is
// "Artist n - Song n".
struct TestSongs {
    QStringList paths;
    QStringList titles;
    QString playlist; // an extended M3U listing them, CR LF line ends
};

// True when sox and lame are installed.
bool canMakeSongs();
// Makes count songs of the given length in folder. Empty paths when a tool is
// missing or fails.
TestSongs makeSongs(const QString& folder, int count, int seconds = 2);
