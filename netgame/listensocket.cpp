#include "netgame/listensocket.h"

#include <QTcpSocket>

#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

void ListenSocket::incomingConnection(qintptr socketDescriptor) {
    emit connectionRequest(socketDescriptor);
}

void refuseConnection(qintptr requestID) {
    QTcpSocket socket;
    if (socket.setSocketDescriptor(requestID))
        socket.abort();
    else
        closeRequest(requestID);
}

void closeRequest(qintptr requestID) {
    ::close(int(requestID));
}

void ConnectionWatch::watch(qintptr descriptor) {
    release();
    m_fd = ::fcntl(int(descriptor), F_DUPFD_CLOEXEC, 0);
}

namespace {
int tcpState(int fd) {
    tcp_info info{};
    socklen_t size = sizeof info;
    if (fd < 0 || ::getsockopt(fd, IPPROTO_TCP, TCP_INFO, &info, &size) != 0) return -1;
    return info.tcpi_state;
}
} // namespace

bool ConnectionWatch::wasReset() const {
    // A normal close leaves the connection half open (CLOSE_WAIT) until we close;
    // a reset ends it at once.
    return tcpState(m_fd) == TCP_CLOSE;
}

bool ConnectionWatch::gone() const {
    const int s = tcpState(m_fd);
    return s == TCP_CLOSE || s == TCP_CLOSE_WAIT;
}

void ConnectionWatch::release() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
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
