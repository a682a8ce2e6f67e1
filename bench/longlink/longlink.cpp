// How long the window's thread is held by the central server's statements across a
// long link: a proxy on loopback (tests/support/delayproxy.h) holds every chunk half
// the round trip each way in front of a server of the benchmark's own, at 0, 50, 100,
// 200 and 400 ms round trip. Statements are synchronous, so the time a handler takes
// is the time the window does not answer. The figures time the windows' own handlers,
// called as their timers and buttons call them (kLegend says which); timers that the
// benchmark ticks itself are kept from ticking. Prints the median and max of each as
// a Markdown table, with the machine and its load.
#include "bench/machine.h"
#include "common/gamestate.h"
#include "common/protocol.h"
#include "game/Form1.h"
#include "game/Form7.h"
#include "lobby/centraldb.h"
#include "lobby/frmmulti.h"
#include "platform/clock.h"
#include "platform/gui/programend.h"
#include "tests/db/privateserver.h"
#include "tests/netgame/netpeer.h"
#include "tests/support/admindb.h"
#include "tests/support/delayproxy.h"
#include "tests/support/dialogrecorder.h"
#include "tests/support/freeport.h"
#include "tests/support/tempfolder.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace {

constexpr int kRoundTrips[] = {0, 50, 100, 200, 400};
// Timed runs of each action per round trip; ticks, lines and changes of question
// follow one untimed run. A login always starts without a session.
constexpr int kTicks = 11;
constexpr int kLines = 11;
constexpr int kLogins = 5;
constexpr int kChanges = 7;

const QString kUser = QStringLiteral("benchlink");
const QString kPassword = QStringLiteral("pw");

enum Action { kTick, kLine, kLogin, kChange, kActions };
const char* const kHeadings[kActions] = {"lobby tick", "chat line sent", "login",
                                         "change of question"};
constexpr int kRuns[kActions] = {kTicks, kLines, kLogins, kChanges};

// Milliseconds per round trip and action.
using Figures = std::map<int, std::array<std::vector<double>, kActions>>;

const char* const kLegend =
    "The window's time per action in ms, median / max, through a proxy on loopback that holds\n"
    "every chunk half the round trip each way, in front of a MariaDB of the benchmark's own:\n"
    "- lobby tick: frmmulti::tmrlobbychat_Timer on the Lobby tab, after the chat's first read;\n"
    "- chat line sent: the Send button (cmdlobbysend) with a line in txtlobbysturen;\n"
    "- login: the Login button (Command5) of a program without a session, until it returns:\n"
    "  the connect, the login and entering the Lobby tab. Message boxes are answered at once\n"
    "  by a handler: their display time is not counted;\n"
    "- change of question: a trivia host of an internet game, one client who sets a record\n"
    "  each question: the delay timer's three ticks (record, accepted answers) and the answer\n"
    "  watch's tick that draws and sends the next question; not the clock's tick that closes\n"
    "  the question (no statement, the score table's fixed wait).\n\n";

double timedMs(const std::function<void()>& action) {
    QElapsedTimer took;
    took.start();
    action();
    return double(took.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return ms.size() % 2 != 0 ? ms[ms.size() / 2] : (ms[ms.size() / 2 - 1] + ms[ms.size() / 2]) / 2;
}

QByteArray loadAverage() {
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly)) return "unknown";
    return file.readAll().split(' ').mid(0, 3).join(' ');
}

bool fail(const QString& what) {
    std::fprintf(stderr, "%s\n", qPrintable(what));
    return false;
}

// A statement of the action failed, or it said something it should not have: its
// time would be that of another path.
bool checked(const DialogRecorder& dialogs, const QString& what, const QStringList& expected = {}) {
    const DbError error = gMyConn().Error();
    if (error.Number != 0) return fail(what + QStringLiteral(": ") + error.Description);
    if (dialogs.texts() != expected)
        return fail(what + QStringLiteral(" said: ") + dialogs.texts().join(u'|'));
    return true;
}

// Leaves gMyConn without a session, as before a program's first login: an open that
// fails (nothing listens there) ends the session and any attempt to open it again.
void dropSession() {
    gMyConn().OpenConnection(QStringLiteral("127.0.0.1"), QStringLiteral("x"), QStringLiteral("x"),
                             QStringLiteral("x"), freePort(), 0);
}

// The program reaches the central server on port from now on.
void centralAt(quint16 port) {
    qputenv("VONDRIX_DB_PORT", QByteArray::number(port));
}

