// The game window: its one instance, load and activation, links, focus and the chat boxes.
#include "game/Form1.h"

#include "common/gamestate.h"
#include "common/siteaddress.h"
#include "game/answershape.h"
#include "lobby/clicklabel.h"
#include "lobby/frmmulti.h"
#include "platform/gui/closeless.h"
#include "platform/gui/mediaplayer.h"
#include "platform/gui/shell.h"
#include "platform/gui/windowinstance.h"
#include "platform/rnd.h"
#include "platform/wait.h"

#include <QAction>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTcpSocket>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>

const QString Form1::kCaption =
    QStringLiteral("VONDrix ONLINE~The Biggest Music and General Knowledge Quiz~");
const QString Form1::kWebPage = siteLink();

namespace {
WindowInstance<Form1>& current() {
    static WindowInstance<Form1> window;
    return window;
}

// Rounds of pending events an Enter waits for "Send" before it forces it on.
constexpr int kChatWaitRounds = 199;

// The flag pictures: the online window's list when it is loaded.
const QPixmap& flagPicture(qint16 landnummer) {
    static const FlagImageList own;
    const FlagImageList& list = frmmulti::exists() ? frmmulti::instance().imglandenlijst : own;
    return list.flagOf(landnummer);
}
} // namespace

Form1& Form1::instance() {
    return current().get();
}

bool Form1::exists() {
    return current().exists();
}

void Form1::unload() {
    Form1* window = current().take();
    if (!window) return;
    for (QTimer* t : window->findChildren<QTimer*>())
        t->stop();
    state().bannerbuffer.clear(); // a reply cut off here is no picture
    window->wsbanner->abort();
    window->WindowsMediaPlayer1->stop();
    window->WindowsMediaPlayer2->stop();
    window->hide();
    // Deleted later: unload runs inside the window's own menu handlers.
    window->deleteLater();
}

QLineEdit* Form1::keuze(int n) const {
    switch (n) {
    case 1:
        return keuze1;
    case 2:
        return keuze2;
    case 3:
        return keuze3;
    default:
        return keuze4;
    }
}

void Form1::Form_Load() {
    GameState& s = state();
    s.antwoordenopen = 0;
    RemoveCloseMenuItem(this);
    Randomize();
    s.speler1geantwoord = 0;
    s.speler2geantwoord = 0;
    s.keyboard2 = 0;
    s.quizlengte = 32000;
    if (s.isserver != 0) {
        s.spelers[0].landnummer = s.eigenlandnummer;
        Imaget[0]->setPixmap(flagPicture(s.eigenlandnummer));
        tmrclientstart->stop();
        pgmuziekclient->hide(); // the host receives no excerpts
        for (int i = 1; i <= 4; ++i)
            for (QWidget* w : {static_cast<QWidget*>(Imaget[i]), static_cast<QWidget*>(border[i]),
                               static_cast<QWidget*>(score[i]), static_cast<QWidget*>(bonus[i]),
                               static_cast<QWidget*>(naam[i])})
                w->hide();
    } else {
        tmrclientstart->start();
    }
    tmraantalplayersbegin->start();
    Timer4->start(); // the banner rotation: first tick 20 s after the load
    Form_Activate();
}

void Form1::Form_Activate() {
    const GameState& s = state();
    txtaantalclients->setText(QString::number(s.aantalclients));
    const bool host = s.isserver != 0;
    mnuhostoptions->menuAction()->setVisible(host);
    mnuhostoptions->menuAction()->setEnabled(host);
    frmserver->setVisible(host);
}

void Form1::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) Form_Activate();
    QMainWindow::changeEvent(event);
}

void Form1::Image5_Click() {
    shellopen(QStringLiteral("open"), kWebPage);
}

void Form1::Label2_Click() {
    shellopen(QStringLiteral("open"), kWebPage);
}

void Form1::imgbanner_Click() {
    const QString& link = state().bannerlink;
    shellopen(QStringLiteral("open"), link.isEmpty() ? kWebPage : link);
}

void Form1::Command6_Click() {
    if (state().rondetype == QLatin1String("trivia"))
        txtchat1->setFocus();
    else
        Text1->setFocus();
}

void Form1::txtchat1_Click() {
    txtchat1->deselect();
    txtchat1->setCursorPosition(txtchat1->text().size());
}

void Form1::tmrslider_Timer() {
    GameState& s = state();
    const qint16 was = s.slidertikken;
    s.slidertikken = qint16(was - 1);
    if (was <= 1) {
        Text1->setFocus();
        tmrslider->stop();
    }
}

void Form1::txtchat1_Enter() {
    if (chatwacht_) return; // an earlier Enter is still waiting for "Send"
    if (cmdchat->isEnabled()) {
        cmdchat_Click();
        return;
    }
    chatwacht_ = true;
    const QString typed = txtchat1->text();
    txtchat1->setText(QStringLiteral("message waiting to be sent - transferring quiz data"));
    txtchat1->setReadOnly(true);
    QPointer<Form1> self(this);
    for (int round = 0; round < kChatWaitRounds; ++round) {
        wachten(10);
        if (!self) return;
        if (cmdchat->isEnabled()) break;
    }
    cmdchat->setEnabled(true);
    wachten(50);
    if (!self) return;
    txtchat1->setText(typed);
    chatwacht_ = false;
    cmdchat_Click();
    if (self) txtchat1->setReadOnly(false);
}

void Form1::chatregel(const QString& tekst, qint32 kleur) {
    const int start = txtchat1->selectionStart();
    const int length = txtchat1->selectionLength();
    const int caret = txtchat1->cursorPosition();

    QTextCursor cursor(txtchat2->document());
    cursor.movePosition(QTextCursor::End);
    QTextCharFormat format;
    format.setForeground(vbColor(kleur));
    if (!txtchat2->document()->isEmpty()) cursor.insertBlock();
    cursor.insertText(tekst, format);
    txtchat2->verticalScrollBar()->setValue(txtchat2->verticalScrollBar()->maximum());

    if (start >= 0 && length > 0)
        txtchat1->setSelection(start, length);
    else
        txtchat1->setCursorPosition(caret);
}

void Form1::systeemregel(const QString& tekst) {
    chatregel(tekst, kColourBlack);
    QTextCursor cursor(txtchat2->document());
    cursor.movePosition(QTextCursor::End);
    cursor.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor);
    txtchat2->setTextCursor(cursor);
    txtchat2->ensureCursorVisible();
}

void Form1::verbrokenmelding() {
    Image5->show();
    Frame1->hide();
    cmdchat->setEnabled(false);
    systeemregel(QStringLiteral("[system] disconnected from server"));
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Text1 && event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (text.size() == 1 && text.at(0).isPrint()) Text1_KeyPress(text);
        return false; // the character is not swallowed
    }
    if (watched == txtchat2 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // The chat display is read-only; copying stays possible.
        return !key->matches(QKeySequence::Copy) && !key->matches(QKeySequence::SelectAll);
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == txtchat1) {
            QTimer::singleShot(0, this, [this] { txtchat1_Click(); });
            return false;
        }
        if (watched != Text1 && watched != txtchat2) Text1->setFocus();
    }
    return QMainWindow::eventFilter(watched, event);
}

void Form1::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    if (text.size() == 1 && text.at(0).isPrint()) Form_KeyPress(text);
    QMainWindow::keyPressEvent(event);
}
