#include "netgame/listensocket.h"

#include <QTcpSocket>

void ListenSocket::incomingConnection(qintptr socketDescriptor) {
    emit connectionRequest(socketDescriptor);
}

void refuseConnection(qintptr requestID) {
    QTcpSocket socket;
    if (socket.setSocketDescriptor(requestID)) socket.abort();
}

int winsockState(const QAbstractSocket* socket) {
    if (!socket) return 0;
    switch (socket->state()) {
    case QAbstractSocket::UnconnectedState:
        return 0;
    case QAbstractSocket::HostLookupState:
    case QAbstractSocket::ConnectingState:
        return 6;
    case QAbstractSocket::ConnectedState:
        return 7;
    case QAbstractSocket::BoundState:
        return 1;
    case QAbstractSocket::ListeningState:
        return 2;
    case QAbstractSocket::ClosingState:
        return 8;
    }
    return 0;
}
