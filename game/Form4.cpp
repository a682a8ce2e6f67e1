#include "game/Form4.h"

#include "common/gamestate.h"
#include "common/musicdraw.h"
#include "common/protocol.h"
#include "game/Form1.h"
#include "game/Form2.h"
#include "lobby/clicklabel.h"
#include "netgame/servermodule.h"
#include "platform/gui/closeless.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace {
WindowInstance<Form4>& current() {
    static WindowInstance<Form4> window;
    return window;
}

// The tile picture of a local player: a symbol by gender.
QPixmap genderPicture(const QString& geslacht) {
    const bool female = geslacht == QLatin1String("female");
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(female ? QColor(214, 92, 150) : QColor(64, 120, 210));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QRectF(2, 2, 28, 28));
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setPixelSize(20);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRectF(0, 0, 32, 32), Qt::AlignCenter,
                     female ? QStringLiteral("\u2640") : QStringLiteral("\u2642"));
    return pixmap;
}
} // namespace

Form4& Form4::instance() {
    return current().get();
}

bool Form4::exists() {
    return current().exists();
}

void Form4::unload() {
    Form4* window = current().take();
    if (!window) return;
    window->Timer1->stop();
    window->hide();
    window->deleteLater();
}

Form4::Form4(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Loading..."));
    auto* layout = new QVBoxLayout(this);
    lblstatus = new QLabel(QStringLiteral("Loading m3u list - Please wait"), this);
    lblstatus->setObjectName(QStringLiteral("lblstatus"));
    layout->addWidget(lblstatus);
    cmdstart = new QPushButton(QStringLiteral("Start!"), this);
    cmdstart->setObjectName(QStringLiteral("cmdstart"));
    cmdstart->setEnabled(false);
    layout->addWidget(cmdstart);
    cmdlist = new QPushButton(QStringLiteral("list"), this);
    cmdlist->setObjectName(QStringLiteral("cmdlist"));
    cmdlist->hide();
    txtlist = new QTextEdit(this);
    txtlist->setObjectName(QStringLiteral("txtlist"));
    txtlist->setReadOnly(true);
    txtlist->hide();
    layout->addWidget(txtlist);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &Form4::Timer1_Timer);
    connect(cmdstart, &QPushButton::clicked, this, &Form4::cmdstart_Click);
    connect(cmdlist, &QPushButton::clicked, this, &Form4::cmdlist_Click);
    Timer1->start();
}

void Form4::Form_Load() {
    // Before the window is first shown: changing its flags later would hide it.
    RemoveCloseMenuItem(this);
}

void Form4::Timer1_Timer() {
    ++tikken_;
    if (tikken_ != 2) return;
    Timer1->stop(); // loaded once
    GameState& s = state();
    Form1::instance().LoadM3U(s.m3upad, s.liedpaden, s.liedtitels);
    lblstatus->setText(QStringLiteral("playlist loaded"));
    cmdstart->setEnabled(true);
}

void Form4::cmdstart_Click() {
    GameState& s = state();
    Form1& f = Form1::instance();
    for (QLineEdit* box : f.score)
        box->setText(QStringLiteral("0"));
    s.vraagnummer = 1;
    s.aantalantwoorden = 0;
    s.vraagtijdtekst = QString::number(wizard().vraagtijd);
    s.quizlengte = wizard().aantalvragen;
    s.fragmentgrootte = wire::excerptSize(wizard().vraagtijd);
    f.txthoofd->setText(QStringLiteral("1 ~ artist/song?"));
    for (int i = 1; i <= s.aantalspelers && i <= 5; ++i) {
        f.naam[i - 1]->setText(s.spelers[i].naam);
        f.Imaget[i - 1]->setPixmap(genderPicture(s.spelers[i].geslacht));
    }
    // The first round of a local music game.
    s.liedbovengrens = songDrawBound(s.liedpaden.size());
    f.opstarten();
    f.liedvoorbereiden();
    for (int n = 1; n <= 4; ++n)
        f.keuze(n)->setText(s.keuzes[n]);
    if (stageserversong(s.liedpad)) f.liedspelen();
    f.id3v1();
    f.Image5->hide();
    f.Frame1->show();
    f.show();
    unload();
}

void Form4::cmdlist_Click() {
    const GameState& s = state();
    txtlist->clear();
    for (int i = 0; i < s.liedtitels.size(); ++i)
        txtlist->append(QString::number(i) + QStringLiteral(": ") + s.liedtitels.at(i));
}
