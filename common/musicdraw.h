#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// The draw of a music question: a song of the playlist and three other titles,
// with the right title at a place that depends on the first other index.

// A random number in [0, 1), as Rnd gives it.
using RndFunction = std::function<double()>;

// Fewest drawable songs a question needs: the song and three other titles.
constexpr int kMinDrawableSongs = 4;

// liedbovengrens for a playlist of count songs: its last index, so that every
// entry can be drawn.
qint16 songDrawBound(qsizetype count);

// True when indices 0 .. liedbovengrens are at least kMinDrawableSongs and all
// exist in both lists. Without this the draw cannot find four different songs.
bool canDrawMusicQuestion(qint16 liedbovengrens, const QStringList& liedpaden,
                          const QStringList& liedtitels);

struct MusicQuestion {
    qint16 huidiglied = 0;  // index of the song
    QString liedpad;        // the file it plays from
    QString keuzes[5];      // 1..4: titles in screen order
    qint16 juistekeuze = 0; // 1..4: place of the right title
};

// The file a playlist path plays from: a path that begins with one "\" is on drive c:.
QString songFilePath(const QString& path);

// Draws a question: the song and three more indices, each Int((liedbovengrens + 1) * rnd()),
// redrawn until all four differ. Returns false and leaves out as it was when
// canDrawMusicQuestion fails. Always ends, whatever rnd returns.
bool drawMusicQuestion(const QStringList& liedpaden, const QStringList& liedtitels,
                       qint16 liedbovengrens, const RndFunction& rnd, MusicQuestion& out);

// The game-state half of Form1's liedvoorbereiden: draws from state() with Rnd and
// stores liedpad, keuzes and juistekeuze there; huidiglied goes to the caller.
// Returns false with nothing changed when the playlist is too short.
bool prepareMusicQuestion(qint16& huidiglied);
