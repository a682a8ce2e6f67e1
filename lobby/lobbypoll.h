#pragma once

#include <QString>
#include <QVariantList>

class DbConnection;

// The lobby's three polls, without any widget: each runs one query and composes
// the text its box shows, one line per row ending in CR LF.

// "<" + van + "> " + bericht + CR LF
QString lobbyLine(const QString& van, const QString& bericht);

// Runs a query whose rows are (name, text) or (name) and composes their lines:
// "<name> text" when the rows have a text column, "<name>" otherwise. Returns
// false when the statement failed; text is then left as it was.
bool composeLines(DbConnection& conn, const QString& sql, const QVariantList& values,
                  QString& text);

// The users on the Lobby tab, by name.
bool pollLobbyUsers(DbConnection& conn, QString& text);
// The unread system messages of one user.
bool pollSystemMessages(DbConnection& conn, const QString& gebruikersnaam, QString& text);

// The chat lines written since a login, in the order they were written (server
// time, then insertion order). Either every poll reads the whole chat again, or
// it reads only what came after the last line it saw and appends it; the text
// is the same both ways.
class ChatReader {
public:
    enum class Mode { Reread, Append };
    explicit ChatReader(Mode mode = Mode::Append) : mode_(mode) {}

    // Polls the lines since servertijd; a new servertijd starts afresh. Returns
    // false when the statement failed: text() is then what it was.
    bool poll(DbConnection& conn, const QString& servertijd);
    const QString& text() const { return text_; }
    // Rows the last successful poll read.
    int lastRows() const { return lastRows_; }

private:
    Mode mode_;
    QString since_;      // servertijd of the lines in text_
    QString lastTime_;   // servertime of the last line in text_
    int atLastTime_ = 0; // lines in text_ with that servertime
    QString text_;
    int lastRows_ = 0;
};
