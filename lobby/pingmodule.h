#pragma once

#include <QString>
#include <QStringList>

// Round-trip times of the server list's ping column.

// The text of an IP status value ("Success!", "Request Timed Out", ...).
QString getstatuscode(int status);

// One echo of "hello" to the dotted IPv4 address, answered within 1000 ms: the
// round-trip time in milliseconds as text; "999" when no answer came in time;
// "err" when no echo could be sent (not a dotted address, 0.0.0.0, no ICMP
// socket) or an ICMP error came back (unreachable and the like).
QString pingtijd(const QString& address);
// pingtijd of every address, the echoes sent at once: about one second at most in all.
QStringList pingtijden(const QStringList& addresses);
