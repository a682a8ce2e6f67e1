#include "tests/netgame/netpeer.h"

#include "platform/wait.h"

#include <QElapsedTimer>
#include <QHostAddress>

#include <sys/socket.h>

bool waitUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms) return done();
        wachten(2);
    }
    return true;
}

Peer::Peer(std::unique_ptr<QTcpSocket> socket) : socket_(std::move(socket)) {
    QObject::connect(socket_.get(), &QTcpSocket::readyRead,
                     [this] { received += socket_->readAll(); });
}

bool Peer::connectTo(quint16 port, int ms) {
    socket_->connectToHost(QHostAddress::LocalHost, port);
    return waitUntil([this] { return socket_->state() == QAbstractSocket::ConnectedState; }, ms);
}

void Peer::send(const QByteArray& bytes) {
    socket_->write(bytes);
    waitUntil([this] { return socket_->bytesToWrite() == 0; });
}

void Peer::sendSplit(const QByteArray& bytes, qsizetype cut) {
    send(bytes.left(cut));
    wachten(15);
    send(bytes.mid(cut));
}

bool Peer::waitBytes(qsizetype n, int ms) {
    return waitUntil([&] { return received.size() >= n; }, ms);
}

bool Peer::waitFor(const QByteArray& text, int ms) {
    return waitUntil([&] { return received.contains(text); }, ms);
}

bool Peer::waitUntilCount(const QByteArray& text, int count, int ms) {
    return waitUntil([&] { return received.count(text) >= count; }, ms);
}

bool Peer::waitDisconnected(int ms) {
    return waitUntil([this] { return socket_->state() == QAbstractSocket::UnconnectedState; }, ms);
}

bool Peer::connected() const {
    return socket_->state() == QAbstractSocket::ConnectedState;
}

void Peer::kill() {
    socket_->abort();
}

void Peer::reset() {
    const linger now{1, 0};
    ::setsockopt(int(socket_->socketDescriptor()), SOL_SOCKET, SO_LINGER, &now, sizeof now);
    socket_->abort();
}

void Peer::close() {
    socket_->disconnectFromHost();
}

bool FakeHost::listen() {
    return server_.listen(QHostAddress::LocalHost, 0);
}

Peer* FakeHost::accept(int ms) {
    if (!waitUntil([this] { return server_.hasPendingConnections(); }, ms)) return nullptr;
    peers_.push_back(
        std::make_unique<Peer>(std::unique_ptr<QTcpSocket>(server_.nextPendingConnection())));
    peers_.back()->socket().setParent(nullptr);
    return peers_.back().get();
}
