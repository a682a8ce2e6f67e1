#include "lobby/pingmodule.h"

#include "platform/icmpecho.h"

namespace {
const QByteArray kPayload = QByteArrayLiteral("hello");
constexpr int kTimeoutMs = 1000;
const QString kTimedOut = QStringLiteral("Request Timed Out");
} // namespace

QString getstatuscode(int status) {
    switch (status) {
    case 0:
        return QStringLiteral("Success!");
    case 11001:
        return QStringLiteral("Buffer Too Small");
    case 11002:
        return QStringLiteral("Destination Net Unreachable");
    case 11003:
        return QStringLiteral("Destination Host Unreachable");
    case 11004:
        return QStringLiteral("Destination Protocol Unreachable");
    case 11005:
        return QStringLiteral("Destination Port Unreachable");
    case 11006:
        return QStringLiteral("No Resources");
    case 11007:
        return QStringLiteral("Bad Option");
    case 11008:
        return QStringLiteral("Hardware Error");
    case 11009:
        return QStringLiteral("Packet Too Big");
    case 11010:
        return kTimedOut;
    case 11011:
        return QStringLiteral("Bad Request");
    case 11012:
        return QStringLiteral("Bad Route");
    case 11013:
        return QStringLiteral("TimeToLive Expired Transit");
    case 11014:
        return QStringLiteral("TimeToLive Expired Reassembly");
    case 11015:
        return QStringLiteral("Parameter Problem");
    case 11016:
        return QStringLiteral("Source Quench");
    case 11017:
        return QStringLiteral("Option Too Big");
    case 11018:
        return QStringLiteral("Bad Destination");
    case 11032:
        return QStringLiteral("Negotiating IPSEC");
    case 11050:
        return QStringLiteral("General Failure");
    default:
        return QStringLiteral("Unknown Response");
    }
}

QStringList pingtijden(const QStringList& addresses) {
    QStringList texts;
    texts.reserve(addresses.size());
    for (const EchoReply& reply : echoAll(addresses, kPayload, kTimeoutMs)) {
        if (getstatuscode(reply.Status) == kTimedOut)
            texts << QStringLiteral("999");
        else if (reply.Status == ipstatus::kSuccess)
            texts << QString::number(reply.RoundTripTime);
        else
            texts << QStringLiteral("err");
    }
    return texts;
}

QString pingtijd(const QString& address) {
    return pingtijden({address}).constFirst();
}
