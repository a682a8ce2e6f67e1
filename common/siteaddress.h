#pragma once

#include <QString>

// The game's web site, as printed and shown ("www...") and as a link ("http://www...").
inline QString siteHost() {
    return QStringLiteral("www.vondrix.net");
}

inline QString siteLink(const QString& page = {}) {
    return QStringLiteral("http://") + siteHost() + page;
}
