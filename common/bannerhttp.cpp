#include "common/bannerhttp.h"

#include <QList>

QByteArray bannerRequest(const QString& name, const QString& host) {
    // Names and host come from the database and the environment: no line breaks
    // may reach the request.
    const auto oneLine = [](const QString& text) {
        QByteArray line = text.toLatin1();
        line.replace('\r', "").replace('\n', "");
        return line;
    };
    return "GET /images/" + oneLine(name) + ".jpg HTTP/1.1\r\n" +
           "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*\r\n" +
           "Host: " + oneLine(host) + "\r\n" + "Connection: Close\r\n" + "\r\n";
}

bool BannerReply::isPicture() const {
    return status == 200 && contentType.startsWith("image/") && bodyComplete && !body.isEmpty();
}

BannerReply parseBannerReply(const QByteArray& bytes) {
    BannerReply reply;
    qsizetype end = bytes.indexOf("\r\n\r\n");
    qsizetype separator = 4;
    const qsizetype bare = bytes.indexOf("\n\n");
    if (bare >= 0 && (end < 0 || bare < end)) {
        end = bare; // a server that ends its lines with LF alone
        separator = 2;
    }
    if (end < 0) return reply;
    reply.headerComplete = true;
    reply.body = bytes.mid(end + separator);

    const QList<QByteArray> lines = bytes.left(end).split('\n');
    const QList<QByteArray> statusLine = lines.value(0).trimmed().split(' ');
    if (statusLine.size() >= 2 && statusLine[0].startsWith("HTTP/")) {
        bool ok = false;
        const int code = statusLine[1].toInt(&ok);
        if (ok) reply.status = code;
    }
    qsizetype length = -1;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon < 0) continue;
        const QByteArray name = lines[i].left(colon).trimmed().toLower();
        const QByteArray value = lines[i].mid(colon + 1).trimmed();
        if (name == "content-type") {
            reply.contentType = value.split(';').value(0).trimmed().toLower();
        } else if (name == "content-length") {
            bool ok = false;
            length = value.toLongLong(&ok);
            if (!ok || length < 0) length = -2; // unreadable: the body is not trusted
        }
    }
    if (length >= 0 && reply.body.size() > length) reply.body.truncate(length);
    reply.bodyComplete = length == -1 || (length >= 0 && reply.body.size() == length);
    return reply;
}
