// The host's senders, the answer store and the slot table's waits and checks.
#include "netgame/servermodule.h"

#include "common/gamestate.h"
#include "common/points.h"
#include "common/protocol.h"
#include "game/Form1.h"
#include "game/answershape.h"
#include "lobby/centraldb.h"
#include "lobby/frmmulti.h"
#include "netgame/listensocket.h"
#include "netgame/netinternal.h"
#include "platform/dialogs.h"
#include "platform/programfolder.h"
#include "platform/wait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTcpSocket>
#include <QTimer>

namespace {

const QString kMinderSpelers = QStringLiteral(
    "update vdrx_servers set curPlayers = curPlayers - 1 where ipaddress = ? and ipport = ?");

bool antwoordenopen = true;

// Per socket: when its send last made progress (ms of a steady clock).
qint64 laatstevoortgang[5] = {};

qint64 nu() {
    static QElapsedTimer clock;
    if (!clock.isValid()) clock.start();
    return clock.elapsed();
}

QTcpSocket* socketOf(int i) {
    if (i < 1 || i > 4 || !frmmulti::exists()) return nullptr;
    return frmmulti::instance().server[i];
}

void doEvents() {
    QCoreApplication::processEvents();
}

// Writes on server(i) without letting events run; false when it is not live.
bool schrijf(int i, const QByteArray& bytes) {
    QTcpSocket* socket = socketOf(i);
    if (!socket || !isLiveState(winsockState(socket))) return false;
    return socket->write(bytes) == bytes.size();
}

// Lets events run until a client socket reports written bytes, at most ms: a
// send's end is seen when it happens, not at the next look.
void wachtopverzending(int ms) {
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    for (int i = 1; i <= 4; ++i) {
        if (QTcpSocket* socket = socketOf(i))
            QObject::connect(socket, &QTcpSocket::bytesWritten, &loop, &QEventLoop::quit);
    }
    timer.start(ms);
    loop.exec();
}

void toonscores() {
    if (!Form1::exists()) return;
    Form1& f = Form1::instance();
    for (int i = 0; i <= 4; ++i)
        f.score[i]->setText(QString::number(state().spelers[i].totaalscore));
}

} // namespace

// One send to every live socket, each followed by pending events.
void naaralleclients(const QByteArray& bytes) {
    for (int i = 1; i <= 4; ++i)
        serversend(i, bytes);
}

// The table messages go to sockets that hold a player and take part in the game,
// each followed by a wait of 100 ms.
void tabelnaarclients(const QByteArray& bytes) {
    GameState& st = state();
    for (int i = 1; i <= 4; ++i) {
        const qint16 socketnr = st.spelers[i].socketnr;
        if (socketnr == 0 || !serverLive(socketnr) || clientslots()[i].ingame != u"1") continue;
        if (!serversend(i, bytes)) continue;
        wachten(100);
        doEvents();
    }
}

std::array<ClientSlot, 5>& clientslots() {
    static std::array<ClientSlot, 5> tabel;
    return tabel;
}

int serverState(int i) {
    if (!frmmulti::exists()) return sckClosed;
    if (i == 0) {
        const ListenSocket* listener = frmmulti::instance().server0;
        return listener && listener->isListening() ? 2 : sckClosed;
    }
    return winsockState(socketOf(i));
}

bool serverLive(int i) {
    return isLiveState(serverState(i));
}

bool serversend(int i, const QByteArray& bytes) {
    const bool sent = schrijf(i, bytes);
    if (sent) doEvents();
    return sent;
}

void closelistener() {
    if (frmmulti::exists() && frmmulti::instance().server0) frmmulti::instance().server0->close();
}

void sendvoortgang(int i) {
    if (i >= 1 && i <= 4) laatstevoortgang[i] = nu();
}

// --- slot table ---

int recordvansocket(int i) {
    for (int k = 1; k <= 4; ++k) {
        if (clientslots()[k].slotsocket.toInt() == i) return k;
    }
    return 0;
}

void toonaantalclients() {
    if (Form1::exists())
        Form1::instance().txtaantalclients->setText(QString::number(state().aantalclients));
}

QVariantList serveradres() {
    if (!frmmulti::exists()) return {QString(), QString()};
    const frmmulti& f = frmmulti::instance();
    return {f.txtserverip->text(), f.txtserverport->text()};
}

void centralstatement(const QString& sql, const QVariantList& values) {
    gMyConn().Execute(sql, values);
    CheckError();
}

