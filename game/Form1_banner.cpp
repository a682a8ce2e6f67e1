// The advertising banner: the rotation of the pictures, their download over HTTP
// and the connection that hosting and joining open first.
#include "game/Form1.h"

#include "common/bannerhttp.h"
#include "common/gamestate.h"
#include "lobby/clicklabel.h"
#include "lobby/reclame.h"
#include "platform/programfolder.h"
#include "platform/wait.h"

#include <QElapsedTimer>
#include <QPixmap>
#include <QPointer>
#include <QSaveFile>
#include <QTcpSocket>
#include <QTimer>

namespace {
// A reply larger than this is no banner; its download is given up.
constexpr qsizetype kMaxReply = 4 * 1024 * 1024;
constexpr int kRotation = 60000;
} // namespace

void Form1::buildBanner() {
    wsbanner = new QTcpSocket(this);
    wsbanner->setObjectName(QStringLiteral("wsbanner"));
    imgbanner->setAlignment(Qt::AlignCenter);
    connect(wsbanner, &QTcpSocket::connected, this, &Form1::wsbanner_Connect);
    connect(wsbanner, &QTcpSocket::readyRead, this, &Form1::wsbanner_DataArrival);
    connect(wsbanner, &QTcpSocket::disconnected, this, &Form1::wsbanner_Close);
    connect(Timer4, &QTimer::timeout, this, &Form1::Timer4_Timer);
}

bool Form1::bannerverbinden() {
    GameState& s = state();
    s.bannerbuffer.clear();
    wsbanner->abort();
    s.bannerverbonden = kFalse;
    wsbanner->connectToHost(bannerHost(), quint16(bannerPort()));
    QPointer<Form1> self(this);
    QElapsedTimer waited;
    waited.start();
    // Ends at once when the server refuses, at the latest after kBannerWait.
    while (s.bannerverbonden == kFalse && waited.elapsed() < kBannerWait) {
        wachten(10);
        if (!self) return false;
        if (wsbanner->state() == QAbstractSocket::UnconnectedState) break;
    }
    if (s.bannerverbonden != kFalse) return true;
    wsbanner->abort();
    return false;
}

void Form1::Timer4_Timer() {
    GameState& s = state();
    s.bannerbuffer.clear(); // a reply this tick cuts off is thrown away
    wsbanner->abort();
    wsbanner->connectToHost(bannerHost(), quint16(bannerPort()));
    if (s.aantalbanners >= 1) {
        s.huidigebanner = s.volgendebanner;
        if (s.volgendebanner > s.aantalbanners - 1) {
            s.huidigebanner = 0;
            s.volgendebanner = 0;
        }
    } else {
        s.bannernummer = s.bannernummer < 5 ? qint16(s.bannernummer + 1) : qint16(1);
    }
    QPointer<Form1> self(this);
    wachten(200);
    if (!self) return;
    const QString naam = s.aantalbanners >= 1
                             ? s.bannernamen[s.huidigebanner]
                             : QStringLiteral("banner") + QString::number(s.bannernummer);
    // A socket that failed to connect takes no data; the tick changes nothing then.
    if (wsbanner->state() != QAbstractSocket::UnconnectedState)
        wsbanner->write(bannerRequest(naam, bannerHost()));
    if (s.aantalbanners >= 1) ++s.volgendebanner;
    Timer4->setInterval(kRotation);
}

void Form1::wsbanner_Connect() {
    state().bannerverbonden = kTrue;
}

void Form1::wsbanner_DataArrival() {
    QByteArray& buffer = state().bannerbuffer;
    buffer += wsbanner->readAll();
    if (buffer.size() > kMaxReply) {
        buffer.clear();
        wsbanner->abort();
    }
}

void Form1::wsbanner_Close() {
    GameState& s = state();
    s.bannerverbonden = kFalse;
    if (wsbanner->bytesAvailable() > 0) s.bannerbuffer += wsbanner->readAll();
    const BannerReply reply = parseBannerReply(s.bannerbuffer);
    s.bannerbuffer.clear();
    wsbanner->abort();
    // Only a whole picture replaces the one on screen and in the file.
    QPixmap picture;
    if (!reply.isPicture() || !picture.loadFromData(reply.body)) return;
    // Written whole or not at all: a failed write keeps the last picture.
    QSaveFile file(programFile(QStringLiteral("banner.jpg")));
    if (!file.open(QIODevice::WriteOnly) || file.write(reply.body) != reply.body.size() ||
        !file.commit())
        return;
    if (picture.width() > imgbanner->width() || picture.height() > imgbanner->height())
        picture = picture.scaled(imgbanner->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    imgbanner->setPixmap(picture);
    s.bannerlink = s.aantalbanners >= 1 ? s.bannerlinks[s.huidigebanner] : QString();
}
