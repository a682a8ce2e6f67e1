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

// The chat lines written since a login, in the order of messageID. The first
// read takes the lines whose servertime is not before the login time; in Append
// mode later reads take the lines with a higher messageID, whatever the server's
// clock did since. An id skipped by the lines read (an insert not committed yet)
// is looked at again by every read for a minute from the read that skipped it: a
// line since the login committed that late still shows, once, in its place. In Reread mode, and on
// a table without messageID, every read takes the whole chat since the login again.
class ChatReader {
public:
    enum class Mode { Reread, Append };
    // How long a skipped messageID is looked at again, from the read that skipped it.
    static constexpr quint32 kLateLineMs = 60000;

    explicit ChatReader(Mode mode = Mode::Append) : mode_(mode) {}

    // Polls the lines since servertijd; a new servertijd starts afresh. Returns
    // false when the statement failed or servertijd is empty (it would match every
    // line): text() is then what it was.
    bool poll(DbConnection& conn, const QString& servertijd);
    const QString& text() const { return text_; }
    // Rows the last successful poll read.
    int lastRows() const { return lastRows_; }

private:
    // messageIDs from..to, not read yet, skipped by the read at timeGetTime() since.
    struct Gap {
        qint64 from, to;
        quint32 since;
    };
    // A line shown whose messageID is above the first gap's, and where it starts in text_.
    struct Placed {
        qint64 id;
        qsizetype at;
    };

    bool readSince(DbConnection& conn, const QString& servertijd);
    bool readNew(DbConnection& conn);
    // Takes the rows (messageID, van, bericht[, since the login when withSince])
    // ordered by messageID: those above top_ go at the end, those in a gap into
    // their place. A row without messageID is passed over.
    void takeRows(DbRecordset& rs, quint32 now, bool withSince);
    // Takes id out of its gap; false when it is in none.
    bool leaveGap(qint64 id);
    // Puts a line into text_ before the lines with higher ids.
    void place(qint64 id, const QString& line);
    // Forgets the gaps looked at long enough, and the places no gap needs.
    void forget(quint32 now);

    Mode mode_;
    bool withoutId_ = false; // the table has no messageID column
    QString since_;          // servertijd of the lines in text_
    qint64 top_ = 0;         // highest messageID read so far
    QList<Gap> gaps_;        // ascending
    QList<Placed> placed_;   // ascending
    QString text_;
    int lastRows_ = 0;
};
