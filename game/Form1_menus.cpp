// The game window's menus: Exit, Kick player, Reset current game, Sound FX, Pause.
#include "game/Form1.h"

#include "common/gamestate.h"
#include "lobby/clicklabel.h"
#include "lobby/frmmulti.h"
#include "netgame/clientmodule.h"
#include "netgame/servermodule.h"
#include "platform/gui/mediaplayer.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTcpSocket>
#include <QTimer>

bool Form1::spelloopt() const {
    return !Command8->isEnabled() && !verlaten_;
}

void Form1::mnuExit_Click() {
    if (verlaten_) return;
    verlaten_ = true;
    state().bannerbuffer.clear(); // a reply cut off here is no picture
    wsbanner->abort();
    if (state().isserver == 1) {
        sendstoptoclients();
        closelistener();
        if (frmmulti::exists()) {
            frmmulti& online = frmmulti::instance();
            online.SSTab1->setTabEnabled(kTabHost, true);
            online.SSTab1->setTabEnabled(kTabJoin, true);
            online.cmdStophost_Click();
            online.lblstatushost->setText(QStringLiteral("No server started"));
        }
    } else {
        if (frmmulti::exists()) {
            frmmulti& online = frmmulti::instance();
            online.SSTab1->setTabEnabled(kTabHost, true);
            online.lblstatusjoin->setText(QStringLiteral("Not in a game"));
        }
        clientclose();
        if (frmmulti::exists()) frmmulti::instance().Command1->setEnabled(true);
    }
    unload();
    if (frmmulti::exists()) {
        frmmulti::instance().raise();
        frmmulti::instance().activateWindow();
    }
}

void Form1::mnukickplayer_Click(int index) {
    state().kickspeler = qint16(index + 1);
}

void Form1::mnureset_Click() {
    GameState& s = state();
    s.vraagnummer = 1;
    for (Speler& speler : s.spelers) {
        speler.antwoord = 0;
        speler.antwoordtijd = 0;
        speler.huidigescore = 0;
        speler.totaalscore = 0;
    }
    for (QLineEdit* box : score)
        box->setText(QStringLiteral("0"));
    txthoofd->setText(QStringLiteral("1 ~ artist/song?"));
    sendchattoclients(QStringLiteral("server: -- GAME RESTARTED"));
}

void Form1::mnusoundfx_Click() {
    mnusoundfx->setChecked(!mnusoundfx->isChecked());
}

void Form1::mnuPause_Click() {
    if (!Image5->isHidden()) return; // only while a game is on screen
    if (!mnuPause->isChecked()) {
        mnuPause->setChecked(true);
        tmrKlok->stop();
        WindowsMediaPlayer1->pause();
    } else {
        mnuPause->setChecked(false);
        tmrKlok->start();
        WindowsMediaPlayer1->play();
    }
}
