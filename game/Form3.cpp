#include "game/Form3.h"

#include "common/gamestate.h"
#include "common/joystickmodule.h"
#include "game/Form2.h"
#include "game/Form6.h"
#include "platform/gui/closeless.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
WindowInstance<Form3>& current() {
    static WindowInstance<Form3> window;
    return window;
}

// A name longer than a tile holds is cut.
constexpr int kNameLength = 30;
} // namespace

Form3& Form3::instance() {
    return current().get();
}

bool Form3::exists() {
    return current().exists();
}

void Form3::unload() {
    Form3* window = current().take();
    if (!window) return;
    window->Timer1->stop();
    window->hide();
    window->deleteLater();
}

Form3::Form3(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Player setup"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Step 2 of 2"), this));

    auto* aantal = new QGroupBox(QStringLiteral("Number of players"), this);
    auto* aantalLayout = new QHBoxLayout(aantal);
    const char* aantallen[5] = {"One player", "Two players", "Three players", "Four players",
                                "Five players"};
    auto* aantalGroep = new QButtonGroup(this);
    for (int i = 0; i < 5; ++i) {
        optaantal[i] = new QRadioButton(QLatin1String(aantallen[i]), aantal);
        optaantal[i]->setObjectName(QStringLiteral("optaantal(%1)").arg(i));
        aantalGroep->addButton(optaantal[i], i);
        aantalLayout->addWidget(optaantal[i]);
    }
    layout->addWidget(aantal);

    frmspeler = new QGroupBox(QStringLiteral("Player 1:"), this);
    frmspeler->setObjectName(QStringLiteral("frmspeler"));
    auto* speler = new QVBoxLayout(frmspeler);
    speler->addWidget(new QLabel(QStringLiteral("Your name"), frmspeler));
    txtname = new QLineEdit(frmspeler);
    txtname->setObjectName(QStringLiteral("txtname"));
    txtname->setMaxLength(kNameLength);
    speler->addWidget(txtname);
    speler->addWidget(new QLabel(QStringLiteral("Gender"), frmspeler));
    auto* geslacht = new QWidget(frmspeler);
    auto* geslachtLayout = new QHBoxLayout(geslacht);
    optmale = new QRadioButton(QStringLiteral("Male"), geslacht);
    optmale->setObjectName(QStringLiteral("optmale"));
    optmale->setChecked(true);
    optfemale = new QRadioButton(QStringLiteral("Female"), geslacht);
    optfemale->setObjectName(QStringLiteral("optfemale"));
    geslachtLayout->addWidget(optmale);
    geslachtLayout->addWidget(optfemale);
    speler->addWidget(geslacht);
    speler->addWidget(new QLabel(QStringLiteral("Input device"), frmspeler));
    auto* invoer = new QWidget(frmspeler);
    auto* invoerLayout = new QHBoxLayout(invoer);
    const char* apparaten[5] = {"keyboard(1)", "keyboard(2)", "joystick 1", "joystick 2",
                                "joystick 3"};
    auto* invoerGroep = new QButtonGroup(this);
    for (int i = 0; i < 5; ++i) {
        optinvoer[i] = new QRadioButton(QLatin1String(apparaten[i]), invoer);
        optinvoer[i]->setObjectName(QStringLiteral("optinvoer(%1)").arg(i));
        invoerGroep->addButton(optinvoer[i], i);
        invoerLayout->addWidget(optinvoer[i]);
    }
    speler->addWidget(invoer);
    layout->addWidget(frmspeler);

    cmdnext = new QPushButton(QStringLiteral("&Next"), this);
    cmdnext->setObjectName(QStringLiteral("cmdnext"));
    cmdnext->setEnabled(false);
    layout->addWidget(cmdnext, 0, Qt::AlignRight);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(50);
    connect(Timer1, &QTimer::timeout, this, &Form3::Timer1_Timer);
    connect(aantalGroep, &QButtonGroup::idClicked, this, &Form3::optaantal_Click);
    connect(invoerGroep, &QButtonGroup::idClicked, this, &Form3::optinvoer_Click);
    connect(cmdnext, &QPushButton::clicked, this, &Form3::cmdnext_Click);
}

void Form3::Form_Load() {
    RemoveCloseMenuItem(this);
    wizard().huidigespeler = 1;
    optaantal[0]->setChecked(true);
    optaantal_Click(0);
    optinvoer[0]->setChecked(true);
    optinvoer_Click(0);
    Timer1->start();
}

bool Form3::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) Form_Activate();
    return QWidget::event(event);
}

void Form3::Form_Activate() {
    const bool sticks[3] = {checkjoystick1(0), checkjoystick2(1), checkjoystick3(2)};
    int apparaten = 2; // the two keyboard options
    for (int j = 0; j < 3; ++j) {
        optinvoer[2 + j]->setEnabled(sticks[j]);
        apparaten += sticks[j];
    }
    for (int i = 0; i < 5; ++i)
        optaantal[i]->setEnabled(i + 1 <= apparaten);
}

void Form3::nogeen() {
    frmspeler->setTitle(QStringLiteral("Player %1:").arg(wizard().huidigespeler));
}

void Form3::optaantal_Click(int index) {
    state().aantalspelers = qint16(index + 1);
}

void Form3::optinvoer_Click(int index) {
    GameState& s = state();
    WizardState& w = wizard();
    const qint16 speler = w.huidigespeler;
    w.invoer[qBound(1, int(speler), 5)] = qint16(index + 1);
    huidigkeyboard = index < 2 ? qint16(index + 1) : qint16(0);
    huidigejoystick = index >= 2 ? qint16(index - 1) : qint16(0);
    switch (index) {
    case 0:
        s.keyboard1 = kTrue;
        break;
    case 1:
        s.keyboard2 = speler;
        break;
    case 2:
        s.joystick1 = kTrue;
        break;
    case 3:
        w.joystick2 = speler;
        break;
    default:
        w.joystick3 = speler;
        break;
    }
}

void Form3::Timer1_Timer() {
    // One player at a time: the next waits until the answer buttons of this one are set.
    cmdnext->setEnabled(!txtname->text().trimmed().isEmpty() && !Form6::exists());
}

void Form3::cmdnext_Click() {
    WizardState& w = wizard();
    const qint16 nr = qint16(qBound(1, int(w.huidigespeler), 5));
    for (int i = 0; i < 5; ++i)
        if (optinvoer[i]->isChecked()) optinvoer_Click(i); // the device of this player
    Speler& speler = state().spelers[nr];
    speler.naam = txtname->text().trimmed();
    speler.geslacht = optfemale->isChecked() ? QStringLiteral("female") : QStringLiteral("male");
    if (huidigkeyboard != 0) ++w.keyboardspelers;
    const bool laatste = nr >= state().aantalspelers;

    Form6& knoppen = Form6::instance();
    if (huidigkeyboard != 0)
        knoppen.keyboards(nr, 0);
    else
        knoppen.controlers(nr, huidigejoystick);
    knoppen.laatste = laatste ? QStringLiteral("ja") : QStringLiteral("nee");
    knoppen.show();
    cmdnext->setEnabled(false);
    if (laatste) {
        unload();
        return;
    }
    w.huidigespeler = qint16(nr + 1);
    nogeen();
    txtname->clear();
    for (QRadioButton* option : optaantal)
        option->setEnabled(false); // the count is fixed once the first player is set up
}
