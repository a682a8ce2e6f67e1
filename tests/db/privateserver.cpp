#include "privateserver.h"

#include <QDir>
#include <QFile>
#include <QTcpServer>
#include <QThread>
#include <csignal>
#include <sys/prctl.h>

namespace {

const QString kScript = QStringLiteral(VDX_SOURCE_DIR "/scripts/database.sh");

int freePort() {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0)) return 0;
    return probe.serverPort();
}

// Whether every thread of the process is in the stopped state "T".
bool allThreadsStopped(qint64 pid) {
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    const QStringList ids = tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& id : ids) {
        QFile stat(tasks.filePath(id + QStringLiteral("/stat")));
        if (!stat.open(QIODevice::ReadOnly)) continue; // the thread has ended
        const QByteArray line = stat.readAll();
        const qsizetype end = line.lastIndexOf(')'); // the state follows the name
        if (end < 0 || line.mid(end + 2, 1) != "T") return false;
    }
    return !ids.isEmpty();
}

} // namespace

PrivateServer::PrivateServer() : dir_(QStringLiteral("/tmp/vdx-db-XXXXXX")) {}

PrivateServer::~PrivateServer() {
    kill();
}

bool PrivateServer::runScript(const QStringList& arguments, int timeoutMs) {
    QProcess script;
    script.setProcessChannelMode(QProcess::MergedChannels);
    script.start(QStringLiteral("bash"), QStringList{kScript} + arguments);
    if (!script.waitForFinished(timeoutMs) || script.exitStatus() != QProcess::NormalExit ||
        script.exitCode() != 0) {
        script.kill();
        script.waitForFinished(1000);
        error_ = arguments.first() + QStringLiteral(" failed: ") +
                 QString::fromLocal8Bit(script.readAll());
        return false;
    }
    return true;
}

bool PrivateServer::start() {
    if (!dir_.isValid()) {
        error_ = QStringLiteral("no temporary folder");
        return false;
    }
    if (!runScript({QStringLiteral("vdx_db_install"), dir_.filePath(QStringLiteral("data")),
                    dir_.filePath("install.log")},
                   60000))
        return false;
    for (int attempt = 0; attempt < 3; ++attempt) {
        port_ = freePort();
        if (launch()) return runScript({QStringLiteral("vdx_db_prepare"), socket()}, 30000);
        kill(); // the port was taken in the meantime, or the server failed
    }
    return false;
}

bool PrivateServer::launch(const QStringList& before) {
    server_ = std::make_unique<QProcess>();
    server_->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    server_->start(QStringLiteral("bash"),
                   QStringList{kScript} + before +
                       QStringList{QStringLiteral("vdx_db_server"),
                                   dir_.filePath(QStringLiteral("data")), socket(),
                                   QString::number(port_),
                                   dir_.filePath(QStringLiteral("mariadbd.log"))} +
                       options_);
    if (!server_->waitForStarted(5000)) return false;
    return !before.isEmpty() || waitUntilAnswering();
}

bool PrivateServer::waitUntilAnswering() {
    if (!server_) return false;
    if (stopping_) { // the old server first goes
        stopping_->waitForFinished(30000);
        stopping_.reset();
    }
    return runScript({QStringLiteral("vdx_db_wait"), socket(),
                      QString::number(server_->processId()),
                      dir_.filePath(QStringLiteral("mariadbd.log"))},
                     40000);
}

bool PrivateServer::restart() {
    if (server_ && server_->state() != QProcess::NotRunning) {
        server_->terminate(); // a normal shutdown: the sessions are closed by the server
        if (!server_->waitForFinished(20000)) kill();
    }
    if (launch()) return true;
    error_ = QStringLiteral("restart failed: ") + error_;
    return false;
}

bool PrivateServer::restartInBackground(std::chrono::milliseconds down) {
    if (!server_ || server_->state() == QProcess::NotRunning) return false;
    // The script stops the old server and becomes the new one; the old one's process
    // object stays until the old server is gone.
    stopping_ = std::move(server_);
    if (launch({QStringLiteral("vdx_db_restart"), QString::number(stopping_->processId()),
                QString::number(down.count())}))
        return true;
    error_ = QStringLiteral("could not start the restart");
    return false;
}

void PrivateServer::freeze() {
    if (!server_ || server_->state() == QProcess::NotRunning) return;
    const qint64 pid = server_->processId();
    ::kill(pid_t(pid), SIGSTOP);
    // The signal reaches the threads one by one; wait until every one has stopped.
    for (int i = 0; i < 200 && !allThreadsStopped(pid); ++i)
        QThread::msleep(10);
}

void PrivateServer::thaw() {
    if (server_ && server_->state() != QProcess::NotRunning)
        ::kill(pid_t(server_->processId()), SIGCONT);
}

void PrivateServer::kill() {
    for (QProcess* process : {stopping_.get(), server_.get()}) {
        if (!process || process->state() == QProcess::NotRunning) continue;
        process->kill();
        process->waitForFinished(10000);
    }
}
