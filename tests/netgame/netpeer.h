#pragma once

#include <QByteArray>
#include <QTcpServer>
#include <QTcpSocket>
#include <functional>
#include <memory>

// Test peers that speak the game's wire protocol byte for byte over loopback.

// Lets events run until done() holds or ms pass; returns done().
bool waitUntil(const std::function<bool()>& done, int ms = 5000);

// One TCP connection that keeps everything it receives.
class Peer {
public:
    explicit Peer(std::unique_ptr<QTcpSocket> socket = std::make_unique<QTcpSocket>());

    bool connectTo(quint16 port, int ms = 5000);
    // Writes and waits until the bytes have left this side.
    void send(const QByteArray& bytes);
    // Sends the bytes as two reads cut at position cut: the first part, a pause, the rest.
    void sendSplit(const QByteArray& bytes, qsizetype cut);
    // Waits until received holds at least n bytes.
    bool waitBytes(qsizetype n, int ms = 5000);
    // Waits until received ends with (or holds) text.
    bool waitFor(const QByteArray& text, int ms = 5000);
    // Waits until received holds text at least count times.
    bool waitUntilCount(const QByteArray& text, int count, int ms = 5000);
    bool waitDisconnected(int ms = 5000);
    bool connected() const;
    // Closes the connection at once, as a killed program would.
    void kill();
    // Ends the connection with a TCP reset (a lost connection).
    void reset();
    void close();

    QTcpSocket& socket() { return *socket_; }
    QByteArray received;

private:
    std::unique_ptr<QTcpSocket> socket_;
};

// A listening host that takes the first connection as a Peer.
class FakeHost {
public:
    bool listen();
    quint16 port() const { return server_.serverPort(); }
    // Waits for the next connection.
    Peer* accept(int ms = 5000);

private:
    QTcpServer server_;
    std::vector<std::unique_ptr<Peer>> peers_;
};
