// The dispatchers: what the client does with each message of the host, and what
// the host does with each message of a client. The receive splitters
// (ReceiveBuffer) hand them whole messages in arrival order; a message whose
// fields do not parse is dropped without effect.
#include "common/gamestate.h"
#include "common/protocol.h"
#include "common/receivebuffer.h"
#include "game/Form1.h"
#include "lobby/frmmulti.h"
#include "netgame/clientmodule.h"
#include "netgame/netinternal.h"
#include "netgame/servermodule.h"
#include "netgame/triviauitbreiding.h"
#include "netgame/triviauitbreidingclient.h"
#include "netgame/vlag.h"
#include "platform/gui/mediaplayer.h"
#include "platform/programfolder.h"

#include <QCoreApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

namespace {

bool heeftTag(QByteArrayView incoming, const char* tag) {
    return incoming.startsWith(QByteArrayView(tag));
}

// The excerpt's progress bar and the media player, when the game window is there.
QProgressBar* voortgang() {
    return Form1::exists() ? Form1::instance().pgmuziekclient : nullptr;
}

void spelerstoppen() {
    if (!Form1::exists()) return;
    Form1::instance().WindowsMediaPlayer1->stop();
    Form1::instance().WindowsMediaPlayer1->close();
}

void sterstart(const wire::StartMessage& m) {
    GameState& st = state();
    st.clientvraagtijd = m.vraagtijd;
    if (Form1::exists()) toonvlag(Form1::instance().Imaget[0], m.landnummer);
    st.vraagtijdtekst = st.clientvraagtijd;
    if (QProgressBar* bar = voortgang()) {
        bar->setMaximum(wire::excerptSize(st.vraagtijdtekst.toInt()));
        bar->setMinimum(0);
        bar->setValue(0);
    }
    sendusertoserver();
}

void keuzes(const wire::ChoicesMessage& m, const QString& vraagveld) {
    GameState& st = state();
    st.rondetype = QStringLiteral("music");
    if (Form1::exists()) {
        Form1::instance().frmmuziek->show();
        Form1::instance().frmtrivia->hide();
    }
    st.clientkeuze1 = m.keuzes[0];
    st.clientkeuze2 = m.keuzes[1];
    st.clientkeuze3 = m.keuzes[2];
    st.clientkeuze4 = m.keuzes[3];
    if (Form1::exists())
        Form1::instance().txthoofd->setText(QStringLiteral("Question ") + vraagveld);
    st.eigenslot = QString::number(m.slot);
}

void registratie(const wire::RegistrationMessage& m) {
    const qint16 p = m.spelernr;
    if (p < 0 || p > 4) return;
    GameState& st = state();
    const QString naam = wire::peerName(m.naam);
    st.spelers[p].naam = naam;
    st.spelers[p].landnummer = m.landnummer;
    st.eigenslot = QString::number(p);
    spelertonen(QString::number(p), m.landnummer);
    if (Form1::exists()) {
        Form1::instance().naam[p]->setText(naam);
        Form1::instance().naam[p]->show();
    }
}

void liedopen() {
    state().ontvangtlied = kTrue;
    if (QProgressBar* bar = voortgang()) {
        bar->setValue(0);
        bar->show();
    }
    spelerstoppen();
}

void liedsluiten() {
    GameState& st = state();
    if (QProgressBar* bar = voortgang()) bar->setValue(bar->maximum());
    spelerstoppen();
    st.ontvangtlied = kFalse;
    const QString pad = programFile(QStringLiteral("temp.mp3"));
    QFile::remove(pad);
    QFile bestand(pad);
    // Without a writable file the round goes on without an excerpt to play.
    if (bestand.open(QIODevice::WriteOnly)) {
        bestand.write(st.liedbuffer);
        bestand.close();
    }
    QCoreApplication::processEvents();
    st.liedbuffer.clear();
    if (QProgressBar* bar = voortgang()) bar->hide();
    if (Form1::exists()) Form1::instance().clientherbeginnen();
}

} // namespace

void liedafbreken() {
    GameState& st = state();
    st.ontvangtlied = kFalse;
    st.liedbuffer.clear();
    if (QProgressBar* bar = voortgang()) bar->hide();
}

void frmmulti::clientsongdata(const QByteArray& bytes) {
    GameState& st = state();
    if (st.ontvangtlied != kTrue) return;
    if (st.liedbuffer.size() + bytes.size() > clientontvangst->songLimit()) {
        liedafbreken();
        return;
    }
    st.liedbuffer.append(bytes);
    if (QProgressBar* bar = voortgang())
        bar->setValue(
            static_cast<int>(qMin<qint64>(qint64(bar->value()) + bytes.size(), bar->maximum())));
}

