// The online window's sockets: the host's listener and client sockets with their
// events and the accept, the client's socket, and the wiring of the host and join
// commands.
#include "common/gamestate.h"
#include "common/protocol.h"
#include "common/receivebuffer.h"
#include "game/Form1.h"
#include "lobby/frmmulti.h"
#include "netgame/clientmodule.h"
#include "netgame/listensocket.h"
#include "netgame/netinternal.h"
#include "netgame/servermodule.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTcpSocket>
#include <QTimer>

namespace {

// A close that waits for unsent data is cut short after this long.
constexpr int kCloseWaitMs = 2000;
// Per client socket: the last close, so that a timer of an older close does not
// abort a newer connection.
quint64 sluitpoging[5] = {};
// Per client socket: tells a reset from a normal close.
ConnectionWatch verbindingwacht[5];

// Swallows every key that types something: the list changes only by choosing.
class NoTyping : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && !static_cast<QKeyEvent*>(event)->text().isEmpty())
            return true;
        return QObject::eventFilter(watched, event);
    }
};

// Connections whose peer closed or reset them while the host was busy: Qt is
// made to handle their last bytes and the close now, and before the game starts
// their slots and counts are freed, so that a new connection is never counted
// beside one that is already gone.
void verlatenverwerken(frmmulti& w) {
    for (int j = 1; j <= 4; ++j) {
        for (int n = 0; n < 8 && serverLive(j) && verbindingwacht[j].gone(); ++n)
            w.server[j]->waitForReadyRead(0);
    }
    if (!Form1::exists() || !Form1::instance().tmraantalplayersbegin->isActive()) return;
    for (int j = 1; j <= 4; ++j)
        tmraantalplayersbegin_Timer();
}

} // namespace

void frmmulti::buildNetgame() {
    server0 = new ListenSocket(this);
    server0->setObjectName(QStringLiteral("server(0)"));
    connect(server0, &ListenSocket::connectionRequest, this,
            [this](qintptr id) { server_ConnectionRequest(0, id); });

    for (int i = 1; i <= 4; ++i) {
        const auto index = static_cast<qint16>(i);
        server[i] = new QTcpSocket(this);
        server[i]->setObjectName(QStringLiteral("server(%1)").arg(i));
        serverontvangst[i] = new ReceiveBuffer(ReceiveBuffer::Side::Host, this);
        connect(server[i], &QTcpSocket::readyRead, this, [this, i] { server_DataArrival(i); });
        connect(server[i], &QTcpSocket::bytesWritten, this, [this, index] {
            sendvoortgang(index);
            if (server[index]->bytesToWrite() == 0) server_SendComplete(index);
        });
        connect(server[i], &QTcpSocket::errorOccurred, this,
                [this, index](QAbstractSocket::SocketError error) {
                    // A peer that closed normally leaves a dead socket for the
                    // drop clean-up; a reset or another error goes to the error
                    // event.
                    if (error == QAbstractSocket::RemoteHostClosedError &&
                        !verbindingwacht[index].wasReset()) {
                        clientslots()[index].verzonden = true;
                        return;
                    }
                    server_Error(index);
                });
        // With the socket as context, so that it also runs when the socket is
        // destroyed open (the window unloads).
        connect(server[i], &QTcpSocket::stateChanged, server[i],
                [index](QAbstractSocket::SocketState s) {
                    if (s == QAbstractSocket::UnconnectedState) verbindingwacht[index].release();
                });
        connect(serverontvangst[i], &ReceiveBuffer::messageReceived, this,
                [this, index](const QByteArray& m) { geefincomingdoorbijserver(index, m); });
        connect(serverontvangst[i], &ReceiveBuffer::untaggedReceived, this,
                [this, index](const QByteArray& m) { geefincomingdoorbijserver(index, m); });
        connect(serverontvangst[i], &ReceiveBuffer::warningLine, this,
                [](const QString& line) { sendchattoclients(line); });
    }

    client = new QTcpSocket(this);
    client->setObjectName(QStringLiteral("client"));
    clientontvangst = new ReceiveBuffer(ReceiveBuffer::Side::Client, this);
    connect(client, &QTcpSocket::readyRead, this, &frmmulti::client_DataArrival);
    connect(client, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
        if (error == QAbstractSocket::RemoteHostClosedError && verbindinggestopt()) {
            // The host said it stopped: its close is expected.
            client->abort();
            clientontvangst->reset();
            return;
        }
        client_Error();
    });
    connect(clientontvangst, &ReceiveBuffer::messageReceived, this, &frmmulti::geefincomingdoor);
    connect(clientontvangst, &ReceiveBuffer::untaggedReceived, this, &frmmulti::geefincomingdoor);
    connect(clientontvangst, &ReceiveBuffer::songData, this, &frmmulti::clientsongdata);
    connect(clientontvangst, &ReceiveBuffer::songAborted, this, [] { liedafbreken(); });
    connect(clientontvangst, &ReceiveBuffer::warningLine, this, [](const QString& line) {
        QString regel = line;
        chattonen(regel);
    });

    connect(cmdHost, &QPushButton::clicked, this, &frmmulti::cmdHost_Click);
    connect(cmdStophost, &QPushButton::clicked, this, &frmmulti::cmdStophost_Click);
    connect(optmusic, &QRadioButton::clicked, this, &frmmulti::optmusic_Click);
    connect(opttrivia, &QRadioButton::clicked, this, &frmmulti::opttrivia_Click);
    connect(optmixed, &QRadioButton::clicked, this, &frmmulti::optmixed_Click);
    connect(Command9, &QPushButton::clicked, this, &frmmulti::Command9_Click);
    connect(fgData, &QTableWidget::cellClicked, this, &frmmulti::fgData_Click);
    connect(Command1, &QPushButton::clicked, this, &frmmulti::Command1_Click);
    auto* noTyping = new NoTyping(this);
    for (QComboBox* box : {cmbaantalvragen, cmbtijd, cmdservermaxplayers})
        box->installEventFilter(noTyping);
}

