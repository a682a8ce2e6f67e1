// A test program, not a product feature: one player of a network game, driven
// through the online window and the game window by their controls, as a person
// would press them. The end-to-end suite starts one host and several clients.
//
//   vdx_netplayer host   --user U --password P --port N --playlist M3U --tijd S
//                        --clients N --rounds R [--games G] [--leave-in Q]
//   vdx_netplayer client --user U --password P --port N --playlist M3U
//                        [--answer right|first|none] [--spel trivia] [--games G]
//   Several games in one program: the host plays G games one after the other
//   (--clients: one number for every game, or one per game, "3,2"). In game 1
//   with --leave-in it leaves through the game window's File > Exit 2 s after
//   question Q is on screen, otherwise 2 s after its results window shows;
//   then it presses "Start server" again. After the last game it ends the
//   program through the online window's Exit. A client, once its game has ended
//   (results, "Server stopped", a kick or a lost connection) and its connection
//   is gone, presses "Connect" every 0.5 s until it has joined the next game.
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
//   GAME <g>                    host: game g begins; client: it joined game g
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
//   TILES <name> ...            the names on the game window's tiles with the results
//   DONE                        the last game is over
// Times are milliseconds of the steady clock that all processes share.
#include "tests/e2e/netplayer.h"

#include "common/gamestate.h"
#include "common/protocol.h"
#include "common/trivia.h"
#include "game/Form1.h"
#include "game/Form7.h"
#include "lobby/centraldb.h"
#include "lobby/frmmulti.h"
#include "platform/dialogs.h"
#include "platform/gui/programend.h"
#include "platform/gui/xbackingstore.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextStream>
#include <QTimer>
#include <chrono>

namespace netplayer {

void say(const QString& line) {
    static QTextStream out(stdout);
    out << line << Qt::endl;
}

qint64 nowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

qint64 nowUs() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

QString arg(const QStringList& args, const QString& name, const QString& fallback) {
    const qsizetype at = args.indexOf(name);
    return at >= 0 && at + 1 < args.size() ? args.at(at + 1) : fallback;
}

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
    QStringList tiles;
    for (int i = 0; Form1::exists() && i <= 4; ++i) {
        const QLineEdit* naam = Form1::instance().naam[i];
        if (!naam->isHidden() && !naam->text().isEmpty()) tiles << naam->text();
    }
    say(QStringLiteral("TILES ") + tiles.join(u' '));
}

std::function<void(const QString&)>& messageSeen() {
    static std::function<void(const QString&)> seen;
    return seen;
}

bool logIn(frmmulti& w, const QString& user, const QString& password) {
    w.txtusrlogin->setText(user);
    w.txtusrpassword->setText(password);
    w.Command5->click();
    return w.SSTab1->isTabEnabled(kTabHost);
}

void playTrivia(const QStringList& plan) {
    struct Seen {
        QPointer<Form1> window;
        QString heading;
        QString mask;
        int chatBlocks = 0;
        int question = 0; // counted on over the games: the plan has one entry per question
    };
    auto seen = std::make_shared<Seen>();
    every([=] {
        if (!Form1::exists()) return false; // a client's window comes with the join
        Form1& f = Form1::instance();
        const GameState& st = state();
        if (seen->window != &f) { // a new game's window
            seen->window = &f;
            seen->heading.clear();
            seen->mask.clear();
            seen->chatBlocks = 0;
        }
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

} // namespace netplayer

using namespace netplayer;

namespace {
int run(int argc, char* argv[]) {
    preferPlainXImages();
    QApplication app(argc, argv);
    const QString locale = arg(app.arguments(), QStringLiteral("--locale"));
    if (!locale.isEmpty()) QLocale::setDefault(QLocale(locale));
    setDialogHandlers({[](const MessageRequest& r) {
                           say(QStringLiteral("MSG ") + QString(r.text).replace(u'\n', u' '));
                           if (messageSeen()) messageSeen()(r.text);
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
} // namespace

int main(int argc, char* argv[]) {
    return endProgram(run(argc, argv));
}
