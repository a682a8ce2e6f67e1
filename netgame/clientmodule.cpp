// The client's senders and the displays that the host's messages drive.
#include "netgame/clientmodule.h"

#include "common/gamestate.h"
#include "common/protocol.h"
#include "common/receivebuffer.h"
#include "game/Form1.h"
#include "game/Form7.h"
#include "game/answershape.h"
#include "lobby/clicklabel.h"
#include "lobby/frmmulti.h"
#include "netgame/listensocket.h"
#include "netgame/servermodule.h"
#include "netgame/vlag.h"
#include "platform/gui/mediaplayer.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTcpSocket>
#include <QTimer>

namespace {

QTcpSocket* clientSocket() {
    return frmmulti::exists() ? frmmulti::instance().client : nullptr;
}

// The fields of a row ("_" joined), or nothing when it has fewer than n.
std::optional<QStringList> rij(const QStringList& parts, int i, int n) {
    if (parts.size() <= i + 1) return std::nullopt;
    const QStringList r = parts.at(i + 1).split(u'_');
    if (r.size() < n) return std::nullopt;
    return r;
}

} // namespace

int clientState() {
    return winsockState(clientSocket());
}

bool clientLive() {
    return isLiveState(clientState());
}

bool clientsend(const QByteArray& bytes) {
    QTcpSocket* socket = clientSocket();
    if (!socket || !isLiveState(winsockState(socket))) return false;
    const bool written = socket->write(bytes) == bytes.size();
    socket->flush(); // on its way now, not when the handler that sends it is done
    return written;
}

void clientclose() {
    if (QTcpSocket* socket = clientSocket()) socket->close();
    if (frmmulti::exists()) frmmulti::instance().clientontvangst->reset();
}

void sendusertoserver() {
    const GameState& st = state();
    clientsend(wire::build(wire::UserMessage{st.gebruikersnaam, st.eigenlandnummer}));
}

void sendchattoserver(const QString& text) {
    clientsend(wire::buildText(wire::vxclchat, text));
}

void sendanswertoserver(qint16 antwoord, qint16 antwoordtijd) {
    clientsend(wire::build(wire::ClientAnswerMessage{antwoord, antwoordtijd}));
}

void spelertonen(const QString& spelernr, qint16 landnummer) {
    const int i = spelernr.toInt();
    if (i < 0 || i > 4 || !Form1::exists()) return;
    Form1& f = Form1::instance();
    toonvlag(f.Imaget[i], landnummer);
    f.Imaget[i]->show();
    f.border[i]->show();
    f.score[i]->show();
}

void chattonen(QString& text) {
    text = wire::peerLine(wire::unescapeChat(text));
    if (Form1::exists()) Form1::instance().chatregel(text, 0);
}

void alleantwoordenclient(const QStringList& parts) {
    if (!Form1::exists()) return;
    for (int i = 0; i <= 4; ++i) {
        const auto r = rij(parts, i, 7);
        if (!r) continue; // a row that cannot be applied
        bool getal = false;
        const qint16 landnummer = r->at(6).toShort(&getal);
        if (!getal) continue;
        Form1::instance().alleantwoorden(r->at(0), r->at(1), r->at(2), r->at(3),
                                         wire::peerName(r->at(4)), static_cast<qint16>(i), r->at(5),
                                         landnummer);
    }
}

void eindscoretonen(const QStringList& parts) {
    if (!Form1::exists()) return;
    Form1& f = Form1::instance();
    f.Image5->show();
    f.Frame1->hide();
    Form7& uitslag = Form7::instance();
    uitslag.show();
    uitslag.lbltijd->setText(state().clientvraagtijd);
    // The music heading reads "Question <n>"; a trivia heading "<n> ~ Trivia question <nr>".
    const QString kop = f.txthoofd->text();
    uitslag.lblvragen->setText(kop.startsWith(u"Question ") ? kop.mid(9) : kop.section(u' ', 0, 0));
    for (int i = 0; i <= 4; ++i) {
        const auto r = rij(parts, i, 6);
        if (!r) continue;
        uitslag.naam[i]->setText(wire::peerName(r->at(4)));
        uitslag.score[i]->setText(r->at(3));
        // An empty row hides a line that an earlier game's results left shown.
        uitslag.naam[i]->setVisible(!r->at(4).isEmpty());
        uitslag.score[i]->setVisible(!r->at(4).isEmpty());
    }
}

void clientspelstarten() {
    GameState& st = state();
    Form1& f = Form1::instance();
    f.show();
    f.Image5->hide();
    f.txthoofd->setText(QStringLiteral("waiting for next question to join..."));
    // A new game: nothing of the last one's questions goes on in it.
    st.vraagnummer = 0;
    clearQuestionState(st);
    f.tmrKlok->stop();
    f.txtklok->setText(QStringLiteral("??"));
    f.opstarten();
    f.txtklok->setText(QStringLiteral("??")); // until the first question of this client
    f.mnuPause->setEnabled(true);
    f.show();
    f.Image5->hide();
    f.Frame1->show();
    f.startJoystickPoll();
    st.speler1geantwoord = 0;
    st.speler2geantwoord = 0;
    if (st.joystick1 != 0) f.startJoystickPoll();
    f.slider1->setValue(f.WindowsMediaPlayer1->volume());
}
