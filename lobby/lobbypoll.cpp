#include "lobby/lobbypoll.h"

#include "platform/clock.h"
#include "platform/dbconnection.h"

#include <algorithm>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
constexpr int kUnknownColumn = 1054;

// The lines since the login, with the highest messageID and that of the newest line
// before the login in every row (the lines since have higher ones); one row of NULL
// lines when there are none. One statement reads them all at one moment.
const QString kChatSinceWithIds = QStringLiteral(
    "SELECT m.messageID, m.van, m.bericht, ids.top_id, ids.login_id FROM (SELECT (SELECT "
    "max(messageID) FROM vdrx_messages) AS top_id, (SELECT messageID FROM vdrx_messages WHERE "
    "servertime < ? ORDER BY servertime DESC, messageID DESC LIMIT 1) AS login_id) AS ids LEFT "
    "JOIN vdrx_messages m ON m.servertime >= ? ORDER BY m.messageID");
const QString kChatSince = QStringLiteral("SELECT messageID, van, bericht FROM vdrx_messages "
                                          "WHERE servertime >= ? ORDER BY messageID");
// The lines after the highest messageID read, and with gaps below it also those in
// the gaps, with whether they are since the login.
const QString kChatAfter = QStringLiteral(
    "SELECT messageID, van, bericht FROM vdrx_messages WHERE messageID > ? ORDER BY messageID");
const QString kChatAfterAndIn = QStringLiteral(
    "SELECT messageID, van, bericht, servertime >= ? FROM vdrx_messages WHERE messageID > ?");
const QString kOrInGap = QStringLiteral(" OR messageID BETWEEN ? AND ?");
const QString kByMessageId = QStringLiteral(" ORDER BY messageID");
// More gaps than this at once (failed inserts by the dozen): the oldest go first.
constexpr qsizetype kMaxGaps = 64;
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
    qint64 before = 0;
    bool noLines = false; // the one row holds only the ids
    DbRecordset rs;
    if (byId) {
        const bool withIds = mode_ == Mode::Append;
        rs = withIds ? conn.Execute(kChatSinceWithIds, {servertijd, servertijd})
                     : conn.Execute(kChatSince, {servertijd});
        byId = conn.Error().Number != kUnknownColumn;
        if (byId && withIds && conn.Error().Number == 0) {
            rs.MoveFirst();
            highest = rs.Fields(3).Value.toLongLong();
            before = rs.Fields(4).Value.toLongLong();
            noLines = rs.Fields(0).Value.isNull();
        }
    }
    if (!byId) rs = conn.Execute(kChatSinceWithoutId, {servertijd});
    if (conn.Error().Number != 0) return false;

    lastRows_ = noLines ? 0 : rs.RecordCount();
    withoutId_ = !byId;
    since_ = servertijd;
    text_.clear();
    gaps_.clear();
    placed_.clear();
    top_ = before;
    if (byId) {
        // An id after the newest line before the login that the lines since skip
        // may be a line not committed yet.
        const quint32 now = timeGetTime();
        takeRows(rs, now, false);
        if (highest > top_) {
            gaps_.append({top_ + 1, highest, now});
            top_ = highest;
        }
        forget(now);
        return true;
    }
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
        text_ += lobbyLine(rs.Fields(0).Text(), rs.Fields(1).Text());
    return true;
}

bool ChatReader::readNew(DbConnection& conn) {
    QString sql = kChatAfter;
    QVariantList values{top_};
    const bool withGaps = !gaps_.isEmpty();
    if (withGaps) {
        sql = kChatAfterAndIn;
        values.prepend(since_);
        for (const Gap& gap : std::as_const(gaps_)) {
            sql += kOrInGap;
            values << gap.from << gap.to;
        }
        sql += kByMessageId;
    }
    DbRecordset rs = conn.Execute(sql, values);
    if (conn.Error().Number != 0) return false;
    lastRows_ = rs.RecordCount();
    const quint32 now = timeGetTime();
    takeRows(rs, now, withGaps);
    forget(now);
    return true;
}

void ChatReader::takeRows(DbRecordset& rs, quint32 now, bool withSince) {
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        if (rs.Fields(0).Value.isNull()) continue; // no line, only the ids
        const qint64 id = rs.Fields(0).Value.toLongLong();
        const QString line = lobbyLine(rs.Fields(1).Text(), rs.Fields(2).Text());
        if (mode_ == Mode::Append) {
            if (id <= top_ && leaveGap(id)) {
                // A line from before the login (the server's clock) is not shown.
                if (!withSince || rs.Fields(3).Value.toInt() != 0) place(id, line);
                continue;
            }
            if (id > top_) {
                if (id > top_ + 1) gaps_.append({top_ + 1, id - 1, now});
                top_ = id;
                placed_.append({id, text_.size()});
            }
        }
        text_ += line;
    }
}

bool ChatReader::leaveGap(qint64 id) {
    const auto gap = std::find_if(gaps_.begin(), gaps_.end(),
                                  [id](const Gap& g) { return g.from <= id && id <= g.to; });
    if (gap == gaps_.end()) return false;
    if (gap->from == gap->to) {
        gaps_.erase(gap);
    } else if (gap->from == id) {
        ++gap->from;
    } else if (gap->to == id) {
        --gap->to;
    } else {
        const Gap above{id + 1, gap->to, gap->since};
        gap->to = id - 1;
        gaps_.insert(gap + 1, above);
    }
    return true;
}

void ChatReader::place(qint64 id, const QString& line) {
    // Every line above the first gap has its place: the line goes before the first
    // one with a higher id.
    const auto next = std::upper_bound(placed_.begin(), placed_.end(), id,
                                       [](qint64 v, const Placed& p) { return v < p.id; });
    const qsizetype at = next == placed_.end() ? text_.size() : next->at;
    text_.insert(at, line);
    for (auto p = next; p != placed_.end(); ++p)
        p->at += line.size();
    placed_.insert(next, {id, at});
}

void ChatReader::forget(quint32 now) {
    gaps_.removeIf([now](const Gap& g) { return now - g.since >= kLateLineMs; });
    if (gaps_.size() > kMaxGaps) gaps_.remove(0, gaps_.size() - kMaxGaps);
    if (gaps_.isEmpty()) {
        placed_.clear();
        return;
    }
    const qint64 from = gaps_.first().from;
    placed_.erase(placed_.begin(),
                  std::lower_bound(placed_.begin(), placed_.end(), from,
                                   [](const Placed& p, qint64 v) { return p.id < v; }));
}
