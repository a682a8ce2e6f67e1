// The "Join game" tab: picking a game, the password check, connecting, and the
// client's reactions to losing the game.
#include "common/gamestate.h"
#include "common/receivebuffer.h"
#include "game/Form1.h"
#include "lobby/centraldb.h"
#include "lobby/frmmulti.h"
#include "lobby/reclame.h"
#include "lobby/resultgrid.h"
#include "netgame/clientmodule.h"
#include "netgame/listensocket.h"
#include "netgame/netinternal.h"
#include "platform/dialogs.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTcpSocket>

namespace {

// Set by "vxsestop", cleared by the next connect.
bool gestopt = false;

// This PC hosts a game or plays in one (its game window is open): a connect
// would be a second connection of the same player.
bool inspel() {
    return state().isserver != 0 || Form1::exists();
}

} // namespace

bool verbindinggestopt() {
    return gestopt;
}

void frmmulti::fgData_Click() {
    if (resultgrid::rows(fgData) < 1) return;
    adresingetypt = QStringLiteral("no");
    const int rij = fgData->currentRow() + 1;
    if (rij < 1) return;
    fgData->selectRow(rij - 1);
    txthostnaam->setText(resultgrid::text(fgData, rij, 1));
    txthostport->setText(resultgrid::text(fgData, rij, 2));
    txtmetpaswoord->setText(resultgrid::text(fgData, rij, 11));
    Command1->setEnabled(!inspel());
}

void frmmulti::Command1_Click() {
    GameState& st = state();
    if (inspel()) return;
    if (txtmetpaswoord->text() == u"yes") {
        const QString paswoord =
            InputBox(QStringLiteral("Fill in password:"), QStringLiteral("Private game"));
        if (paswoord.isEmpty()) return;
        DbRecordset rs = gMyConn().Execute(
            QStringLiteral("select * from vdrx_servers where IPaddress = ? and IPport = ? and "
                           "serverpassword = ?"),
            {txthostnaam->text(), txthostport->text(), paswoord});
        myrslogin() = rs;
        CheckError();
        if (rs.RecordCount() < 1) {
            MsgBox(QStringLiteral("incorrect password"));
            return;
        }
    } else if (adresingetypt == u"yes") {
        for (int r = 1; r <= resultgrid::rows(fgData) - 1; ++r) {
            if (resultgrid::text(fgData, r, 1) == txthostnaam->text() &&
                resultgrid::text(fgData, r, 2) == txthostport->text()) {
                MsgBox(QStringLiteral("This server exists, select it from the list"));
                return;
            }
        }
    }
    SSTab1->setTabEnabled(kTabHost, false);
    st.isserver = 0;
    reclameladen(st.landnaam);
    clientconnect(txthostnaam->text());
}

void frmmulti::clientconnect(const QString& ip) {
    if (ip.isEmpty()) return;
    GameState& st = state();
    client->abort();
    clientontvangst->reset();
    gestopt = false;
    st.ontvangtlied = kFalse;
    st.liedbuffer.clear();
    bool ok = false;
    const int poort = txthostport->text().toInt(&ok);
    if (!ok || poort <= 0 || poort > 65535) {
        MsgBox(QStringLiteral("Can't connect to server"));
        client->abort();
        SSTab1->setTabEnabled(kTabHost, true);
        return;
    }
    client->connectToHost(ip, static_cast<quint16>(poort));
    Command1->setEnabled(false); // until this game is left
    clientspelstarten();
    st.spelers[0].knop1 = txtbutton1->text();
    st.spelers[0].knop2 = txtbutton2->text();
    st.spelers[0].knop3 = txtbutton3->text();
    st.spelers[0].knop4 = txtbutton4->text();
    // Bounded: a banner server that cannot be reached does not hold the join.
    if (Form1::exists()) Form1::instance().bannerverbinden();
}

void frmmulti::client_Error() {
    // What arrived before the error (a last message of the host) still counts.
    if (client->bytesAvailable() > 0) client_DataArrival();
    MsgBox(QStringLiteral("No connection with server"));
    lblstatusjoin->setText(QStringLiteral("Could not connect to ") + txthostnaam->text() +
                           QStringLiteral(" on port ") + txthostport->text());
    client->abort();
    clientontvangst->reset();
    Form1::unload();
    SSTab1->setTabEnabled(kTabHost, true);
    Command1->setEnabled(true);
}

void frmmulti::clientgetskicked() {
    client->abort();
    clientontvangst->reset();
    MsgBox(QStringLiteral("You have been kicked by the server"));
    Form1::unload();
    Command1->setEnabled(true); // the "Host game" tab stays shut
}

void frmmulti::serverstopped() {
    gestopt = true;
    MsgBox(QStringLiteral("Disconnected from server. Reason: Server stopped"));
    Form1::unload();
    SSTab1->setTabEnabled(kTabHost, true);
    Command1->setEnabled(true);
}
