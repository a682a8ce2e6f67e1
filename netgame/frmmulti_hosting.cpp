// The "Host game" tab: starting and stopping a hosted game, the game type
// options and the playlist browse button.
#include "common/gamestate.h"
#include "common/musicdraw.h"
#include "common/playlist.h"
#include "common/protocol.h"
#include "game/Form1.h"
#include "lobby/centraldb.h"
#include "lobby/frmmulti.h"
#include "lobby/reclame.h"
#include "netgame/listensocket.h"
#include "netgame/netinternal.h"
#include "netgame/servermodule.h"
#include "platform/dialogs.h"
#include "platform/wait.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHostAddress>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTcpSocket>
#include <QTimer>

namespace {

// The leading digits of a text as a whole number (0 when there are none).
int leadingNumber(const QString& text) {
    qsizetype n = 0;
    while (n < text.size() && text.at(n).isDigit())
        ++n;
    bool ok = false;
    const int value = text.left(n).toInt(&ok);
    return ok ? value : 0;
}

} // namespace

void frmmulti::optmusic_Click() {
    GameState& st = state();
    frmhostmusic->show();
    st.speltype = QStringLiteral("music");
    st.rondetype = QStringLiteral("music");
    cmbtijd->setCurrentText(QStringLiteral("10"));
}

void frmmulti::opttrivia_Click() {
    GameState& st = state();
    frmhostmusic->hide();
    st.speltype = QStringLiteral("trivia");
    st.rondetype = QStringLiteral("trivia");
    cmbtijd->setCurrentText(QStringLiteral("15"));
}

void frmmulti::optmixed_Click() {
    frmhostmusic->show();
    state().speltype = QStringLiteral("mixed");
}

void frmmulti::Command9_Click() {
    GameState& st = state();
    const QString gekozen = QFileDialog::getOpenFileName(this, QString(), QString(),
                                                         QStringLiteral("M3U playlists (*.m3u)"));
    if (!gekozen.isEmpty()) st.m3upad = gekozen;
    txtpad->setText(st.m3upad);
    st.liedbovengrens = 0;
}

