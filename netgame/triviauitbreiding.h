#pragma once

#include <QString>

// The host's side of the trivia quiz: the question and its hint masks to every
// client, the judging of typed answers with their points and green lines, the
// accepted answers and a new record at the end of a question, and the score rows
// when the clock runs out. An answer counts only while the host's question is
// open; one that comes later is judged as too late.

// Builds the hint masks and sends "vxsetriv" to every live client; every slot
// takes part in a trivia game.
void sndtrivtoclients();
// A line typed at the host (lower case) for player record spelernr.
void controleertriviaantwoord(const QString& antwoord, qint16 spelernr);
// A "vxcltriv" from client socket spelernr: the answer and its clock value as sent.
void controleertriviaantwoordclient(QString antwoord, QString klokwaarde, qint16 spelernr);
// A green line in the host's chat, and "vxsecha2" to every live client.
void systeemberichtgroen(const QString& tekst);
// The accepted answers in blue, and "vxsecha3".
void antwoordentonenserver();
// Stores a new record of the question and announces it in red ("vxsecha4"); then
// every player's finds are cleared.
void recordcontroleren();
// The question's score rows on the host's tiles and as "vxseant2" to the clients.
void sendscorestoclients();
