#include "lobby/lobbypoll.h"

#include "platform/dbconnection.h"

#include <algorithm>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
constexpr int kUnknownColumn = 1054;

const QString kHighestId = QStringLiteral("SELECT max(messageID) FROM vdrx_messages");
const QString kChatSince = QStringLiteral("SELECT messageID, van, bericht FROM vdrx_messages "
                                          "WHERE servertime >= ? ORDER BY messageID");
const QString kChatAfter = QStringLiteral(
    "SELECT messageID, van, bericht FROM vdrx_messages WHERE messageID > ? ORDER BY messageID");
// A table without messageID: the lines in the order the server returns them.
const QString kChatSinceWithoutId =
    QStringLiteral("SELECT van, bericht FROM vdrx_messages WHERE servertime >= ?");

} // namespace

QString lobbyLine(const QString& van, const QString& bericht) {
    return QLatin1Char('<') + van + QStringLiteral("> ") + bericht + kCrLf;
}

bool composeLines(DbConnection& conn, const QString& sql, const QVariantList& values,
                  QString& text) {
    DbRecordset rs = conn.Execute(sql, values);
    if (conn.Error().Number != 0) return false;
    const bool withText = rs.FieldCount() > 1;
    QString composed;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        const QString naam = rs.Fields(0).Text();
        composed += withText ? lobbyLine(naam, rs.Fields(1).Text())
                             : QLatin1Char('<') + naam + QLatin1Char('>') + kCrLf;
    }
    text = composed;
    return true;
}

bool pollLobbyUsers(DbConnection& conn, QString& text) {
    return composeLines(
        conn,
        QStringLiteral(
            "SELECT username from phpbb_users WHERE locatie = 'lobby' order by username"),
        {}, text);
}

bool pollSystemMessages(DbConnection& conn, const QString& gebruikersnaam, QString& text) {
    return composeLines(conn,
                        QStringLiteral("SELECT van, bericht From vdrx_systemmessages WHERE gelezen "
                                       "= 'nee' and naar = ?"),
                        {gebruikersnaam}, text);
}

QString serverNow(DbConnection& conn) {
    DbRecordset rs = conn.Execute(QStringLiteral("SELECT CAST(now() AS CHAR)"));
    if (conn.Error().Number != 0) return {};
    rs.MoveFirst();
    return rs.Fields(0).Text();
}

bool ChatReader::poll(DbConnection& conn, const QString& servertijd) {
    if (servertijd.isEmpty()) return false;
    if (servertijd != since_) withoutId_ = false;
    if (mode_ == Mode::Append && !withoutId_ && servertijd == since_) return readNew(conn);
    return readSince(conn, servertijd);
}

bool ChatReader::readSince(DbConnection& conn, const QString& servertijd) {
    bool byId = !withoutId_;
    qint64 highest = 0;
    DbRecordset rs;
    if (byId && mode_ == Mode::Append) {
        // Taken before the lines: a line added in between is read now or next time.
        rs = conn.Execute(kHighestId);
        byId = conn.Error().Number != kUnknownColumn;
        if (byId && conn.Error().Number != 0) return false;
        rs.MoveFirst();
        highest = rs.Fields(0).Value.toLongLong();
    }
    if (byId) {
        rs = conn.Execute(kChatSince, {servertijd});
        byId = conn.Error().Number != kUnknownColumn;
    }
    if (!byId) rs = conn.Execute(kChatSinceWithoutId, {servertijd});
    if (conn.Error().Number != 0) return false;

    lastRows_ = rs.RecordCount();
    withoutId_ = !byId;
    since_ = servertijd;
    text_.clear();
    recent_.clear();
    floor_ = top_ = highest;
    if (byId) {
        top_ = appendRows(rs);
        return true;
    }
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
        text_ += lobbyLine(rs.Fields(0).Text(), rs.Fields(1).Text());
    return true;
}

bool ChatReader::readNew(DbConnection& conn) {
    DbRecordset rs = conn.Execute(kChatAfter, {floor_});
    if (conn.Error().Number != 0) return false;
    lastRows_ = rs.RecordCount();
    const qint64 highest = appendRows(rs);
    // The lines up to the previous read's highest id have had the time since then
    // to commit; the later ones are looked at again next time.
    floor_ = top_;
    top_ = highest;
    recent_.erase(recent_.begin(), std::upper_bound(recent_.begin(), recent_.end(), floor_));
    return true;
}

qint64 ChatReader::appendRows(DbRecordset& rs) {
    qint64 highest = top_;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        const qint64 id = rs.Fields(0).Value.toLongLong();
        highest = std::max(highest, id);
        if (mode_ == Mode::Append && id > floor_) {
            const auto at = std::lower_bound(recent_.begin(), recent_.end(), id);
            if (at != recent_.end() && *at == id) continue;
            recent_.insert(at, id);
        }
        text_ += lobbyLine(rs.Fields(1).Text(), rs.Fields(2).Text());
    }
    return highest;
}
