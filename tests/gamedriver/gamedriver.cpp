// Opens the game window as a host with no clients and starts a game:
//   vdx_gamedriver music|trivia [--joystick] [--answer-after SECONDS] [--quit-after SECONDS]
//                  [--no-start]
// --no-start: "Start!" is not clicked; the window waits for players.
// --answer-after: the host presses the right answer key (trivia: sends the answer)
// that many seconds after "Start!". The file that VDX_DRIVER_READY names is written once "Start!"
// is clicked. music: ten generated songs (sox, lame) in the program folder's "songs" folder.
// trivia: the central database that VONDRIX_DB_HOST / VONDRIX_DB_PORT name.
// Two players who joined earlier are shown beside the host for a fuller picture.
#include "common/countries.h"
#include "common/gamestate.h"
#include "game/Form1.h"
#include "game/answershape.h"
#include "lobby/centraldb.h"
#include "lobby/flagimagelist.h"
#include "netgame/servermodule.h"
#include "platform/gui/programend.h"
#include "platform/gui/soundfiles.h"
#include "platform/gui/xbackingstore.h"
#include "platform/programfolder.h"
#include "tests/support/songfiles.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextStream>
#include <QTimer>

namespace {

int fail(const QString& text) {
    QTextStream(stderr) << "vdx_gamedriver: " << text << "\n";
    return 1;
}

void player(int i, const QString& naam, const char* land, qint16 totaal) {
    Speler& speler = state().spelers[i];
    speler.naam = naam;
    speler.landnummer = countryIndex(QLatin1String(land));
    speler.totaalscore = totaal;
}

int run(int argc, char* argv[]) {
    preferPlainXImages();
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString mode = args.value(1);
    if (mode != u"music" && mode != u"trivia")
        return fail(QStringLiteral("usage: vdx_gamedriver music|trivia [--joystick] "
                                   "[--quit-after SECONDS]"));
    const auto option = [&args](const char* name) {
        const qsizetype at = args.indexOf(QLatin1String(name));
        return at < 0 ? 0.0 : args.value(at + 1).toDouble();
    };
    const double quitAfter = option("--quit-after");
    const double answerAfter = option("--answer-after");
    installSoundFiles();

    GameState& s = state();
    s.isserver = 1;
    s.gebruikersnaam = QStringLiteral("Sandra");
    s.eigenlandnummer = countryIndex(QStringLiteral("Netherlands"));
    s.speltype = mode;
    s.rondetype = mode;
    s.vraagtijdtekst = QStringLiteral("20");
    s.fragmentgrootte = 22 * 25000;
    s.kickspeler = -1;
    const bool joystick = args.contains(QStringLiteral("--joystick"));
    s.keyboard1 = joystick ? kFalse : kTrue;
    s.joystick1 = joystick ? kTrue : kFalse;
    const QString keys = joystick ? QStringLiteral("0123") : QStringLiteral("asdf");
    for (int k = 1; k <= 4; ++k)
        s.spelers[0].knop(k) = keys.mid(k - 1, 1);
    player(0, QStringLiteral("Sandra"), "Netherlands", 0);

    Form1& f = Form1::instance();
    s.quizlengte = 10;
    if (mode == u"music") {
        const QString folder = programFile(QStringLiteral("songs"));
        QDir().mkpath(folder);
        const TestSongs songs = makeSongs(folder, 10, 30);
        if (songs.paths.isEmpty()) return fail(QStringLiteral("sox or lame missing"));
        s.m3upad = songs.playlist;
        f.LoadM3U(s.m3upad, s.liedpaden, s.liedtitels);
    } else {
        if (openCentral() != 0) return fail(QStringLiteral("no central database"));
        DbRecordset rs = gMyConn().Execute(QStringLiteral("select count(*) from vdrx_trivia"));
        s.aantaltriviavragen = rs.Fields(0).Text();
        f.tmrdelay->setInterval(3300);
    }
    f.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    f.show();

    // Two players who joined before the start, with their scores so far.
    player(1, QStringLiteral("Kees"), "Belgium", 0);
    player(2, QStringLiteral("Mia"), "Germany", 0);
    static const FlagImageList flags;
    for (int i = 1; i <= 2; ++i) {
        f.naam[i]->setText(s.spelers[i].naam);
        f.Imaget[i]->setPixmap(flags.flagOf(s.spelers[i].landnummer));
    }
    f.antwoordentonen();
    f.border[1]->hide();
    f.border[2]->hide();
    f.txtaantalclients->setText(QStringLiteral("2"));
    f.chatregel(QStringLiteral("<Kees> good luck everybody!"));
    f.chatregel(QStringLiteral("<Mia> let's go"));

    const bool start = !args.contains(QStringLiteral("--no-start"));
    QTimer::singleShot(500, &f, [&f, answerAfter, start] {
        if (!start) return;
        f.Command8->click();
        const QString ready = qEnvironmentVariable("VDX_DRIVER_READY");
        if (!ready.isEmpty()) QFile(ready).open(QIODevice::WriteOnly);
        if (answerAfter > 0)
            QTimer::singleShot(int(answerAfter * 1000), &f, [&f] {
                const GameState& s = state();
                if (s.rondetype == u"trivia") {
                    f.txtchat1->setText(s.triviaantwoorden[1]);
                    f.cmdchat->click();
                } else {
                    f.Text1_KeyPress(s.spelers[0].knop(s.juistekeuze));
                }
            });
    });
    if (quitAfter > 0) QTimer::singleShot(int(quitAfter * 1000), &app, &QApplication::quit);
    const int rc = QApplication::exec();
    Form1::unload();
    return rc;
}

} // namespace

int main(int argc, char* argv[]) {
    return endProgram(run(argc, argv));
}