void dropopruimen(int i, int k, const QString& sql, const QVariantList& values) {
    GameState& st = state();
    clientslots()[k].slotsocket = QStringLiteral("0");
    if (frmmulti::exists()) frmmulti::instance().serversluiten(i);
    Speler& speler = st.spelers[i];
    speler.antwoord = 0;
    speler.antwoordtijd = 0;
    speler.naam.clear();
    speler.totaalscore = 0;
    --st.aantalclients;
    toonaantalclients();
    if (Form1::exists()) {
        Form1& f = Form1::instance();
        f.pokeWatch(); // the answers of those left may all be in
        f.score[i]->setText(QStringLiteral("0"));
        f.score[i]->hide();
        f.naam[i]->clear();
        f.naam[i]->hide();
        f.border[i]->hide();
        f.bonus[i]->hide();
        f.Imaget[i]->hide();
    }
    centralstatement(sql, values);
}

void waitforsendcomplete(int totalMs) {
    const qint64 begin = nu();
    auto& tabel = clientslots();
    for (int i = 1; i <= 4; ++i) {
        if (!tabel[i].verzonden) sendvoortgang(i);
    }
    for (;;) {
        bool klaar = true;
        for (int i = 1; i <= 4; ++i) {
            if (tabel[i].verzonden) continue;
            QTcpSocket* socket = socketOf(i);
            if (!socket || !isLiveState(winsockState(socket)) || socket->bytesToWrite() == 0) {
                tabel[i].verzonden = true;
            } else if (nu() - laatstevoortgang[i] > kSendStallMs || nu() - begin > totalMs) {
                // No byte went out for too long, or the send takes far too long:
                // the client counts as dropped.
                frmmulti::instance().server_Error(static_cast<qint16>(i));
                tabel[i].verzonden = true;
            } else {
                klaar = false;
            }
        }
        if (klaar) return;
        wachtopverzending(10);
    }
}

void syncplayercount() {
    qint16 n = 0;
    for (int i = 1; i <= 4; ++i) {
        const int s = serverState(i);
        if (s == sckConnected || s == sckConnecting) ++n;
    }
    if (n != state().aantalclients) verbindingencontroleren(n);
}

void verbindingencontroleren(qint16& aantal) {
    for (int i = 1; i <= 4; ++i) {
        if (serverLive(i)) continue;
        const int k = recordvansocket(i);
        if (k == 0) continue;
        dropopruimen(i, k,
                     QStringLiteral("update vdrx_servers set curPlayers = ? where ipaddress = ? "
                                    "and ipport = ?"),
                     QVariantList{QString::number(aantal)} + serveradres());
    }
}

void kickclient(qint16 i) {
    QTcpSocket* socket = socketOf(i);
    if (!socket) return;
    if (socket->isOpen()) socket->write(wire::bareMessage(wire::vxsekik1));
    doEvents();
    frmmulti::instance().serversluiten(i);
}

void assignslotsandsendchoices() {
    GameState& st = state();
    auto& tabel = clientslots();
    for (int k = 1; k <= 4; ++k)
        tabel[k].ingame = QStringLiteral("0");
    for (int i = 1; i <= 4; ++i) {
        if (serverLive(i)) {
            int k = recordvansocket(i);
            if (k == 0) {
                k = recordvansocket(0);
                // No record free: the socket's own number is the player number.
                if (k == 0) {
                    k = i;
                } else {
                    tabel[k].slotsocket = QString::number(i);
                }
            }
            tabel[i].ingame = QStringLiteral("1");
            wire::ChoicesMessage m;
            for (int c = 0; c < 4; ++c)
                m.keuzes[c] = st.keuzes[c + 1];
            m.vraagnummer = static_cast<qint16>(st.vraagnummer + 1);
            m.slot = static_cast<qint16>(k);
            serversend(i, wire::build(m));
        } else {
            const int k = recordvansocket(i);
            if (k != 0) dropopruimen(i, k, kMinderSpelers, serveradres());
        }
    }
}

void tmraantalplayersbegin_Timer() {
    if (state().isserver != 1) return;
    for (int i = 1; i <= 4; ++i) {
        if (serverLive(i) || clientslots()[i].slotsocket == u"0") continue;
        dropopruimen(i, i, kMinderSpelers, serveradres());
        return;
    }
}

// --- excerpt ---