// Logins, then lobby ticks and chat lines, through the proxy in front of the server.
bool lobby(frmmulti& w, DialogRecorder& dialogs, int rtt,
           std::array<std::vector<double>, kActions>& figures) {
    for (int run = 0; run < kLogins; ++run) {
        w.SSTab1->setCurrentIndex(kTabLogin); // leaves the Lobby tab, on the last session
        dropSession();
        dialogs.clear();
        w.txtusrlogin->setText(kUser);
        w.txtusrpassword->setText(kPassword);
        figures[kLogin].push_back(timedMs([&] { w.Command5->click(); }));
        if (!checked(dialogs, QStringLiteral("login"),
                     {QStringLiteral("OK, logged into the system")}))
            return false;
        if (state().gebruikersnaam != kUser || w.SSTab1->currentIndex() != kTabLobby)
            return fail(QStringLiteral("the login did not enter the lobby"));
    }
    w.tmrlobbychat->stop(); // the benchmark ticks it
    dialogs.clear();
    for (int run = 0; run <= kTicks; ++run) {
        const double ms = timedMs([&] { w.tmrlobbychat_Timer(); });
        if (!checked(dialogs, QStringLiteral("lobby tick"))) return false;
        if (run > 0) figures[kTick].push_back(ms);
    }
    for (int run = 0; run <= kLines; ++run) {
        w.txtlobbysturen->setText(QStringLiteral("line %1 at %2 ms").arg(run).arg(rtt));
        const double ms = timedMs([&] { w.cmdlobbysend->click(); });
        if (!checked(dialogs, QStringLiteral("chat line"))) return false;
        if (!w.txtlobbysturen->text().isEmpty()) return fail(QStringLiteral("line not sent"));
        if (run > 0) figures[kLine].push_back(ms);
    }
    return true;
}

// A trivia game hosted on the Host tab as an internet game, unlimited questions of
// 20 s, with the client "kees" on the returned peer; its first question has been sent.
std::unique_ptr<Peer> hostTrivia(frmmulti& w) {
    GameState& s = state();
    w.SSTab1->setCurrentIndex(kTabHost);
    const quint16 port = freePort();
    w.txtserverinfo->setText(QStringLiteral("long link"));
    w.txtserverip->setText(QStringLiteral("127.0.0.1"));
    w.txtserverport->setText(QString::number(port));
    w.opttrivia->click();
    w.optinternet->click();
    w.cmbtijd->setCurrentText(QStringLiteral("20"));
    w.cmbaantalvragen->setCurrentText(QStringLiteral("unlimited"));
    w.cmdHost->click();
    auto kees = std::make_unique<Peer>();
    if (!Form1::exists() || !kees->connectTo(port) || !kees->waitFor("vxsestareinde")) return {};
    kees->send("vxcluser|kees|20|vxclusereinde");
    if (!waitUntil([&] { return !s.spelers[1].naam.isEmpty(); })) return {};
    Form1& f = Form1::instance();
    // The benchmark ticks the delay itself; its own timer would tick in between.
    f.tmrdelay->setInterval(24 * 3600 * 1000);
    f.Command8_Click();
    if (!kees->waitUntilCount("vxsetriveinde", 1, 20000)) return {};
    return kees;
}

// One question to the next: kees finds every answer with klok seconds left, the
// clock runs out, and then the timed part, which stores kees's record and sends the
// next question.
bool changeQuestion(Peer& kees, ManualClock& clock, double klok, const DialogRecorder& dialogs,
                    double& ms) {
    GameState& s = state();
    Form1& f = Form1::instance();
    const qint16 before = s.spelers[1].totaalscore;
    for (int k = 1; k <= s.aantaltriviaantwoorden; ++k)
        kees.send(wire::build(wire::TriviaAnswerMessage{s.triviaantwoorden[k], klok}, u'.'));
    if (!waitUntil([&] { return s.spelers[1].totaalscore > before; }))
        return fail(QStringLiteral("kees's answer did not count"));
    clock.advance(20000);
    f.tmrmilliklok2_Timer(); // closes the question and starts the delay
    const int questions = int(kees.received.count("vxsetriveinde"));
    const int records = int(kees.received.count("vxsecha4|A new record!"));
    ms = timedMs([&] {
        for (int tick = 0; tick < 3; ++tick)
            f.tmrdelay_Timer();
        f.tmrAntwoordenTonen_Timer();
    });
    if (!checked(dialogs, QStringLiteral("change of question"))) return false;
    if (!kees.waitUntilCount("vxsetriveinde", questions + 1) ||
        !kees.waitUntilCount("vxsecha4|A new record!", records + 1))
        return fail(QStringLiteral("no record, or no next question"));
    return true;
}

