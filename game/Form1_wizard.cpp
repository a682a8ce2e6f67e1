// The hidden "Wizard" menu item: the way into the local set-up wizard.
#include "game/Form1.h"

#include "common/gamestate.h"
#include "game/Form2.h"
#include "lobby/clicklabel.h"
#include "platform/dialogs.h"
#include "platform/gui/mediaplayer.h"

#include <QAction>
#include <QMenuBar>
#include <QTimer>

void Form1::buildWizardMenu() {
    mnuWizard = menuBar()->addAction(QStringLiteral("Wizard"));
    mnuWizard->setObjectName(QStringLiteral("mnuWizard"));
    mnuWizard->setVisible(false);
    connect(mnuWizard, &QAction::triggered, this, &Form1::mnuWizard_Click);
}

void Form1::mnuWizard_Click() {
    if (Image5->isHidden()) { // a game is on screen
        if (MsgBox(QStringLiteral("Are you sure you want to quit current game?"), MsgIcon::None,
                   QStringLiteral("new game?"), MsgButtons::YesNo) != vbYes)
            return;
        tmrKlok->stop();
        WindowsMediaPlayer1->pause();
        Timer1->stop();
        state().vraagnummer = 1;
    }
    Form2::instance().show();
}
