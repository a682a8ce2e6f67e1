#include "lobby/frmmulti.h"

#include "common/countries.h"
#include "common/gamestate.h"
#include "lobby/frmmulti_build.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

using namespace frmmultibuild;

namespace {
WindowInstance<frmmulti>& current() {
    static WindowInstance<frmmulti> window;
    return window;
}
} // namespace

frmmulti& frmmulti::instance() {
    return current().get();
}

bool frmmulti::exists() {
    return current().exists();
}

void frmmulti::unload() {
    delete current().take();
}

frmmulti::frmmulti(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmmulti"));
    setWindowTitle(QStringLiteral("Vondrix Online v4"));

    SSTab1 = named(new QTabWidget(this), QStringLiteral("SSTab1"));
    SSTab1->tabBar()->setUsesScrollButtons(false); // all nine tabs in view
    SSTab1->addTab(buildHostTab(), QStringLiteral("Host game"));
    SSTab1->addTab(buildJoinTab(), QStringLiteral("Join game"));
    SSTab1->addTab(buildProblemsTab(), QStringLiteral("Problems"));
    SSTab1->addTab(buildInfoTab(), QStringLiteral("Info"));
    SSTab1->addTab(buildControlsTab(), QStringLiteral("Controls"));
    SSTab1->addTab(buildExpandTab(), QStringLiteral("Expand db"));
    SSTab1->addTab(buildHighscoreTab(), QStringLiteral("High score"));
    SSTab1->addTab(buildLobbyTab(), QStringLiteral("Lobby"));
    SSTab1->addTab(buildLoginTab(), QStringLiteral("Login"));

    // Shown in place of the tabs when this version may no longer be played.
    lblupdate1 = caption(QStringLiteral("There is an essential update for Vondrix, this version "
                                        "is not longer playable"),
                         this, QStringLiteral("lblupdate1"));
    lblupdate2 =
        caption(QStringLiteral("sorry for the inconvenience"), this, QStringLiteral("lblupdate2"));
    for (QLabel* label : {lblupdate1, lblupdate2}) {
        label->setAlignment(Qt::AlignCenter);
        label->hide();
    }
    QFont big = lblupdate1->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.3);
    lblupdate1->setFont(big);

    lblstatus = caption(QStringLiteral("Status: idle"), this, QStringLiteral("lblstatus"));
    lblstatus->hide();
    txtdeci = textBox(this, QStringLiteral("txtdeci"));
    txtdeci->hide();
    Command8 = button(QStringLiteral("Exit"), this, QStringLiteral("Command8"));
    Command8->hide();
    Command10 = button(QStringLiteral("Exit"), this, QStringLiteral("Command10"));

    tmrlobbychat = named(new QTimer(this), QStringLiteral("tmrlobbychat"));
    tmrlobbychat->setInterval(1200);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(Command10);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1, 1);
    layout->addStretch();
    layout->addWidget(lblupdate1);
    layout->addWidget(lblupdate2);
    layout->addStretch();
    layout->addLayout(bottom);

    connect(SSTab1, &QTabWidget::currentChanged, this, &frmmulti::SSTab1_Click);
    connect(Command10, &QPushButton::clicked, this, &frmmulti::Command10_Click);
    connect(Command8, &QPushButton::clicked, this, &frmmulti::Command8_Click);
    installKeyFilters();
    wireLobbyCommands();
    buildNetgame();
    buildServerLists();
    resize(800, 560);
}

void frmmulti::vullanden() {
    for (const QString& naam : countryNames())
        List1->addItem(naam);
}

qint16 frmmulti::zoeklandop(const QString& land) {
    qint16 result = kUnknownCountry;
    const int aantal = List1->count();
    for (int i = 0; i < aantal; ++i) {
        List1->setCurrentRow(i);
        if (sameCountryName(List1->currentItem()->text(), land)) {
            result = static_cast<qint16>(i);
            break;
        }
    }
    state().eigenlandnummer = result;
    return result;
}