bool stageserversong(const QString& path, QString* fout) {
    const auto mislukt = [fout](const QString& file) {
        if (fout) *fout = file;
        return false;
    };
    QFile bron(path);
    if (!bron.open(QIODevice::ReadOnly)) return mislukt(path);
    const QByteArray liedfragment = bron.read(static_cast<qint64>(state().fragmentgrootte));
    bron.close();
    if (liedfragment.isEmpty()) return mislukt(path);
    const QString serverliedpad = programFile(QStringLiteral("server.mp3"));
    QFile::remove(serverliedpad);
    QFile uit(serverliedpad);
    if (!uit.open(QIODevice::WriteOnly)) return mislukt(serverliedpad);
    const bool geschreven = uit.write(liedfragment) == liedfragment.size();
    uit.close();
    return geschreven || mislukt(serverliedpad);
}

void sendsongtoclients() {
    QFile bestand(programFile(QStringLiteral("server.mp3")));
    if (!bestand.open(QIODevice::ReadOnly)) {
        MsgBox(QStringLiteral("Err 53 : File not found"));
        return;
    }
    const QByteArray lied = bestand.readAll();
    bestand.close();
    // Each socket gets "vxseopen", the excerpt and "vxseclos" in one go, so that
    // nothing else can go out between them, whatever the events run afterwards.
    const QByteArray open = wire::bareMessage(wire::vxseopen);
    const QByteArray dicht = wire::bareMessage(wire::vxseclos);
    auto& tabel = clientslots();
    for (int i = 1; i <= 4; ++i) {
        if (!serverLive(i) || tabel[i].ingame != u"1") {
            tabel[i].verzonden = true;
            continue;
        }
        tabel[i].verzonden = false;
        sendvoortgang(i);
        if (!schrijf(i, open + lied + dicht)) tabel[i].verzonden = true;
        doEvents();
    }
}

// --- answers and broadcasts ---

void registeranswer(const QString& antwoord, const QString& antwoordtijd, qint16 index) {
    if (index < 0 || index > 5 || !antwoordenopen) return;
    GameState& st = state();
    Speler& speler = st.spelers[index];
    const qint16 keuze = antwoord.toShort();
    // One answer per player and round, 1 to 4, worth at most the question's seconds.
    if (speler.antwoord != 0 || keuze < 1 || keuze > 4) return;
    ++st.aantalclientantwoorden;
    speler.antwoord = keuze;
    const int vraagtijd = st.vraagtijdtekst.toInt();
    speler.antwoordtijd =
        qint16(qBound(0, antwoordtijd.toInt(), vraagtijd > 0 ? vraagtijd : 32767));
    if (speler.antwoord == st.juistekeuze)
        speler.totaalscore = addPoints(speler.totaalscore, speler.antwoordtijd);
    if (!Form1::exists()) return;
    Form1& f = Form1::instance();
    if (st.aantalclientantwoorden == st.aantalclients && st.aantalantwoorden > 0)
        f.txtklok->setText(QStringLiteral("0"));
    f.pokeWatch();
}

void clientantwoordentoelaten(bool open) {
    antwoordenopen = open;
}

void setplayername(const QString& name, const QString& index) {
    const int i = index.toInt();
    if (i >= 0 && i <= 5) state().spelers[i].naam = name;
}

void sendanswerstoclients() {
    const GameState& st = state();
    wire::RoundResultTable rows;
    for (int i = 0; i <= 4; ++i)
        rows[i] = wire::RoundResultRow::of(st.spelers[i], st.juistekeuze);
    toonscores();
    tabelnaarclients(wire::buildRoundResults(wire::vxseantw, rows));
}

void sendendtoclients() {
    const GameState& st = state();
    wire::FinalScoreTable rows;
    for (int i = 0; i <= 4; ++i)
        rows[i] = wire::FinalScoreRow::of(st.spelers[i], st.juistekeuze);
    toonscores();
    tabelnaarclients(wire::buildFinalScores(rows));
}

void sendregistrationtoclients(const QString& name, qint16 index, qint16 landnummer) {
    naaralleclients(wire::build(wire::RegistrationMessage{name, index, landnummer}));
}

void sendchattoclients(const QString& text) {
    if (Form1::exists()) Form1::instance().chatregel(text, 0);
    naaralleclients(wire::buildHostChat(text));
}

void sendstoptoclients() {
    naaralleclients(wire::buildStop());
}
