#pragma once

#include <QSqlDatabase>

// Calls into the MySQL/MariaDB client library that Qt's QMYSQL driver has loaded,
// made on the driver's own session handle. Each returns its "cannot tell" answer
// when the library or the handle is not found.
namespace mysqlhandle {

// Lets one statement text carry one statement only. false: cannot tell.
bool singleStatements(const QSqlDatabase& db);

// Whether the server has closed the session while no statement was running
// (a restart, KILL, the idle time-out): its socket is gone, or has something to
// read although nothing was asked. Costs no round trip. false: cannot tell.
bool closedByServer(const QSqlDatabase& db);

} // namespace mysqlhandle
