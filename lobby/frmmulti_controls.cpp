// The "Controls" tab: the answer device and the four answer keys.
#include "common/gamestate.h"
#include "common/settings.h"
#include "game/Form6.h"
#include "lobby/frmmulti.h"
#include "lobby/frmmulti_build.h"
#include "platform/programfolder.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace frmmultibuild;

QWidget* frmmulti::buildControlsTab() {
    auto* page = new QWidget;

    QGroupBox* device = frame(QStringLiteral("Your current input device"), page);
    optkeyboard = option(QStringLiteral("keyboard"), device, QStringLiteral("optkeyboard"));
    optkeyboard->setChecked(true);
    optjoystick = option(QStringLiteral("joystick"), device, QStringLiteral("optjoystick"));
    lbljoystick = caption(QStringLiteral("1"), device, QStringLiteral("lbljoystick"));
    lbljoystick->hide();
    auto* deviceLayout = new QVBoxLayout(device);
    deviceLayout->addWidget(optkeyboard);
    deviceLayout->addWidget(optjoystick);
    deviceLayout->addStretch();

    QGroupBox* keys = frame(QStringLiteral("Controls to play"), page);
    auto* keysLayout = new QFormLayout(keys);
    QLineEdit** boxes[] = {&txtbutton1, &txtbutton2, &txtbutton3, &txtbutton4};
    for (int i = 0; i < 4; ++i) {
        *boxes[i] = textBox(keys, QStringLiteral("txtbutton%1").arg(i + 1));
        (*boxes[i])->setReadOnly(true);
        (*boxes[i])->setMaximumWidth(60);
        keysLayout->addRow(QStringLiteral("Answer %1:").arg(i + 1), *boxes[i]);
    }

    cmdchangebuttons =
        button(QStringLiteral("Change controls"), page, QStringLiteral("cmdchangebuttons"));

    auto* frames = new QHBoxLayout;
    frames->addWidget(device, 1);
    frames->addWidget(keys, 1);
    auto* change = new QHBoxLayout;
    change->addStretch();
    change->addWidget(cmdchangebuttons);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(frames);
    layout->addLayout(change);
    layout->addStretch();

    connect(optkeyboard, &QRadioButton::clicked, this, &frmmulti::optkeyboard_Click);
    connect(optjoystick, &QRadioButton::clicked, this, &frmmulti::optjoystick_Click);
    connect(cmdchangebuttons, &QPushButton::clicked, this, &frmmulti::cmdchangebuttons_Click);
    return page;
}

void frmmulti::cmdchangebuttons_Click() {
    GameState& st = state();
    const bool keyboard = optkeyboard->isChecked();
    st.keyboard1 = keyboard ? kTrue : kFalse;
    st.joystick1 = keyboard ? kFalse : kTrue;

    Form6& form = Form6::instance();
    form.show();
    const QString ini = programFile(QStringLiteral("settings.ini"));
    if (keyboard) {
        writeini(ini, QStringLiteral("controls"), QStringLiteral("device"),
                 QStringLiteral("keyboard"));
        form.keyboards(0, 1);
    } else {
        writeini(ini, QStringLiteral("controls"), QStringLiteral("device"),
                 QStringLiteral("joystick"));
        form.controlers(0, lbljoystick->text().toShort());
    }
}

void frmmulti::optkeyboard_Click() {
    Form6::instance().aantalkeyboard = 1;
    state().keyboard1 = kTrue;
}

void frmmulti::optjoystick_Click() {
    if (optjoystick->isChecked()) state().keyboard1 = kFalse;
}