void frmmulti::cmdHost_Click() {
    GameState& st = state();
    const bool muziek = optmusic->isChecked();
    if (!muziek && !opttrivia->isChecked()) return; // a mixed game starts nothing

    if (muziek) st.kickspeler = -1;
    for (int i = 1; i <= 4; ++i)
        clientslots()[i].verzonden = true;

    if (txtserverinfo->text().isEmpty() || txtserverip->text().isEmpty() ||
        txtserverport->text().isEmpty() || (muziek && txtpad->text().isEmpty())) {
        MsgBox(QStringLiteral("fill in serverinfo, Ip and port to start a server"), MsgIcon::None,
               QStringLiteral("Required fields"));
        return;
    }

    // A music game needs a playlist from which a question can be drawn.
    QStringList paden;
    QStringList titels;
    if (muziek) {
        LoadM3U(txtpad->text(), paden, titels);
        if (!canDrawMusicQuestion(songDrawBound(paden.size()), paden, titels)) {
            MsgBox(QStringLiteral("The playlist holds too few playable songs: a music game "
                                  "needs at least %1.")
                       .arg(kMinDrawableSongs),
                   MsgIcon::Exclamation);
            return;
        }
    }

    // The window of an ended game is left as its Exit leaves it: its clients are
    // told, and the next game gets a window of its own.
    if (st.isserver == 1 && Form1::exists() && Form1::instance().spelafgelopen())
        Form1::instance().mnuExit_Click();

    // The port is taken before anything else changes, so that a port that cannot
    // be listened on leaves nothing half started. Connections wait until the set-up
    // below is complete: its message boxes let events run.
    const int poort = leadingNumber(txtserverport->text());
    server0->close();
    if (poort <= 0 || poort > 65535 || !server0->listen(QHostAddress::Any, quint16(poort))) {
        MsgBox(QStringLiteral("Could not start the server: port %1 cannot be used (%2).")
                   .arg(txtserverport->text(), server0->errorString()),
               MsgIcon::Exclamation);
        server0->close();
        return;
    }
    server0->pauseAccepting();

    st.isserver = 1;
    Form1::instance().txtaantalclients->setText(QString::number(st.aantalclients));
    Form1::instance().tmrdelay->setInterval(muziek ? 1000 : 3300);
    SSTab1->setTabEnabled(kTabJoin, false);

    centralstatement(
        QStringLiteral("update vdrx_servers set active = '0' where ipaddress = ? and ipport = ?"),
        serveradres());

    if (optinternet->isChecked() && txtserverip->text().left(3) == u"192") optlan->setChecked(true);

    if (!muziek) {
        DbRecordset rs =
            gMyConn().Execute(QStringLiteral("select count(questionnr) from vdrx_trivia"));
        myrslogin() = rs;
        if (rs.RecordCount() == 1) {
            rs.MoveFirst();
            st.aantaltriviavragen = rs.Fields(0).Text();
            rs.CloseRecordset();
        } else {
            MsgBox(QStringLiteral("Could not establish connection with trivia database, QUIT"));
            server0->close();
            return;
        }
    }

    if (optinternet->isChecked()) {
        const QString type = muziek ? QStringLiteral("music") : QStringLiteral("trivia");
        const bool prive = !txtserverpassword->text().isEmpty();
        QVariantList waarden{txtserverip->text(),
                             txtserverport->text(),
                             txtserverport->text(),
                             QStringLiteral("20"),
                             QStringLiteral("4"),
                             txtserverinfo->text(),
                             QStringLiteral("1"),
                             cmdservermaxplayers->currentText(),
                             st.landnaam,
                             QStringLiteral("1"),
                             type,
                             prive ? QStringLiteral("yes") : QStringLiteral("no")};
        QString sql = QStringLiteral(
            "INSERT INTO vdrx_servers (IPaddress,IPport, IPping, user, version, description, "
            "curplayers, maxPlayers, country, active, gtype,password,");
        if (prive) {
            sql += QStringLiteral("serverpassword,quizlength) VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
            waarden << txtserverpassword->text();
        } else {
            sql += QStringLiteral("quizlength) VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?)");
        }
        waarden << cmbaantalvragen->currentText();
        centralstatement(sql, waarden);
    }

    if (gMyConn().Error().Number == 0) {
        for (QWidget* w : std::initializer_list<QWidget*>{
                 cmdservermaxplayers, cmbtijd, cmbaantalvragen, txtserverinfo, txtserverip,
                 txtserverpassword, txtserverport, cmdHost, optmusic, opttrivia, optinternet,
                 optlan})
            w->setEnabled(false);
        cmdStophost->setEnabled(true);
        SSTab1->setTabEnabled(kTabJoin, false);
    }

    st.aantalclients = 0;
    st.isserver = 1;
    st.vraagtijdtekst = cmbtijd->currentText();
    st.fragmentgrootte = wire::excerptSize(st.vraagtijdtekst.toInt());
    st.spelers[0].naam = st.gebruikersnaam;
    // The players of an earlier game go with their connections and slots.
    for (int i = 1; i <= 4; ++i) {
        serversluiten(i);
        clientslots()[i].slotsocket = QStringLiteral("0");
        st.spelers[i] = Speler{};
    }
    Speler& host = st.spelers[0];
    host.knop1 = txtbutton1->text();
    host.knop2 = txtbutton2->text();
    host.knop3 = txtbutton3->text();
    host.knop4 = txtbutton4->text();
    host.antwoord = 0;
    host.antwoordtijd = 0;
    host.huidigescore = 0;
    host.totaalscore = 0;
    Form1::instance().txtaantalclients->setText(QString::number(st.aantalclients));

    if (muziek) {
        lblstatushost->setText(QStringLiteral("Server starting... loading M3U file"));
        st.m3upad = txtpad->text();
        st.liedpaden = paden; // read above
        st.liedtitels = titels;
    }
    lblstatushost->setText(QStringLiteral("Server started"));
    server0->resumeAccepting();

    wachten(200);
    Form1::instance().show();

    reclameladen(st.landnaam);
    // Bounded: a banner server that cannot be reached does not hold the start.
    if (Form1::exists()) Form1::instance().bannerverbinden();

    if (cmbaantalvragen->currentText() != u"unlimited")
        st.quizlengte = static_cast<qint16>(cmbaantalvragen->currentText().toInt());
    Command1->setEnabled(true);
}

void frmmulti::cmdStophost_Click() {
    // A game that runs ends as the game window's Exit ends it: the clients are
    // told, the window closes, and that Exit comes back here to stop the host.
    if (state().isserver == 1 && Form1::exists() && Form1::instance().spelloopt()) {
        Form1::instance().mnuExit_Click();
        return;
    }
    SSTab1->setTabEnabled(kTabJoin, true);
    centralstatement(
        QStringLiteral("update vdrx_servers set active = '0' where ipaddress = ? and ipport = ?"),
        serveradres());
    if (gMyConn().Error().Number == 0) {
        hostinstellingenvrijgeven();
        SSTab1->setTabEnabled(kTabJoin, true);
    }
    closelistener();
    state().isserver = 0;
}

void frmmulti::hostspelafgelopen() {
    // Still the host: the window's Exit tells the clients, and one who leaves now
    // is dropped from the tiles.
    closelistener();
    centralstatement(
        QStringLiteral("update vdrx_servers set active = '0' where ipaddress = ? and ipport = ?"),
        serveradres());
    if (gMyConn().Error().Number == 0) hostinstellingenvrijgeven();
    lblstatushost->setText(QStringLiteral("Game over, server stopped"));
}

void frmmulti::hostinstellingenvrijgeven() {
    for (QWidget* w :
         std::initializer_list<QWidget*>{txtserverinfo, txtserverip, txtserverpassword,
                                         txtserverport, cmdHost, cmdservermaxplayers, cmbtijd,
                                         cmbaantalvragen, optmusic, opttrivia, optinternet, optlan})
        w->setEnabled(true);
    cmdStophost->setEnabled(false);
}
