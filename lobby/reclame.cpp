#include "lobby/reclame.h"

#include "common/gamestate.h"
#include "lobby/centraldb.h"

#include <iterator>

namespace {
const QString kDefaultBannerHost = QStringLiteral("www.vondrix.net");
constexpr int kDefaultBannerPort = 80;
} // namespace

QString bannerHost() {
    const QString host = qEnvironmentVariable("VONDRIX_BANNER_HOST").trimmed();
    return host.isEmpty() ? kDefaultBannerHost : host;
}

int bannerPort() {
    bool ok = false;
    const int port = qEnvironmentVariable("VONDRIX_BANNER_PORT").trimmed().toInt(&ok);
    return ok && port > 0 && port < 65536 ? port : kDefaultBannerPort;
}

void reclameladen(const QString& landnaam) {
    GameState& s = state();
    DbRecordset& rs = myrsreclame();
    rs = gMyConn().Execute(QStringLiteral("select locatie,url,reclametype from vdrx_reclame "
                                          "where country = 'ALL' or country = ?"),
                           {landnaam});
    if (rs.RecordCount() < 1) return;
    const int room = int(std::size(s.bannernamen));
    const int n = qMin(rs.RecordCount(), room);
    rs.MoveFirst();
    for (int k = 0; k < n && !rs.Eof(); ++k, rs.MoveNext()) {
        s.bannernamen[k] = rs.Fields(QStringLiteral("locatie")).Text();
        s.bannerlinks[k] = rs.Fields(QStringLiteral("url")).Text();
    }
    s.aantalbanners = qint16(n);
    rs.CloseRecordset();
}
