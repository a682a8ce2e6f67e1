// A test program, not a product feature: one player of a network game, driven
// through the online window and the game window by their controls, as a person
// would press them. The end-to-end suite starts one host and several clients.
//
//   vdx_netplayer host   --user U --password P --port N --playlist M3U --tijd S
//                        --clients N --rounds R
//   vdx_netplayer client --user U --password P --port N --playlist M3U
//                        [--answer right|first|none] [--spel trivia]
//   Trivia: the host gets --spel trivia; host and clients get --answers with one
//   entry per question, "right:<ms>" (the first accepted answer), "right2:<ms>"
//   (the second), "wrong:<ms>" or "none" (typed that long after the question
//   shows), and --locale (QLocale name) sets the PC's locale.
//   vdx_netplayer host   ... --answer-log       waits for its clients, starts no game,
//                                               logs every answer it records
//   vdx_netplayer client ... --presses N         once joined, presses answer key 1 N
//                                               times, 20 ms apart, answers taken again
//                                               each time (the answer path benchmark)
//
// It writes one line per event on stdout:
//   MSG <text>                  a message box (answered OK)
//   LISTENING                   host: the game is open for clients
//   SLOT <i> <name>             host: client i at the start of the game
//   ROUNDSTART <k> <ms>         host: round k begins to be prepared
//   STATE <k> <clients> <tiles> host: at the start of round k, the client count
//                               and for tiles 1..4 "1" shown / "0" hidden
//   PLAYING <k> <ms>            client: the excerpt of round k has started
//   QUESTION <nr>|<mask>|<question>|<holder>|<time>   trivia: a question on screen
//   MASK <clock> <mask>         trivia: the hint mask changed while the clock showed clock
//   SENT <clock value>|<line>   trivia: a typed line goes out, the clock value as sent
//   CHAT <colour> <line>        a line of the game chat with its colour value
//   QUESTIONS <text>            the results window's number of questions
//   TABLE <k> <ms>              client: the result table before round k has arrived
//   OPEN <k> <ms>               client: the excerpt of round k begins to arrive
//   RECEIVED <k> <ms>           client: its last byte has arrived
//   PRESS <n> <us>              client: key press n is about to be typed
//   ANSWER <i> <us>             host: the answer of player i has been recorded
//   FINAL <name> <score>        a row of the results window
//   DONE
// Times are milliseconds of the steady clock that all processes share.
#include "common/gamestate.h"
#include "common/playlist.h"
#include "common/protocol.h"
#include "common/receivebuffer.h"
#include "common/trivia.h"
#include "game/Form1.h"
#include "game/Form7.h"
#include "lobby/centraldb.h"
#include "lobby/frmmulti.h"
#include "platform/dialogs.h"
#include "platform/gui/xbackingstore.h"
#include "platform/programfolder.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextStream>
#include <QTimer>
#include <chrono>
#include <functional>

