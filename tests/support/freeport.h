#pragma once

#include <QTcpServer>

// A port of 127.0.0.1 that nothing listens on right now.
inline quint16 freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}
