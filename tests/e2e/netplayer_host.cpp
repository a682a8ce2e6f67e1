// The host of the end-to-end player: one game or several in a row.
#include "tests/e2e/netplayer.h"

#include "common/gamestate.h"
#include "common/receivebuffer.h"
#include "game/Form1.h"
#include "game/Form7.h"
#include "lobby/frmmulti.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTcpSocket>
#include <QTimer>
#include <memory>

namespace netplayer {

namespace {

// The games of a host: their number, the planned leave and the clients per game.
struct HostGames {
    int games = 1;
    int game = 0;    // the game being played, from 1
    int leaveIn = 0; // game 1: the question during which the host leaves; 0 = none
    QList<int> clients;
    qint16 rounds = 0;
    bool trivia = false;
    int clientsOf(int g) const { return clients.value(qMin(g, int(clients.size())) - 1); }
};

void playGame(const std::shared_ptr<HostGames>& h);

// "Start server" on the Host game tab for the next game; false when no game opened.
bool openGame(HostGames& h) {
    frmmulti& w = frmmulti::instance();
    say(QStringLiteral("GAME %1").arg(++h.game));
    w.SSTab1->setCurrentIndex(kTabHost);
    w.cmdHost->click();
    if (!Form1::exists() || state().isserver != 1) return false;
    say(QStringLiteral("LISTENING"));
    // The pause after a trivia question is cut short; the question's own clock is not.
    if (h.trivia) Form1::instance().tmrdelay->setInterval(400);
    return true;
}

// The game window's File > Exit, then the next game or the end of the program
// through the online window's Exit.
void leaveGame(const std::shared_ptr<HostGames>& h, bool viaWindow) {
    if (viaWindow && Form1::exists()) Form1::instance().mnuExit->trigger();
    if (h->game < h->games) {
        QTimer::singleShot(1000, qApp, [h] {
            if (openGame(*h)) {
                playGame(h);
            } else {
                say(QStringLiteral("FAILED 3"));
                QApplication::quit();
            }
        });
        return;
    }
    say(QStringLiteral("DONE"));
    QTimer::singleShot(3000, qApp, [] { frmmulti::instance().Command10->click(); });
}

// Waits for the game's clients, starts it and plays it to its end or to the leave.
void playGame(const std::shared_ptr<HostGames>& h) {
    struct Play {
        QPointer<Form1> window;
        bool started = false;
        int round = 0;
        qint16 vertraging = 0;
        QString heading;
        bool leaving = false;
    };
    auto play = std::make_shared<Play>();
    play->window = &Form1::instance();
    auto stateLine = [](int k) {
        QString tiles;
        for (int i = 1; i <= 4; ++i)
            tiles += Form1::instance().naam[i]->isHidden() ? u'0' : u'1';
        say(QStringLiteral("STATE %1 %2 %3").arg(k).arg(state().aantalclients).arg(tiles));
    };
    every([=] {
        GameState& st = state();
        if (!play->window || play->leaving) return true;
        Form1& f = *play->window;
        if (!play->started) {
            // The players connected now, as the host sees them.
            int named = 0;
            for (int i = 1; i <= 4; ++i)
                named += !st.spelers[i].naam.isEmpty() &&
                         frmmulti::instance().server[i]->state() == QAbstractSocket::ConnectedState;
            if (named < h->clientsOf(h->game)) return false;
            play->started = true;
            // The shortest length the host tab offers is 50 questions.
            st.quizlengte = h->rounds;
            play->round = 1;
            for (int i = 1; i <= 4; ++i) {
                if (!st.spelers[i].naam.isEmpty())
                    say(QStringLiteral("SLOT %1 %2").arg(i).arg(st.spelers[i].naam));
            }
            stateLine(1);
            say(QStringLiteral("ROUNDSTART 1 %1").arg(nowMs()));
            QTimer::singleShot(0, f.Command8, &QPushButton::click);
            play->vertraging = st.vertraging;
            return false;
        }
        if (st.vertraging == -1 && play->vertraging != -1 && !f.spelafgelopen() &&
            st.vraagnummer < st.quizlengte) {
            ++play->round;
            say(QStringLiteral("ROUNDSTART %1 %2").arg(play->round).arg(nowMs()));
            stateLine(play->round);
        }
        play->vertraging = st.vertraging;
        // A new question on screen: the host's player answers it rightly.
        if (!h->trivia && f.txthoofd->text() != play->heading &&
            f.txthoofd->text().contains(u'~')) {
            play->heading = f.txthoofd->text();
            const QString key = st.spelers[0].knop(st.juistekeuze);
            QTimer::singleShot(300, f.Text1, [key] {
                if (Form1::exists()) typeKey(Form1::instance().Text1, key);
            });
        }
        if (h->game == 1 && h->leaveIn > 0 && st.vraagnummer >= h->leaveIn && !f.spelafgelopen()) {
            play->leaving = true;
            QTimer::singleShot(2000, qApp, [h] { leaveGame(h, true); });
            return true;
        }
        if (f.spelafgelopen() && Form7::exists() && Form7::instance().isVisible()) {
            play->leaving = true;
            printResults();
            if (h->game < h->games)
                QTimer::singleShot(2000, qApp, [h] { leaveGame(h, true); });
            else
                leaveGame(h, false);
            return true;
        }
        return false;
    });
}

} // namespace

int runHost(const QStringList& args) {
    frmmulti& w = frmmulti::instance();
    w.show();
    if (!logIn(w, arg(args, "--user"), arg(args, "--password"))) return 2;
    w.SSTab1->setCurrentIndex(kTabHost);
    auto h = std::make_shared<HostGames>();
    h->trivia = arg(args, "--spel") == u"trivia";
    h->games = arg(args, "--games", QStringLiteral("1")).toInt();
    h->leaveIn = arg(args, "--leave-in", QStringLiteral("0")).toInt();
    for (const QString& n : arg(args, "--clients").split(u','))
        h->clients << n.toInt();
    h->rounds = static_cast<qint16>(arg(args, "--rounds").toInt());
    if (h->trivia)
        w.opttrivia->click();
    else
        w.optmusic->click();
    w.txtserverinfo->setText(QStringLiteral("end to end game"));
    w.txtserverip->setText(QStringLiteral("127.0.0.1"));
    w.txtserverport->setText(arg(args, "--port"));
    w.txtpad->setText(arg(args, "--playlist"));
    w.cmdservermaxplayers->setCurrentText(QStringLiteral("4"));
    w.cmbtijd->setCurrentText(arg(args, "--tijd", QStringLiteral("10")));
    w.optinternet->click();
    if (!openGame(*h)) return 3;
    if (h->trivia) playTrivia(arg(args, "--answers").split(u','));

    if (args.contains(QStringLiteral("--answer-log"))) {
        // Connected after the dispatcher: the answer has been recorded. It is
        // cleared again at once, so that the player's next answer counts too.
        for (int i = 1; i <= 4; ++i)
            QObject::connect(w.serverontvangst[i], &ReceiveBuffer::messageReceived, qApp,
                             [i](const QByteArray& m) {
                                 if (!m.startsWith("vxclantw")) return;
                                 const qint64 t = nowUs();
                                 GameState& st = state();
                                 if (st.spelers[i].antwoord == 0) return;
                                 say(QStringLiteral("ANSWER %1 %2").arg(i).arg(t));
                                 st.spelers[i].antwoord = 0;
                                 st.aantalclientantwoorden = 0;
                             });
        return -1;
    }
    playGame(h);
    return -1;
}

} // namespace netplayer
