#include "lobby/lobbypoll.h"

#include "platform/dbconnection.h"

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// FORCE INDEX: the index on servertime keeps rows of one second in the order
// they were inserted, so reading along it gives the order they were written.
const QString kChatSince =
    QStringLiteral("SELECT van, bericht, servertime FROM vdrx_messages FORCE INDEX "
                   "(idx_servertime) WHERE servertime >= ? ORDER BY servertime");

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

bool ChatReader::poll(DbConnection& conn, const QString& servertijd) {
    const bool fresh = mode_ == Mode::Reread || servertijd != since_ || lastTime_.isEmpty();
    DbRecordset rs = conn.Execute(kChatSince, {fresh ? servertijd : lastTime_});
    if (conn.Error().Number != 0) return false;
    lastRows_ = rs.RecordCount();
    if (fresh) {
        text_.clear();
        lastTime_.clear();
        atLastTime_ = 0;
        since_ = servertijd;
    }
    // Rows of the last second that the text holds already come first: skip them.
    int skip = fresh ? 0 : atLastTime_;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        if (skip > 0) {
            --skip;
            continue;
        }
        text_ += lobbyLine(rs.Fields(0).Text(), rs.Fields(1).Text());
        const QString time = rs.Fields(2).Text();
        atLastTime_ = time == lastTime_ ? atLastTime_ + 1 : 1;
        lastTime_ = time;
    }
    return true;
}
