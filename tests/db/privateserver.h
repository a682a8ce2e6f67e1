#pragma once

#include <QProcess>
#include <QTemporaryDir>

// A database server of the test's own, loaded with the central schema, that the
// test may stop, freeze or kill without disturbing the server other suites use.
// It dies with the test process.
class PrivateServer {
public:
    PrivateServer();
    ~PrivateServer();
    PrivateServer(const PrivateServer&) = delete;
    PrivateServer& operator=(const PrivateServer&) = delete;

    // Installs, starts and loads the server; false with error() on failure.
    bool start();
    QString error() const { return error_; }
    int port() const { return port_; }
    QString socket() const { return dir_.filePath(QStringLiteral("s.sock")); }

    void freeze(); // SIGSTOP: the server keeps its sockets but answers nothing
    void thaw();   // SIGCONT
    void kill();   // SIGKILL, and waits until it is gone
    // Shuts the server down as an administrator would and starts it again on the
    // same port and data; false with error() on failure.
    bool restart();

private:
    bool runScript(const QStringList& arguments, int timeoutMs);
    bool launch(); // starts the server on port_ and waits until it answers

    QTemporaryDir dir_;
    QProcess server_;
    int port_ = 0;
    QString error_;
};

// Points the program and AdminDb at a private server (VONDRIX_DB_PORT and
// VONDRIX_DB_ADMIN_SOCKET) for its lifetime, then back at the shared one.
class UsePrivateServer {
public:
    explicit UsePrivateServer(const PrivateServer& server)
        : port_(qgetenv("VONDRIX_DB_PORT")), socket_(qgetenv("VONDRIX_DB_ADMIN_SOCKET")) {
        qputenv("VONDRIX_DB_PORT", QByteArray::number(server.port()));
        qputenv("VONDRIX_DB_ADMIN_SOCKET", server.socket().toLocal8Bit());
    }
    ~UsePrivateServer() {
        qputenv("VONDRIX_DB_PORT", port_);
        qputenv("VONDRIX_DB_ADMIN_SOCKET", socket_);
    }
    UsePrivateServer(const UsePrivateServer&) = delete;
    UsePrivateServer& operator=(const UsePrivateServer&) = delete;

private:
    QByteArray port_;
    QByteArray socket_;
};
