#pragma once

#include <QByteArray>
#include <QString>
#include <QVariantList>

// Pieces the netgame files share among themselves.

// Runs a statement on the central connection with bound values, then CheckError.
void centralstatement(const QString& sql, const QVariantList& values);
// "... where ipaddress = ? and ipport = ?" values of the host tab.
QVariantList serveradres();
// aantalclients shown in the game window's txtaantalclients (when the window exists).
void toonaantalclients();
// The drop clean-up of dead socket i holding record k, with its statement.
void dropopruimen(int i, int k, const QString& sql, const QVariantList& values);
// The first record (1..4) whose slotsocket is i, 0 when none.
int recordvansocket(int i);
// server(i) made progress with its send (bytes went out).
void sendvoortgang(int i);
// The client got "vxsestop" on its current connection.
bool verbindinggestopt();
// Gives up the excerpt being received: song mode off, the bytes so far dropped.
void liedafbreken();
// One message to every live client socket, each send followed by pending events.
void naaralleclients(const QByteArray& bytes);
// A table message to every client that holds a player and takes part in the
// game, each send followed by a wait of 100 ms.
void tabelnaarclients(const QByteArray& bytes);
