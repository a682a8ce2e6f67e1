#pragma once

#include <QProcess>
#include <QTemporaryDir>
#include <chrono>
#include <memory>

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
    // Server options (mariadbd's) from the next start on.
    void setOptions(const QStringList& options) { options_ = options; }
    // The same in the background, as a service restart does: the server is told to
    // shut down (SIGTERM) now and is started again once it is gone and down has
    // passed since. Returns at once.
    bool restartInBackground(std::chrono::milliseconds down);
    // Waits until the server answers (after a restart: the new one); false with
    // error() when it does not within 40 s.
    bool waitUntilAnswering();

private:
    bool runScript(const QStringList& arguments, int timeoutMs);
    // Starts the server on port_ and waits until it answers. With before, the
    // script runs that function first (its arguments before "vdx_db_server") and
    // the call returns at once.
    bool launch(const QStringList& before = {});

    QTemporaryDir dir_;
    std::unique_ptr<QProcess> server_;
    std::unique_ptr<QProcess> stopping_; // a server shutting down for a restart
    int port_ = 0;
    QStringList options_;
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
