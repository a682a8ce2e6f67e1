// The client of the end-to-end player: joins a game, and the next ones again.
#include "tests/e2e/netplayer.h"

#include "common/gamestate.h"
#include "common/playlist.h"
#include "common/receivebuffer.h"
#include "game/Form1.h"
#include "lobby/frmmulti.h"
#include "platform/programfolder.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <memory>

namespace netplayer {

namespace {

// The place (1..4) whose title is the song that temp.mp3 was cut from; 0 when unknown.
int rightPlace(const QStringList& paths, const QStringList& titles) {
    QFile temp(programFile(QStringLiteral("temp.mp3")));
    if (!temp.open(QIODevice::ReadOnly)) return 0;
    const QByteArray excerpt = temp.readAll();
    QString title;
    for (qsizetype n = 0; n < paths.size() && title.isEmpty(); ++n) {
        QFile song(paths.at(n));
        if (song.open(QIODevice::ReadOnly) && !excerpt.isEmpty() &&
            song.read(excerpt.size()) == excerpt)
            title = titles.value(n);
    }
    Form1& f = Form1::instance();
    for (int place = 1; place <= 4; ++place) {
        if (!title.isEmpty() && f.keuze(place)->text() == title) return place;
    }
    return 0;
}

} // namespace

int runClient(const QStringList& args) {
    frmmulti& w = frmmulti::instance();
    w.show();
    if (!logIn(w, arg(args, "--user"), arg(args, "--password"))) return 2;
    // The host's game is on the server list: click its row, then "Connect".
    w.SSTab1->setCurrentIndex(kTabJoin);
    if (arg(args, "--spel") == u"trivia") w.chkprivate->click(); // the list of trivia games
    int row = -1;
    for (int r = w.fgData->rowCount() - 1; r >= 0 && row < 0; --r) { // the newest first
        const QTableWidgetItem* ip = w.fgData->item(r, 1);
        const QTableWidgetItem* port = w.fgData->item(r, 2);
        if (ip && port && ip->text() == u"127.0.0.1" && port->text() == arg(args, "--port"))
            row = r;
    }
    if (row < 0) {
        // A host that is not listed (a test's own): its address is typed.
        say(QStringLiteral("NOT LISTED"));
        w.txthostnaam->clear();
        QTest::keyClicks(w.txthostnaam, QStringLiteral("127.0.0.1"));
        w.txthostport->setText(arg(args, "--port"));
    } else {
        const QModelIndex cell = w.fgData->model()->index(row, 1);
        w.fgData->scrollTo(cell);
        QTest::mouseClick(w.fgData->viewport(), Qt::LeftButton, {},
                          w.fgData->visualRect(cell).center());
        if (w.txthostport->text() != arg(args, "--port")) return 3;
    }

    struct Games {
        int games = 1;
        int game = 0;
        bool joined = false;
    };
    auto games = std::make_shared<Games>();
    games->games = arg(args, "--games", QStringLiteral("1")).toInt();
    // Every 0.5 s, once the last game's connection is gone: "Connect" again.
    auto* rejoin = new QTimer(qApp);
    rejoin->setInterval(500);
    QObject::connect(rejoin, &QTimer::timeout, qApp, [rejoin, games] {
        frmmulti& online = frmmulti::instance();
        if (games->joined) {
            rejoin->stop();
        } else if (online.client->state() == QAbstractSocket::UnconnectedState) {
            online.SSTab1->setCurrentIndex(kTabJoin);
            online.Command1->click();
        }
    });
    // The game has ended: the next one is joined, or after the last one the
    // program ends once its results are shown.
    auto ended = [rejoin, games](bool withResults) {
        if (!games->joined) return;
        games->joined = false;
        if (games->game < games->games) {
            rejoin->start();
            return;
        }
        say(QStringLiteral("DONE"));
        if (withResults) QTimer::singleShot(500, qApp, &QApplication::quit);
    };
    messageSeen() = [ended](const QString& text) {
        if (text == u"Disconnected from server. Reason: Server stopped" ||
            text == u"You have been kicked by the server" || text == u"No connection with server")
            ended(false);
    };

    auto paths = std::make_shared<QStringList>();
    auto titles = std::make_shared<QStringList>();
    LoadM3U(arg(args, "--playlist"), *paths, *titles);
    const QString answer = arg(args, "--answer", QStringLiteral("right"));
    if (args.contains(QStringLiteral("--answers"))) playTrivia(arg(args, "--answers").split(u','));
    auto round = std::make_shared<int>(0);
    const int presses = arg(args, "--presses", QStringLiteral("0")).toInt();
    if (presses > 0) {
        // Once the host has announced this player, it answers over and over.
        auto done = std::make_shared<int>(0);
        every([=] {
            GameState& st = state();
            if (!Form1::exists() || st.eigenslot.isEmpty()) return false;
            auto* timer = new QTimer(qApp);
            timer->setTimerType(Qt::PreciseTimer);
            QObject::connect(timer, &QTimer::timeout, [=] {
                if (*done >= presses || !Form1::exists()) {
                    timer->stop();
                    say(QStringLiteral("DONE"));
                    QTimer::singleShot(500, qApp, &QApplication::quit);
                    return;
                }
                GameState& s = state();
                s.antwoordenopen = 1;
                s.clientgeantwoord = 0;
                ++*done;
                const qint64 t = nowUs();
                typeKey(Form1::instance().Text1, s.spelers[0].knop1);
                say(QStringLiteral("PRESS %1 %2").arg(*done).arg(t));
            });
            timer->start(20);
            return true;
        });
    }
    auto songBytes = std::make_shared<qint64>(0);
    ReceiveBuffer* ontvangst = w.clientontvangst;
    QObject::connect(ontvangst, &ReceiveBuffer::songData, qApp, [=](const QByteArray& b) {
        *songBytes += b.size();
        if (*songBytes == ontvangst->excerptSize())
            say(QStringLiteral("RECEIVED %1 %2").arg(*round + 1).arg(nowMs()));
    });
    // Connected after the dispatcher: runs once the message has been acted on.
    QObject::connect(w.clientontvangst, &ReceiveBuffer::messageReceived, qApp,
                     [=](const QByteArray& m) {
                         if (m.startsWith("vxsestar") && !games->joined) {
                             games->joined = true;
                             *round = 0;
                             say(QStringLiteral("GAME %1").arg(++games->game));
                         } else if (m.startsWith("vxseopen")) {
                             *songBytes = 0;
                             say(QStringLiteral("OPEN %1 %2").arg(*round + 1).arg(nowMs()));
                         } else if (m.startsWith("vxseantw")) {
                             say(QStringLiteral("TABLE %1 %2").arg(*round + 1).arg(nowMs()));
                         } else if (m.startsWith("vxseclos")) {
                             ++*round;
                             say(QStringLiteral("PLAYING %1 %2").arg(*round).arg(nowMs()));
                             if (!Form1::exists() || answer == u"none") return;
                             const int place = answer == u"first" ? 1 : rightPlace(*paths, *titles);
                             const QString key = state().spelers[0].knop(place);
                             QTimer::singleShot(200, qApp, [key] {
                                 if (Form1::exists()) typeKey(Form1::instance().Text1, key);
                             });
                         } else if (m.startsWith("vxseeind")) {
                             printResults();
                             ended(true);
                         }
                     });
    // Last: the host's greeting may be handled within the click.
    w.Command1->click();
    return -1;
}

} // namespace netplayer
