// Start-up, tab changes, the exits and the small handlers of the online window.
#include "common/gamestate.h"
#include "common/settings.h"
#include "lobby/centraldb.h"
#include "lobby/frmmulti.h"

#include "game/Form1.h"
#include "game/Form7.h"
#include "lobby/oscheck.h"
#include "platform/dialogs.h"
#include "platform/gui/closeless.h"
#include "platform/programfolder.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QNetworkInterface>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>

namespace {

// This PC's own address as the host socket would report it: the first IPv4
// address of an interface that is up, other than the loopback.
QString localIP() {
    for (const QNetworkInterface& nic : QNetworkInterface::allInterfaces()) {
        if (!(nic.flags() & QNetworkInterface::IsUp) ||
            (nic.flags() & QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry& entry : nic.addressEntries())
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol)
                return entry.ip().toString();
    }
    return QStringLiteral("127.0.0.1");
}

} // namespace

void muisbezig() {
    const QCursor* cursor = QApplication::overrideCursor();
    if (!cursor || cursor->shape() != Qt::WaitCursor)
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

void muisnormaal() {
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

void frmmulti::Form_Load() {
    GameState& st = state();
    vullanden();
    RemoveCloseMenuItem(this);

    const double halfwaarde = 1.0 / 2;
    txtdeci->setText(QLocale().toString(halfwaarde));
    st.decimaalscheider = txtdeci->text().mid(1, 1);

    const QString ini = programFile(QStringLiteral("settings.ini"));
    const QString controls = QStringLiteral("controls");
    const QString device = readini(ini, controls, QStringLiteral("device"));
    QString buttons[4];
    for (int i = 0; i < 4; ++i)
        buttons[i] = readini(ini, controls, QStringLiteral("button%1").arg(i + 1));
    const QString username = readini(ini, QStringLiteral("user"), QStringLiteral("username"));
    if (!username.isEmpty()) txtusrlogin->setText(username);

    if (buttons[0].isEmpty() || buttons[1].isEmpty() || buttons[2].isEmpty() ||
        buttons[3].isEmpty()) {
        MsgBox(QStringLiteral("Go to tab 'contols' to change buttons"));
        showoswarning();
    } else {
        if (device == QStringLiteral("joystick")) {
            optjoystick->setChecked(true);
            optjoystick_Click();
        } else {
            optkeyboard->setChecked(true);
            optkeyboard_Click();
        }
        Speler& ik = st.spelers[0];
        QLineEdit* boxes[] = {txtbutton1, txtbutton2, txtbutton3, txtbutton4};
        for (int i = 0; i < 4; ++i) {
            ik.knop(i + 1) = buttons[i];
            boxes[i]->setText(ik.knop(i + 1));
        }
    }

    {
        // A disabled page is never left selected by us; the tab bar must not move
        // the selection (and report a change) by itself while we disable them.
        const QSignalBlocker blocker(SSTab1);
        for (int tab : {kTabHost, kTabJoin, kTabControls, kTabExpand, kTabHighscore, kTabLobby})
            SSTab1->setTabEnabled(tab, false);
    }
    SSTab1->setCurrentIndex(kTabLogin);

    st.speltype = QStringLiteral("music");
    st.rondetype = QStringLiteral("music");
    const bool keyboard = optkeyboard->isChecked();
    st.keyboard1 = keyboard ? kTrue : kFalse;
    st.joystick1 = keyboard ? kFalse : kTrue;
}

void frmmulti::SSTab1_Click() {
    GameState& st = state();
    const int tab = SSTab1->currentIndex();

    if (tab == kTabHost && cmdHost->isEnabled()) txtserverip->setText(localIP());

    if (tab == kTabJoin) {
        if (gMyConn().State() == DbConnection::kNotConnected) {
            SSTab1->setCurrentIndex(kTabExpand);
            muisbezig();
            SSTab1->setCurrentIndex(kTabExpand);
            for (int t : {kTabHost, kTabJoin, kTabControls})
                SSTab1->setTabEnabled(t, false);
        } else {
            muisbezig();
        }
        if (chkPublic->isChecked())
            toonlijstmuziek();
        else
            toonlijsttrivia();
        muisnormaal();
    }

    if (tab == kTabProblems) txtrepusername->setText(st.gebruikersnaam);

    if (tab == kTabHighscore) cmdrefreshlist2_Click();

    if (tab == kTabLobby) {
        st.inlobby = 1;
        writeLocatie(QStringLiteral("lobby"));
        tmrlobbychat->start();
        controleeropberichten();
        controleeropsysteemberichten();
        txtlobbysturen->setFocus();
        if (txtsystemmessages->toPlainText().isEmpty())
            txtsystemmessages->setPlainText(QStringLiteral("<none>"));
    } else {
        if (st.inlobby == 1) {
            writeLocatie(QStringLiteral("elders"));
            st.inlobby = 0;
        }
        tmrlobbychat->stop();
    }
}

// Marks the logged-in user as present in the lobby or elsewhere; a failure is silent.
void frmmulti::writeLocatie(const QString& locatie) {
    gMyConn().Execute(QStringLiteral("update phpbb_users set locatie = '") + locatie +
                          QStringLiteral("' where username = ?"),
                      {state().gebruikersnaam});
}

void frmmulti::Command10_Click() {
    GameState& st = state();
    // Hosting: the game ends first as the game window's Exit ends it, so the
    // clients are told and the listed game goes inactive.
    if (st.isserver == 1 && Form1::exists()) Form1::instance().mnuExit_Click();
    if (st.inlobby == 1) {
        writeLocatie(QStringLiteral("elders"));
        st.inlobby = 0;
    }
    tmrlobbychat->stop();
    endProgram();
}

void frmmulti::Command8_Click() {
    endProgram();
}

// Unloads the game windows and ends the program: the event loop stops and the window goes.
void frmmulti::endProgram() {
    Form1::unload();
    Form7::unload();
    closeByProgram(this);
    QCoreApplication::quit();
}

void frmmulti::Label17_Click() {
    if (frmnewusr->isHidden()) frmnewusr->show();
}

void frmmulti::Command7_Click() {
    frmnewusr->hide();
}

void frmmulti::Label16_Click() {
    MsgBox(QStringLiteral("mail to: ") + supportMail() +
           QStringLiteral(" topic: 'lost password' + userID  to request a new password"));
}