// clock: the questions' clock, which runs out when the benchmark says so.
bool trivia(frmmulti& w, DialogRecorder& dialogs, ManualClock& clock, quint16 target,
            Figures& figures) {
    centralAt(target); // hosting is not timed: straight to the server
    if (openCentral() != 0) return fail(gMyConn().Error().Description);
    dialogs.clear();
    std::unique_ptr<Peer> kees = hostTrivia(w);
    if (!kees)
        return fail(QStringLiteral("the trivia game did not start: ") + dialogs.texts().join(u'|'));
    if (!checked(dialogs, QStringLiteral("hosting"))) return false;
    // Seconds left when kees is done: the time is a record even for a question drawn again.
    double klok = 19.0;
    for (const int rtt : kRoundTrips) {
        DelayProxy proxy(target, std::chrono::milliseconds(rtt / 2));
        centralAt(proxy.port());
        if (openCentral() != 0) return fail(gMyConn().Error().Description);
        for (int run = 0; run <= kChanges; ++run) {
            double ms = 0;
            if (!changeQuestion(*kees, clock, klok, dialogs, ms)) return false;
            klok += 0.02;
            if (run > 0) figures[rtt][kChange].push_back(ms);
        }
        dropSession(); // before the proxy goes
    }
    return true;
}

void print(const Figures& figures) {
    std::printf("| round trip |");
    for (int a = 0; a < kActions; ++a)
        std::printf(" %s, ms (%d runs) |", kHeadings[a], kRuns[a]);
    std::printf("\n|---|---|---|---|---|\n");
    for (const auto& [rtt, ms] : figures) {
        std::printf("| %d ms |", rtt);
        for (int a = 0; a < kActions; ++a)
            std::printf(" %.1f / %.1f |", median(ms[a]),
                        *std::max_element(ms[a].begin(), ms[a].end()));
        std::printf("\n");
    }
    std::printf("\nThe medians in round trips:\n\n| round trip |");
    for (const char* heading : kHeadings)
        std::printf(" %s |", heading);
    std::printf("\n|---|---|---|---|---|\n");
    for (const auto& [rtt, ms] : figures) {
        if (rtt == 0) continue;
        std::printf("| %d ms |", rtt);
        for (int a = 0; a < kActions; ++a)
            std::printf(" %.1f |", median(ms[a]) / rtt);
        std::printf("\n");
    }
}

int run(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Nothing leaves this machine: the central server and the banner host are ours.
    qputenv("VONDRIX_DB_HOST", "127.0.0.1");
    qputenv("VONDRIX_BANNER_HOST", "127.0.0.1");
    qputenv("VONDRIX_BANNER_PORT", QByteArray::number(freePort()));
    QApplication app(argc, argv);
    std::printf("%s\nload average at the start: %s\n\n", machineDescription().c_str(),
                loadAverage().constData());
    std::fflush(stdout);

    PrivateServer server;
    if (!server.start()) {
        fail(server.error());
        return 1;
    }
    const UsePrivateServer use(server);
    const quint16 target = quint16(server.port());
    {
        AdminDb admin;
        if (!admin.exec(QStringLiteral("insert into phpbb_users (user_id, username, "
                                       "user_password, user_from) values (1, ?, md5(?), "
                                       "'Belgium')"),
                        {kUser, kPassword})) {
            fail(admin.lastError());
            return 1;
        }
    }
    const TempProgramFolder folder;
    QFile ini(folder.file(QStringLiteral("settings.ini")));
    if (!ini.open(QIODevice::WriteOnly)) {
        fail(ini.errorString());
        return 1;
    }
    ini.write("[controls]\r\ndevice=keyboard\r\nbutton1=q\r\nbutton2=w\r\nbutton3=e\r\n"
              "button4=r\r\n");
    ini.close();

    DialogRecorder dialogs; // answers every message box at once
    frmmulti& w = frmmulti::instance();
    w.show();
    Figures figures;
    bool done = true;
    for (const int rtt : kRoundTrips) {
        DelayProxy proxy(target, std::chrono::milliseconds(rtt / 2));
        centralAt(proxy.port());
        done = lobby(w, dialogs, rtt, figures[rtt]);
        dropSession(); // before the proxy goes
        if (!done) break;
    }
    ManualClock clock; // until the game window has gone
    done = done && trivia(w, dialogs, clock, target, figures);
    dropSession();
    Form7::unload();
    Form1::unload();
    frmmulti::unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (!done) return 1;

    std::printf("%s", kLegend);
    print(figures);
    std::printf("\nload average at the end: %s\n", loadAverage().constData());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    return endProgram(run(argc, argv));
}