namespace {

QTextStream& out() {
    static QTextStream stream(stdout);
    return stream;
}

void say(const QString& line) {
    out() << line << Qt::endl;
}

qint64 nowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

qint64 nowUs() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

QString arg(const QStringList& args, const QString& name, const QString& fallback = {}) {
    const qsizetype at = args.indexOf(name);
    return at >= 0 && at + 1 < args.size() ? args.at(at + 1) : fallback;
}

// Calls step every millisecond until it returns true.
void every(const std::function<bool()>& step) {
    auto* timer = new QTimer(qApp);
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(1);
    QObject::connect(timer, &QTimer::timeout, [timer, step] {
        if (step()) timer->deleteLater();
    });
    timer->start();
}

void typeKey(QWidget* box, const QString& key) {
    if (key.isEmpty()) return;
    QTest::keyClick(box, key.at(0).toLatin1());
}

void printResults() {
    Form7& uitslag = Form7::instance();
    say(QStringLiteral("QUESTIONS %1").arg(uitslag.lblvragen->text()));
    for (int i = 0; i <= 4; ++i) {
        if (uitslag.naam[i]->isHidden()) continue;
        say(QStringLiteral("FINAL %1 %2").arg(uitslag.naam[i]->text(), uitslag.score[i]->text()));
    }
    say(QStringLiteral("DONE"));
}

bool logIn(frmmulti& w, const QString& user, const QString& password) {
    w.txtusrlogin->setText(user);
    w.txtusrpassword->setText(password);
    w.Command5->click();
    return w.SSTab1->isTabEnabled(kTabHost);
}

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

// Trivia on this PC: logs the question, the mask, the chat, and types the
// planned lines into the game chat as a player would.
void playTrivia(const QStringList& plan) {
    struct Seen {
        QString heading;
        QString mask;
        int chatBlocks = 0;
        int question = 0;
    };
    auto seen = std::make_shared<Seen>();
    every([=] {
        if (!Form1::exists()) return false; // a client's window comes with the join
        Form1& f = Form1::instance();
        const GameState& st = state();
        // A block is logged once it holds its line; the first line fills the empty first block.
        QTextBlock b = f.txtchat2->document()->findBlockByNumber(seen->chatBlocks);
        for (; b.isValid() && !b.text().isEmpty(); b = b.next(), ++seen->chatBlocks) {
            const QColor c = b.begin().fragment().charFormat().foreground().color();
            say(QStringLiteral("CHAT %1 %2")
                    .arg(c.red() + (c.green() << 8) + (c.blue() << 16))
                    .arg(b.text()));
        }
        const QString heading = f.txthoofd->text();
        // "0 ~ Trivia question " is the host's heading before the first question.
        if (heading != seen->heading && heading.contains(QLatin1String("Trivia question ")) &&
            !heading.endsWith(u' ')) {
            seen->heading = heading;
            seen->mask = f.txttriviamask->text();
            say(QStringLiteral("QUESTION %1|%2|%3|%4|%5")
                    .arg(st.triviavraagnr, seen->mask, f.txttriviavraag->text(),
                         f.txttriviafastest->text(), f.txttriviafastesttime->text()));
            const QStringList entry = plan.value(seen->question++).split(u':');
            const QString kind = entry.value(0);
            if (kind != u"right" && kind != u"right2" && kind != u"wrong") return false;
            QString line = QStringLiteral("nothing like it");
            if (kind != u"wrong") {
                const QString column =
                    kind == u"right" ? QStringLiteral("answ1") : QStringLiteral("answ2");
                DbRecordset rs = gMyConn().Execute(QStringLiteral("select ") + column +
                                                       QStringLiteral(" from vdrx_trivia where "
                                                                      "questionnr = ?"),
                                                   {st.triviavraagnr});
                line = rs.RecordCount() == 1 ? rs.Fields(0).Text().toUpper() : QString();
            }
            QTimer::singleShot(entry.value(1).toInt(), qApp, [line] {
                if (!Form1::exists()) return;
                Form1& f = Form1::instance();
                QTest::keyClicks(f.txtchat1, line);
                // The clock value as it goes out on the wire.
                const QByteArray sent = wire::build(
                    wire::TriviaAnswerMessage{line, state().klokwaarde}, decimaalteken().at(0));
                say(QStringLiteral("SENT %1|%2").arg(wire::splitMessage(sent).value(2), line));
                f.cmdchat->click();
            });
        } else if (f.txttriviamask->text() != seen->mask) {
            seen->mask = f.txttriviamask->text();
            say(QStringLiteral("MASK %1 %2").arg(f.txtklok->text(), seen->mask));
        }
        return false;
    });
}

int runHost(const QStringList& args) {
    frmmulti& w = frmmulti::instance();
    w.show();
    if (!logIn(w, arg(args, "--user"), arg(args, "--password"))) return 2;
    w.SSTab1->setCurrentIndex(kTabHost);
    const bool trivia = arg(args, "--spel") == u"trivia";
    if (trivia)
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
    w.cmdHost->click();
    if (!Form1::exists() || state().isserver != 1) return 3;
    say(QStringLiteral("LISTENING"));
    if (trivia) {
        // The pause after a question is cut short; the question's own clock is not.
        Form1::instance().tmrdelay->setInterval(400);
        playTrivia(arg(args, "--answers").split(u','));
    }

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
    const int clients = arg(args, "--clients").toInt();
    const qint16 rounds = static_cast<qint16>(arg(args, "--rounds").toInt());
    struct Play {
        bool started = false;
        int round = 0;
        qint16 vertraging = 0;
        QString heading;
        bool finished = false;
    };
    auto play = std::make_shared<Play>();
    auto stateLine = [](int k) {
        QString tiles;
        for (int i = 1; i <= 4; ++i)
            tiles += Form1::instance().naam[i]->isHidden() ? u'0' : u'1';
        say(QStringLiteral("STATE %1 %2 %3").arg(k).arg(state().aantalclients).arg(tiles));
    };
    every([=] {
        GameState& st = state();
        if (!Form1::exists()) return true;
        Form1& f = Form1::instance();
        if (!play->started) {
            int named = 0;
            for (int i = 1; i <= 4; ++i)
                named += !st.spelers[i].naam.isEmpty();
            if (named < clients) return false;
            play->started = true;
            // The shortest length the host tab offers is 50 questions.
            st.quizlengte = rounds;
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
        if (play->finished) return true;
        if (st.vertraging == -1 && play->vertraging != -1 && !f.spelafgelopen() &&
            st.vraagnummer < st.quizlengte) {
            ++play->round;
            say(QStringLiteral("ROUNDSTART %1 %2").arg(play->round).arg(nowMs()));
            stateLine(play->round);
        }
        play->vertraging = st.vertraging;
        // A new question on screen: the host's player answers it rightly.
        if (!trivia && f.txthoofd->text() != play->heading && f.txthoofd->text().contains(u'~')) {
            play->heading = f.txthoofd->text();
            const QString key = st.spelers[0].knop(st.juistekeuze);
            QTimer::singleShot(300, f.Text1, [key] {
                if (Form1::exists()) typeKey(Form1::instance().Text1, key);
            });
        }
        if (Form7::exists() && Form7::instance().isVisible()) {
            play->finished = true;
            printResults();
            QTimer::singleShot(3000, qApp, &QApplication::quit);
            return true;
        }
        return false;
    });
    return -1;
}

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
    w.Command1->click();

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
                         if (m.startsWith("vxseopen")) {
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
                             QTimer::singleShot(500, qApp, &QApplication::quit);
                         }
                     });
    return -1;
}

} // namespace

int main(int argc, char* argv[]) {
    preferPlainXImages();
    QApplication app(argc, argv);
    const QString locale = arg(app.arguments(), QStringLiteral("--locale"));
    if (!locale.isEmpty()) QLocale::setDefault(QLocale(locale));
    setDialogHandlers({[](const MessageRequest& r) {
                           say(QStringLiteral("MSG ") + QString(r.text).replace(u'\n', u' '));
                           return vbOK;
                       },
                       [](const QString&, const QString&, const QString&) { return QString(); }});
    const QStringList args = app.arguments();
    const QString role = args.value(1);
    int code = 1;
    if (role == u"host") code = runHost(args);
    if (role == u"client") code = runClient(args);
    if (code >= 0) {
        say(QStringLiteral("FAILED %1").arg(code));
        return code;
    }
    const int result = app.exec();
    Form7::unload();
    Form1::unload();
    frmmulti::unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the windows go now
    return result;
}