void frmmulti::server_DataArrival(int Index) {
    serverontvangst[Index]->append(server[Index]->readAll());
}

void frmmulti::client_DataArrival() {
    clientontvangst->append(client->readAll());
}

void frmmulti::serversluiten(int i) {
    if (i < 1 || i > 4) return;
    QTcpSocket* socket = server[i];
    socket->close();
    serverontvangst[i]->reset();
    // A peer that stops reading would keep the socket closing for good.
    const quint64 poging = ++sluitpoging[i];
    if (socket->state() == QAbstractSocket::ClosingState) {
        QTimer::singleShot(kCloseWaitMs, socket, [socket, i, poging] {
            if (sluitpoging[i] == poging && socket->state() == QAbstractSocket::ClosingState)
                socket->abort();
        });
    }
}

void frmmulti::spelerresetten(qint16 Index) {
    Speler& speler = state().spelers[Index];
    speler.antwoord = 0;
    speler.totaalscore = 0;
    speler.huidigescore = 0;
}

void frmmulti::server_ConnectionRequest(qint16 Index, qintptr requestID) {
    GameState& st = state();
    verlatenverwerken(*this);
    if (cmdservermaxplayers->currentText().toInt() <= st.aantalclients) {
        refuseConnection(requestID);
        return;
    }
    if (Index != 0) {
        refuseConnection(requestID);
        return;
    }
    // A closed socket still held by a record waits for its drop clean-up.
    int i = 1;
    while (i <= 4 && (serverState(i) != sckClosed || recordvansocket(i) != 0))
        ++i;
    if (i > 4) {
        refuseConnection(requestID);
        return;
    }
    serverontvangst[i]->reset();
    verbindingwacht[i].watch(requestID);
    if (!server[i]->setSocketDescriptor(requestID)) {
        // Gone before it was taken.
        verbindingwacht[i].release();
        closeRequest(requestID);
        return;
    }

    const auto nr = static_cast<qint16>(i);
    ++st.aantalclients;
    toonaantalclients();
    spelerresetten(nr);
    st.spelers[i].socketnr = nr;
    const int k = recordvansocket(0);
    if (k != 0) clientslots()[k].slotsocket = QString::number(i);

    publiceernieuwespeler();
    serversend(i, wire::build(wire::StartMessage{st.vraagtijdtekst, st.eigenlandnummer}));
    centralstatement(QStringLiteral("update vdrx_servers set curPlayers = curPlayers + 1 where "
                                    "ipaddress = ? and ipport = ?"),
                     serveradres());
}

void frmmulti::server_Error(qint16 Index) {
    if (Index < 1 || Index > 4) return;
    if (Form1::exists())
        Form1::instance().systeemregel(QStringLiteral("[system] player%1 disconnected").arg(Index));
    // What arrived before the error is still handed over.
    if (server[Index]->bytesAvailable() > 0) server_DataArrival(Index);
    server[Index]->abort();
    clientslots()[Index].verzonden = true;
}

void frmmulti::server_SendComplete(qint16 Index) {
    clientslots()[Index].verzonden = true;
}
