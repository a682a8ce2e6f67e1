#pragma once

#include <QByteArray>
#include <QString>
#include <array>

// The host's side of the network game: the slot table, the sockets' states, the
// waits and checks around a round, and every broadcast to the clients. All of it
// runs on the user-interface thread. Without the online window, or with no client
// connected, the senders send nothing and the checks find nothing to do.
//
// Sockets: the online window's server(0) listens, server(1) .. server(4) carry one
// client each; socket i belongs to player record spelers(i) and to tile i.

// Socket states as the game compares them.
constexpr int sckClosed = 0;
constexpr int sckConnecting = 6;
constexpr int sckConnected = 7;
constexpr int sckClosing = 8;

// A socket is live when its state is neither closed nor closing.
constexpr bool isLiveState(int state) {
    return state != sckClosed && state != sckClosing;
}

// The host's record per client slot.
struct ClientSlot {
    QString ingame = QStringLiteral("0");     // "1": socket i takes part in the game
    QString slotsocket = QStringLiteral("0"); // socket holding this record, "0" = free
    bool verzonden = true;                    // socket i has no send outstanding
};

// clientslots(1 To 4); element 0 is not used.
std::array<ClientSlot, 5>& clientslots();

// State of server(i), i = 0..4 (0 = the listener: 2 listening, 0 closed). Closed
// when the online window does not exist.
int serverState(int i);
bool serverLive(int i);

// A send on a live client socket that does not complete within this time, without
// any progress, counts as a dropped client; so does one still not complete after
// kSendTotalMs in all.
constexpr int kSendStallMs = 10000;
constexpr int kSendTotalMs = 30000;

// --- slot table and connections ---
// Waits, letting events run, until every slot's send is complete. A socket whose
// send makes no progress for kSendStallMs, or has not completed after totalMs, is
// closed and treated as dropped (the drop clean-ups free its slot).
void waitforsendcomplete(int totalMs = kSendTotalMs);
// Compares the connected sockets (state 6 or 7) with aantalclients and cleans up
// when they differ.
void syncplayercount();
// Cleans up every dead socket; writes curPlayers = aantal.
void verbindingencontroleren(qint16& aantal);
// Sends "vxsekik1" to client i and closes its socket.
void kickclient(qint16 i);
// The choices pass of a music question: "vxsekeuz" to each live socket with its
// slot number; dead sockets are cleaned up.
void assignslotsandsendchoices();
// The drop watch outside a running game (Form1's tmraantalplayersbegin, every 500 ms):
// before "Start!" and after the game's end.
void tmraantalplayersbegin_Timer();

// --- excerpt ---
// Writes the first fragmentgrootte bytes of the song file to "\server.mp3"; a
// shorter file is staged whole. False when the song cannot be read or the excerpt
// cannot be written; fout then gets the file that failed.
bool stageserversong(const QString& path, QString* fout = nullptr);
// "vxseopen", the excerpt, "vxseclos" to every live in-game client; nothing else
// goes out on a socket between its "vxseopen" and "vxseclos".
void sendsongtoclients();

// --- answers and broadcasts ---
void registeranswer(const QString& antwoord, const QString& antwoordtijd, qint16 index);
// Whether registeranswer takes clients' answers: the round loop shuts them out
// from the start of a round's preparation until the round's answers have been
// cleared, and again when the round closes.
void clientantwoordentoelaten(bool open);
void setplayername(const QString& name, const QString& index);
// "vxseantw" with the rows of the round just played (score(i) of the host's tiles
// show the totals).
void sendanswerstoclients();
// "vxseeind" with the final rows.
void sendendtoclients();
void sendregistrationtoclients(const QString& name, qint16 index, qint16 landnummer);
// Shows the line in black in the host's chat and sends it as "vxsechat".
void sendchattoclients(const QString& text);
// "vxsestop||vxsestopeinde" to every live socket; closes none.
void sendstoptoclients();

// --- low level ---
// One message on server(i) when it is live; false when it is not or the write
// failed. Pending events run afterwards.
bool serversend(int i, const QByteArray& bytes);
// Closes the listening socket server(0) (the host's Exit and "Stop server").
void closelistener();