void frmmulti::geefincomingdoor(const QByteArray& incoming) {
    if (heeftTag(incoming, wire::vxsekik1)) {
        clientgetskicked();
    } else if (heeftTag(incoming, wire::vxsecorr)) {
        clientreceivescorrectanswer(wire::fromWireText(incoming.mid(wire::kTagLength + 1)));
    } else if (heeftTag(incoming, wire::vxseusrs)) {
    } else if (heeftTag(incoming, wire::vxsechat)) {
        if (auto regel = wire::parseText(incoming)) chattonen(*regel);
    } else if (heeftTag(incoming, wire::vxsecha2)) {
        if (auto regel = wire::parseText(incoming)) systeemberichtgroenclient(*regel);
    } else if (heeftTag(incoming, wire::vxsecha3)) {
        if (auto regel = wire::parseText(incoming)) antwoordentonenclient(*regel);
    } else if (heeftTag(incoming, wire::vxsecha4)) {
        if (auto regel = wire::parseText(incoming)) recordberichtclient(*regel);
    } else if (heeftTag(incoming, wire::vxseant2)) {
        if (auto rows = wire::parseRoundResults(incoming)) scoresontvangen(*rows);
    } else if (heeftTag(incoming, wire::vxsetriv)) {
        if (auto m = wire::parseTriviaQuestion(incoming)) triviavraagontvangen(*m);
    } else if (heeftTag(incoming, wire::vxseantw)) {
        if (wire::parseRoundResults(incoming)) alleantwoordenclient(wire::splitMessage(incoming));
    } else if (heeftTag(incoming, wire::vxseeind)) {
        if (wire::parseFinalScores(incoming)) eindscoretonen(wire::splitMessage(incoming));
    } else if (heeftTag(incoming, wire::vxsestar)) {
        if (auto m = wire::parseStart(incoming)) sterstart(*m);
    } else if (heeftTag(incoming, wire::vxsekeuz)) {
        if (auto m = wire::parseChoices(incoming))
            keuzes(*m, wire::splitMessage(incoming).value(5));
    } else if (heeftTag(incoming, wire::vxsestop)) {
        if (wire::parseStop(incoming)) serverstopped();
    } else if (heeftTag(incoming, wire::vxseregi)) {
        if (auto m = wire::parseRegistration(incoming)) registratie(*m);
    } else if (heeftTag(incoming, wire::vxseopen)) {
        liedopen();
    } else if (heeftTag(incoming, wire::vxseclos)) {
        liedsluiten();
    } else {
        clientsongdata(incoming); // untagged: song data only while an excerpt comes in
    }
}

void frmmulti::geefincomingdoorbijserver(qint16 Index, const QByteArray& incoming) {
    if (Index < 1 || Index > 4) return;
    GameState& st = state();
    if (heeftTag(incoming, wire::vxcluser)) {
        const auto m = wire::parseUser(incoming);
        if (!m) return;
        const QString naam = wire::peerName(m->naam);
        st.spelers[Index].naam = naam;
        st.spelers[Index].landnummer = m->landnummer;
        if (Form1::exists()) toonvlag(Form1::instance().Imaget[Index], m->landnummer);
        sendregistrationtoclients(naam, Index, m->landnummer);
    } else if (heeftTag(incoming, wire::vxclantw)) {
        if (const auto m = wire::parseClientAnswer(incoming))
            registeranswer(QString::number(m->antwoord), QString::number(m->antwoordtijd), Index);
    } else if (heeftTag(incoming, wire::vxcltriv)) {
        // The fields as sent: the clock value keeps the client's separator.
        const QStringList velden = wire::splitMessage(incoming);
        if (velden.size() >= 4) controleertriviaantwoordclient(velden.at(1), velden.at(2), Index);
    } else if (heeftTag(incoming, wire::vxclchat)) {
        if (const auto regel = wire::parseText(incoming)) sendchattoclients(wire::peerLine(*regel));
    } else if (heeftTag(incoming, wire::vxclregi)) {
        const auto naam = wire::parseText(incoming);
        if (!naam) return;
        for (int k = 1; k <= 4; ++k) {
            if (clientslots()[k].slotsocket.toInt() == Index)
                setplayername(wire::peerName(*naam), QString::number(Index));
        }
    }
}
