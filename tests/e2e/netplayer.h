#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;
class frmmulti;

// The pieces that the host and the client of the end-to-end player share.
namespace netplayer {

// One line on stdout.
void say(const QString& line);
// Milliseconds and microseconds of the steady clock that all processes share.
qint64 nowMs();
qint64 nowUs();
// The value after the option name, or fallback.
QString arg(const QStringList& args, const QString& name, const QString& fallback = {});
// Calls step every millisecond until it returns true.
void every(const std::function<bool()>& step);
void typeKey(QWidget* box, const QString& key);
// QUESTIONS, FINAL and TILES lines of the results window shown.
void printResults();
// Called with the text of every message box.
std::function<void(const QString&)>& messageSeen();
bool logIn(frmmulti& w, const QString& user, const QString& password);
// Trivia on this PC: logs the question, the mask and the chat, and types the
// planned lines into the game chat as a player would; one entry per question,
// counted on over the games.
void playTrivia(const QStringList& plan);

// The two roles: -1 once the program runs, otherwise the code it fails with.
int runHost(const QStringList& args);
int runClient(const QStringList& args);

} // namespace netplayer
