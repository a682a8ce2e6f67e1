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
// Closes a requested connection that could not be taken over.
void closeRequest(qintptr requestID);

// Tells a connection the peer reset (or lost) from one it closed normally. Qt
// reports both as RemoteHostClosedError and has closed its own descriptor by
// then, so a second descriptor of the connection is kept to read its TCP state.
class ConnectionWatch {
public:
    ConnectionWatch() = default;
    ConnectionWatch(const ConnectionWatch&) = delete;
    ConnectionWatch& operator=(const ConnectionWatch&) = delete;
    ~ConnectionWatch() { release(); }

    void watch(qintptr descriptor);
    // The connection ended without the peer's normal close.
    bool wasReset() const;
    // The peer closed or reset the connection (whether Qt noticed or not).
    bool gone() const;
    // Lets the connection go: call it once the socket is closed.
    void release();

private:
    int m_fd = -1;
};

// The state of a socket as the game numbers it: 0 closed, 6 connecting (host
// lookup included), 7 connected, 8 closing; 1 bound, 2 listening. A null socket
// is closed.
int winsockState(const QAbstractSocket* socket);
