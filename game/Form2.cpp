#include "game/Form2.h"

#include "common/gamestate.h"
#include "common/joystickmodule.h"
#include "game/Form3.h"
#include "platform/dialogs.h"
#include "platform/gui/closeless.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {
WindowInstance<Form2>& current() {
    static WindowInstance<Form2> window;
    return window;
}
} // namespace

WizardState& wizard() {
    static WizardState w;
    return w;
}

Form2& Form2::instance() {
    return current().get();
}

bool Form2::exists() {
    return current().exists();
}

void Form2::unload() {
    Form2* window = current().take();
    if (!window) return;
    window->Timer1->stop();
    window->hide();
    window->deleteLater();
}

Form2::Form2(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Settings"));
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Select the .m3u file (winamp playlist)"), this), 0,
                      0, 1, 2);
    txtpad = new QLineEdit(this);
    txtpad->setObjectName(QStringLiteral("txtpad"));
    txtpad->setMinimumWidth(320);
    layout->addWidget(txtpad, 1, 0);
    cmdbrowse = new QPushButton(QStringLiteral("..."), this);
    cmdbrowse->setObjectName(QStringLiteral("cmdbrowse"));
    layout->addWidget(cmdbrowse, 1, 1);

    layout->addWidget(new QLabel(QStringLiteral("Quizlength (questions)"), this), 2, 0);
    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->addItems({"50", "100", "150", "200", "250"});
    Combo1->setCurrentText(QStringLiteral("250"));
    layout->addWidget(Combo1, 2, 1);
    layout->addWidget(new QLabel(QStringLiteral("Time to answer (seconds)"), this), 3, 0);
    Combo2 = new QComboBox(this); // a list to choose from: typing is refused
    Combo2->setObjectName(QStringLiteral("Combo2"));
    Combo2->addItems({"10", "20", "30", "60"});
    Combo2->setCurrentText(QStringLiteral("20"));
    layout->addWidget(Combo2, 3, 1);

    cmdnext = new QPushButton(QStringLiteral("&Next"), this);
    cmdnext->setObjectName(QStringLiteral("cmdnext"));
    cmdnext->setEnabled(false);
    layout->addWidget(cmdnext, 4, 1);
    cmdtest = new QPushButton(QStringLiteral("test"), this);
    cmdtest->setObjectName(QStringLiteral("cmdtest"));
    cmdtest->hide();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(50);
    connect(Timer1, &QTimer::timeout, this, &Form2::Timer1_Timer);
    connect(cmdbrowse, &QPushButton::clicked, this, &Form2::cmdbrowse_Click);
    connect(cmdnext, &QPushButton::clicked, this, &Form2::cmdnext_Click);
    connect(cmdtest, &QPushButton::clicked, this, &Form2::cmdtest_Click);
}

void Form2::Form_Load() {
    RemoveCloseMenuItem(this);
    filter_ = QStringLiteral("M3U playlists (*.m3u)");
    Timer1->start();
}

void Form2::cmdbrowse_Click() {
    GameState& s = state();
    s.liedbovengrens = 0;
    const QString gekozen = QFileDialog::getOpenFileName(this, QString(), QString(), filter_);
    if (!gekozen.isEmpty()) s.m3upad = gekozen;
    txtpad->setText(s.m3upad);
}

void Form2::Timer1_Timer() {
    cmdnext->setEnabled(!txtpad->text().isEmpty());
}

void Form2::cmdnext_Click() {
    WizardState& w = wizard();
    state().m3upad = txtpad->text();
    w.aantalvragen = qint16(Combo1->currentText().toInt());
    w.vraagtijd = qint16(Combo2->currentText().toInt());
    w.huidigespeler = 1;
    Form3::instance().show();
    unload();
}

void Form2::cmdtest_Click() {
    if (!checkjoystick1(0)) MsgBox(QStringLiteral("joystick1 niet gevonden"));
}
