#pragma once

#include <QTcpServer>

class QAbstractSocket;

// The host's listening socket: each incoming connection is reported as a request
// that the host accepts into one of its own client sockets (setSocketDescriptor)
// or refuses (refuseConnection).
class ListenSocket : public QTcpServer {
    Q_OBJECT

public:
    using QTcpServer::QTcpServer;

signals:
    void connectionRequest(qintptr requestID);

protected:
    void incomingConnection(qintptr socketDescriptor) override;
};

// Closes a requested connection at once; the peer sees it fail.
void refuseConnection(qintptr requestID);

// The state of a socket as the game numbers it: 0 closed, 6 connecting (host
// lookup included), 7 connected, 8 closing; 1 bound, 2 listening. A null socket
// is closed.
int winsockState(const QAbstractSocket* socket);
