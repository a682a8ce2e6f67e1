// The advertising banner: the reply reader, the rotation against the local web
// server (scripts/bannerserver.sh), a reply in pieces from a server of our own,
// and host start and join without a reachable banner server.
#include "common/bannerhttp.h"
#include "common/gamestate.h"
#include "game/Form1.h"
#include "lobby/centraldb.h"
#include "lobby/clicklabel.h"
#include "lobby/frmmulti.h"
#include "lobby/reclame.h"
#include "platform/programfolder.h"
#include "platform/wait.h"
#include "tests/netgame/netpeer.h"
#include "tests/support/dialogrecorder.h"
#include "tests/support/freeport.h"
#include "tests/support/tempfolder.h"
#include "tests/support/testmain.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTcpSocket>
#include <QTimer>
#include <QtTest>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray bannerFile() {
    return readFile(programFile(QStringLiteral("banner.jpg")));
}

QByteArray jpeg(Qt::GlobalColor colour) {
    QImage image(468, 60, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes;
}

// A reply as most servers send it: more headers after the content type.
QByteArray okReply(const QByteArray& body) {
    return "HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\nContent-Length: " +
           QByteArray::number(body.size()) + "\r\nConnection: close\r\nETag: \"x\"\r\n\r\n" + body;
}

// Sets an environment variable for one test.
class EnvGuard {
public:
    EnvGuard(const char* name, const QByteArray& value) : name_(name), old_(qgetenv(name)) {
        qputenv(name, value);
    }
    ~EnvGuard() { qputenv(name_, old_); }

private:
    const char* name_;
    QByteArray old_;
};

// A game window with an empty program folder and a fresh state.
class BannerWindow {
public:
    BannerWindow() {
        resetState();
        f = &Form1::instance();
    }
    ~BannerWindow() {
        Form1::unload();
        frmmulti::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // One tick; true once the reply has been taken and the socket is closed.
    bool tick() {
        f->Timer4_Timer();
        return waitUntil(
            [this] { return f->wsbanner->state() == QAbstractSocket::UnconnectedState; });
    }
    TempProgramFolder folder;
    DialogRecorder dialogs;
    Form1* f = nullptr;
};

QString servedFile(const QString& name) {
    return qEnvironmentVariable("VDX_BANNER_ROOT") + QStringLiteral("/images/") + name +
           QStringLiteral(".jpg");
}

#define REQUIRE_BANNER_SERVER()                                                                    \
    if (qEnvironmentVariableIsEmpty("VDX_BANNER_ROOT"))                                            \
    QSKIP("no local banner web server: run the tests through scripts/test.sh")

} // namespace

class TestBanner : public QObject {
    Q_OBJECT

private slots:
    void replyReading() {
        const QByteArray body("\xff\xd8 picture \r\n\r\n bytes", 21);
        // The shape the program was first written for, and one with headers after the type.
        const BannerReply bare = parseBannerReply(
            "HTTP/1.1 200 OK\r\nServer: x\r\nContent-Type: image/jpeg\r\n\r\n" + body);
        QVERIFY(bare.isPicture());
        QCOMPARE(bare.body, body);
        const BannerReply full = parseBannerReply(okReply(body));
        QVERIFY(full.isPicture());
        QCOMPARE(full.body, body);
        // Not pictures: a cut body, a header that never ended.
        QVERIFY(!parseBannerReply(okReply(body).chopped(3)).isPicture());
        QVERIFY(!parseBannerReply("HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\n").isPicture());
    }

    void stockPicturesRotateAndA404KeepsThePicture() {
        REQUIRE_BANNER_SERVER();
        BannerWindow w;
        // A longer file from before leaves no tail.
        QFile old(programFile(QStringLiteral("banner.jpg")));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(100000, 'x'));
        old.close();
        for (int n : {1, 2, 3, 4, 5, 1}) {
            QVERIFY(w.tick());
            QCOMPARE(bannerFile(), readFile(servedFile(QStringLiteral("banner%1").arg(n))));
            QVERIFY(state().bannerlink.isEmpty());
        }
        QCOMPARE(w.f->Timer4->interval(), 60000);
        QVERIFY(!w.f->imgbanner->pixmap().isNull());

        const qint64 shown = w.f->imgbanner->pixmap().cacheKey();
        state().aantalbanners = 1;
        state().bannernamen[0] = QStringLiteral("not-there");
        state().bannerlinks[0] = QStringLiteral("http://example.org/");
        QVERIFY(w.tick());
        QCOMPARE(bannerFile(), readFile(servedFile(QStringLiteral("banner1"))));
        QCOMPARE(w.f->imgbanner->pixmap().cacheKey(), shown);
        QVERIFY(state().bannerlink.isEmpty());
    }

    void advertisementsOfTheCountryRotate() {
        REQUIRE_BANNER_SERVER();
        if (qEnvironmentVariableIsEmpty("VONDRIX_DB_HOST")) QSKIP("no central database");
        BannerWindow w;
        QCOMPARE(openCentral(), 0);
        // The seed has two advertisements for all countries and one for the Netherlands.
        reclameladen(QStringLiteral("Cote D'Ivoire"));
        QCOMPARE(state().aantalbanners, 2);
        reclameladen(QStringLiteral("Netherlands"));
        QCOMPARE(state().aantalbanners, 3);
        for (int i : {0, 1, 2, 0}) {
            QVERIFY(w.tick());
            QCOMPARE(bannerFile(), readFile(servedFile(state().bannernamen[i])));
            QCOMPARE(state().bannerlink, state().bannerlinks[i]);
        }
    }

    void replyInPiecesAndACutReply() {
        FakeHost server;
        QVERIFY(server.listen());
        EnvGuard port("VONDRIX_BANNER_PORT", QByteArray::number(server.port()));
        BannerWindow w;
        const QByteArray first = jpeg(Qt::darkBlue);
        const QByteArray second = jpeg(Qt::darkGreen);

        // The whole reply, header included, in reads of a few bytes.
        w.f->Timer4_Timer();
        Peer* peer = server.accept();
        QVERIFY(peer && peer->waitFor("\r\n\r\n"));
        QCOMPARE(peer->received,
                 QByteArray("GET /images/banner1.jpg HTTP/1.1\r\n"
                            "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*\r\n"
                            "Host: 127.0.0.1\r\nConnection: Close\r\n\r\n"));
        const QByteArray reply = okReply(first);
        for (qsizetype at = 0; at < reply.size(); at += 7) {
            peer->send(reply.mid(at, 7));
            wachten(1);
        }
        peer->close();
        QVERIFY(waitUntil([&] { return bannerFile() == first; }));

        // A reply that the next tick cuts off leaves nothing behind in the next picture.
        w.f->Timer4_Timer();
        peer = server.accept();
        QVERIFY(peer && peer->waitFor("\r\n\r\n"));
        peer->send(okReply(second).left(300));
        wachten(50);
        w.f->Timer4_Timer();
        peer = server.accept();
        QVERIFY(peer && peer->waitFor("banner3.jpg"));
        peer->send(okReply(second));
        peer->close();
        QVERIFY(waitUntil([&] { return bannerFile() == second; }));
    }

    void hostStartAndJoinGoOnWithoutBanner() {
        DialogRecorder dialogs;
        TempProgramFolder folder;
        resetState();
        state().gebruikersnaam = QStringLiteral("host");
        // Nothing listens on the banner port: a stopped server.
        EnvGuard stopped("VONDRIX_BANNER_PORT", QByteArray::number(freePort()));
        QFile list(folder.file(QStringLiteral("list.m3u")));
        QVERIFY(list.open(QIODevice::WriteOnly));
        for (int n = 1; n <= 6; ++n) {
            QFile song(folder.file(QStringLiteral("song%1.mp3").arg(n)));
            QVERIFY(song.open(QIODevice::WriteOnly));
            song.write(QByteArray(1000, char('a' + n)));
            list.write(song.fileName().toUtf8() + "\r\n");
        }
        list.close();
        frmmulti& w = frmmulti::instance();
        for (int i = 0; i < w.SSTab1->count(); ++i)
            w.SSTab1->setTabEnabled(i, true);
        w.txtserverinfo->setText(QStringLiteral("game"));
        w.txtserverip->setText(QStringLiteral("127.0.0.1"));
        w.txtserverport->setText(QString::number(freePort()));
        w.txtpad->setText(list.fileName());
        w.optlan->setChecked(true);
        QElapsedTimer clock;
        clock.start();
        w.cmdHost->click();
        QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(w.Command1->isEnabled()); // the start ran to its end
        QCOMPARE(state().bannerverbonden, kFalse);
        Form1::instance().mnuExit_Click();

        // A banner server that never answers: its accept queue is full, so the
        // connection is neither made nor refused.
        const int full = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        QVERIFY(::bind(full, reinterpret_cast<sockaddr*>(&address), length) == 0);
        QVERIFY(::listen(full, 0) == 0);
        ::getsockname(full, reinterpret_cast<sockaddr*>(&address), &length);
        const quint16 silent = ntohs(address.sin_port);
        QTcpSocket fillers[2];
        for (QTcpSocket& filler : fillers)
            filler.connectToHost(QHostAddress::LocalHost, silent);
        wachten(100);
        EnvGuard hanging("VONDRIX_BANNER_PORT", QByteArray::number(silent));
        FakeHost game;
        QVERIFY(game.listen());
        w.txthostport->setText(QString::number(game.port()));
        clock.restart();
        w.clientconnect(QStringLiteral("127.0.0.1"));
        QVERIFY2(clock.elapsed() < 2500, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(game.accept());
        QCOMPARE(state().bannerverbonden, kFalse);
        ::close(full);
        Form1::unload();
        frmmulti::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

VDX_TEST_MAIN(TestBanner)
#include "tst_banner.moc"
