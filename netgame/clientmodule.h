#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The client's side of the network game: its senders to the host and the
// displays the host's messages drive. The socket is the online window's client.

// State of the client socket as the game compares it (0 closed, 6 connecting,
// 7 connected, 8 closing; see servermodule.h). Closed without the online window.
int clientState();
bool clientLive();
// One message to the host, as it is; false when the socket is not live.
bool clientsend(const QByteArray& bytes);
// Closes the client socket (the client's Exit).
void clientclose();

// "vxcluser" with the user name and country.
void sendusertoserver();
// "vxclchat" with the whole line (already "<name> " prefixed).
void sendchattoserver(const QString& text);
// "vxclantw" with the answer 1..4 and the whole seconds left.
void sendanswertoserver(qint16 antwoord, qint16 antwoordtijd);

// Shows tile spelernr with the flag of landnummer.
void spelertonen(const QString& spelernr, qint16 landnummer);
// Unescapes the line in place and shows it in black in the game chat.
void chattonen(QString& text);
// The five rows of "vxseantw" (the message split at "|").
void alleantwoordenclient(const QStringList& parts);
// The final scores of "vxseeind" in the results window.
void eindscoretonen(const QStringList& parts);
// Prepares the game window for a joining client.
void clientspelstarten();
