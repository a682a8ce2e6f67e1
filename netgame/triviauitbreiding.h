#pragma once

#include <QString>

// The host's side of the trivia quiz: the question and its hint masks to every
// client, the judging of typed answers with their points and green lines, the
// accepted answers and a new record at the end of a question, and the score rows
// when the clock runs out. An answer typed at the host counts only while the
// host's question is open; a client's answer counts from the moment the question
// was sent to that client until the question closes. One that comes later is
// judged as too late.

// Builds the hint masks and sends "vxsetriv" to every live client; every slot
// takes part in a trivia game.
void sndtrivtoclients();
// Closes the question for the clients' answers (its preparation begins, or its
// clock ran out).
void triviavraagsluiten();
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
// Closes the question, then its score rows on the host's tiles and as "vxseant2"
// to the clients.
void sendscorestoclients();
