#pragma once

#include "common/protocol.h"

#include <QString>

// The client's side of the trivia quiz: the host's question on screen with its
// clock, the typed answers to the host, the host's coloured lines and score rows.
// The client judges nothing.

// A question from the host ("vxsetriv").
void triviavraagontvangen(const wire::TriviaQuestionMessage& m);
// The host's lines: an answer found (green), the accepted answers (blue), a new
// record (red); shown as they arrive.
void systeemberichtgroenclient(const QString& tekst);
void antwoordentonenclient(const QString& tekst);
void recordberichtclient(const QString& tekst);
// A typed answer to the host with this PC's clock value ("vxcltriv").
void sendtriviaantwoord(const QString& antwoord);
// The score rows of a question ("vxseant2") on the tiles.
void scoresontvangen(const wire::RoundResultTable& rows);
