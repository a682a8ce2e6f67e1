// Music questions and playback, the volume slider, the playlist reader and the song tag.
#include "game/Form1.h"

#include "common/gamestate.h"
#include "common/id3v1.h"
#include "common/musicdraw.h"
#include "common/playlist.h"
#include "netgame/clientmodule.h"
#include "netgame/servermodule.h"
#include "platform/gui/mediaplayer.h"
#include "platform/programfolder.h"

#include <QLineEdit>
#include <QSlider>
#include <QTimer>

void Form1::liedvoorbereiden() {
    WindowsMediaPlayer1->stop();
    WindowsMediaPlayer1->close();
    // A playlist too short for four different titles is refused at the game's
    // start; here it leaves the question as it was.
    prepareMusicQuestion(huidiglied);
}

void Form1::liedspelen() {
    const QString file = programFile(QStringLiteral("server.mp3"));
    WindowsMediaPlayer1->newMedia(file);
    WindowsMediaPlayer1->setUiMode(QStringLiteral("none"));
    WindowsMediaPlayer1->setURL(file);
    WindowsMediaPlayer1->play();
}

void Form1::clientliedspelen() {
    GameState& s = state();
    s.antwoordenopen = 1;
    WindowsMediaPlayer1->stop();
    WindowsMediaPlayer1->close();
    s.liedpad = programFile(QStringLiteral("temp.mp3"));
    WindowsMediaPlayer1->newMedia(s.liedpad);
    WindowsMediaPlayer1->setUiMode(QStringLiteral("none"));
    // The media item of the excerpt file reads the file anew each round.
    WindowsMediaPlayer1->setCurrentMedia(WindowsMediaPlayer1->mediaCollectionAdd(s.liedpad));
    WindowsMediaPlayer1->play();
}

void Form1::liedstoppen() {
    WindowsMediaPlayer1->stop();
}

void Form1::tmrclientstart_Timer() {
    if (clientState() != sckConnected) return;
    WindowsMediaPlayer2->setUiMode(QStringLiteral("none"));
    WindowsMediaPlayer2->setURL(programFile(QStringLiteral("start.wav")));
    WindowsMediaPlayer2->play();
    tmrclientstart->stop();
}

void Form1::slider1_VolumeChange() {
    WindowsMediaPlayer1->setVolume(slider1->value());
    tmrslider->start();
    state().slidertikken = 2;
}

void Form1::slider1_Refocus() {
    Text1->setFocus();
}

bool Form1::LoadM3U(const QString& strFilename, QStringList& strFilePaths, QStringList& strNames) {
    return ::LoadM3U(strFilename, strFilePaths, strNames);
}

void Form1::id3v1() {
    const std::optional<Id3v1Tag> tag = readId3v1(state().liedpad);
    if (!tag) return;
    txtTrack1->setText(tag->title);
    txtArtist1->setText(tag->artist);
    txtAlbum1->setText(tag->album);
    txtYear1->setText(tag->year);
    txtComments1->setText(tag->comment);
}
