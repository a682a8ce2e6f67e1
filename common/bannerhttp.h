#pragma once

#include <QByteArray>
#include <QString>

// The banner download over plain HTTP: the request text and the reading of the reply.

// The request for /images/<name>.jpg: "GET", "Accept", "Host" and "Connection: Close"
// lines, each ending in CR LF, then an empty line.
QByteArray bannerRequest(const QString& name, const QString& host);

// A reply as far as it was received.
struct BannerReply {
    int status = 0;         // the status code; 0 = no complete status line
    QByteArray contentType; // lower case, without parameters
    QByteArray body;        // everything after the empty line that ends the header
    bool headerComplete = false;
    bool bodyComplete = false; // the whole header arrived and, when it gave a
                               // Content-Length, that many bytes followed

    // Status 200 with an image, received whole.
    bool isPicture() const;
};

// Reads a reply from all its bytes, however they were split when they arrived.
BannerReply parseBannerReply(const QByteArray& bytes);
