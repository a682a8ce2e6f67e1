#pragma once

#include <QList>
#include <QString>
#include <QVariantList>

class DbConnection;
class DbRecordset;

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

// The database server's date and time as it writes it ("yyyy-MM-dd HH:mm:ss"),
// without any conversion on this PC; "" when the statement failed.
QString serverNow(DbConnection& conn);

// The chat lines written since a login, in the order they were inserted. The
// first read takes the lines whose servertime is not before the login time; in
// Append mode later reads take the lines with a higher messageID, whatever the
// server's clock did since. An insert that commits after a later one was read
// is still caught: each read looks again at the lines after the highest
// messageID of the read before the last one, skipping those it has. In Reread
// mode, and on a table without messageID, every read takes the whole chat since
// the login again.
class ChatReader {
public:
    enum class Mode { Reread, Append };
    explicit ChatReader(Mode mode = Mode::Append) : mode_(mode) {}

    // Polls the lines since servertijd; a new servertijd starts afresh. Returns
    // false when the statement failed or servertijd is empty (it would match every
    // line): text() is then what it was.
    bool poll(DbConnection& conn, const QString& servertijd);
    const QString& text() const { return text_; }
    // Rows the last successful poll read.
    int lastRows() const { return lastRows_; }

private:
    bool readSince(DbConnection& conn, const QString& servertijd);
    bool readNew(DbConnection& conn);
    // Appends the rows (messageID, van, bericht) whose id recent_ does not hold, and
    // keeps the ids above floor_ there; returns the highest id, at least top_.
    qint64 appendRows(DbRecordset& rs);

    Mode mode_;
    bool withoutId_ = false; // the table has no messageID column
    QString since_;          // servertijd of the lines in text_
    qint64 floor_ = 0;       // the next read takes the lines after this messageID
    qint64 top_ = 0;         // highest messageID read so far
    QList<qint64> recent_;   // the messageIDs above floor_ that text_ holds, ascending
    QString text_;
    int lastRows_ = 0;
};
