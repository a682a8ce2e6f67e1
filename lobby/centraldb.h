#pragma once

#include "platform/dbconnection.h"

// The central database that every player's program talks to directly.
//
// Statements must not paste user text into SQL: pass such text as bound values
// ("... where username = ?" with {name}), see DbConnection.

// The one connection the whole program shares; created on first use, never released.
DbConnection& gMyConn();
// Result sets: the grid fillers', the general-purpose one, the advertisements'.
DbRecordset& myRS();
DbRecordset& myrslogin();
DbRecordset& myrsreclame();

// Where the central server is: VONDRIX_DB_HOST / VONDRIX_DB_PORT when set (read at
// each call), else the built-in host name and port 3306.
QString centralHost();
int centralPort();
// Opens gMyConn with the lobby account on the central server; failure shows only
// through gMyConn().Error(). Returns what OpenConnection returns.
int openCentral();
// Opens another connection with the lobby account on the central server (load tools).
int openLobbyAccount(DbConnection& connection);

// Shows "Error <number>: <description>" when the last operation of gMyConn failed.
// The error is not cleared and the caller goes on.
void CheckError();
// After a change of gMyConn failed: when the server may have stored it all the same
// (the connection broke after it was sent), says so of what ("Your report") before
// the error; otherwise the same as CheckError.
void CheckChange(const QString& what);
// Closes myrslogin and sets it to nothing.
void closerecordset();
// Opens gMyConn with the test account. Returns "Connected" on success (the
// caption for the status label); otherwise reports the error and returns "".
QString testconnect();
// The developer command "create": drops and re-creates the servers table.
void createServersTable();
