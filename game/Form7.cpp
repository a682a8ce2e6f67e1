#include "game/Form7.h"

#include "game/Form1.h"
#include "lobby/clicklabel.h"

#include "platform/gui/closeless.h"
#include "platform/gui/windowinstance.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {
WindowInstance<Form7>& current() {
    static WindowInstance<Form7> window;
    return window;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text = {}) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    // Names, paths and numbers are shown as they are, never as markup.
    label->setTextFormat(Qt::PlainText);
    return label;
}
} // namespace

Form7& Form7::instance() {
    return current().get();
}

bool Form7::exists() {
    return current().exists();
}

void Form7::unload() {
    Form7* window = current().take();
    if (!window) return;
    // Close unloads from inside the window's own click handler.
    window->hide();
    window->deleteLater();
}

Form7::Form7(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form7"));
    setWindowTitle(QStringLiteral("Results"));

    Label1 = makeLabel(this, "Label1", QStringLiteral("Results"));
    QFont heading = Label1->font();
    heading.setPointSize(heading.pointSize() + 6);
    heading.setBold(true);
    Label1->setFont(heading);
    Label7 = makeLabel(this, "Label7", QStringLiteral("Name"));
    Label8 = makeLabel(this, "Label8", QStringLiteral("Score"));
    Label3 = makeLabel(this, "Label3", QStringLiteral("1"));
    Label4 = makeLabel(this, "Label4", QStringLiteral("2"));
    Label5 = makeLabel(this, "Label5", QStringLiteral("3"));
    Label6 = makeLabel(this, "Label6", QStringLiteral("4"));
    Label2 = makeLabel(this, "Label2", QStringLiteral("5"));
    Label9 = makeLabel(this, "Label9", QStringLiteral("Number of questions:"));
    lblvragen = makeLabel(this, "lblvragen");
    Label11 = makeLabel(this, "Label11", QStringLiteral("Time to answer(seconds):"));
    lbltijd = makeLabel(this, "lbltijd");
    Label10 = makeLabel(this, "Label10", QStringLiteral("m3u-file:"));
    lblpad = makeLabel(this, "lblpad");
    Command1 = new QPushButton(QStringLiteral("&Close"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = new QPushButton(QStringLiteral("&Print"), this);
    Command2->setObjectName(QStringLiteral("Command2"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0, 1, 3, Qt::AlignHCenter);
    grid->addWidget(Label7, 1, 1);
    grid->addWidget(Label8, 1, 2);
    QLabel* const numbers[5] = {Label3, Label4, Label5, Label6, Label2};
    for (int i = 0; i < 5; ++i) {
        naam[i] = makeLabel(this, "");
        naam[i]->setObjectName(QStringLiteral("naam(%1)").arg(i));
        naam[i]->setMinimumWidth(160);
        naam[i]->hide();
        score[i] = makeLabel(this, "");
        score[i]->setObjectName(QStringLiteral("score(%1)").arg(i));
        score[i]->hide();
        grid->addWidget(numbers[i], 2 + i, 0);
        grid->addWidget(naam[i], 2 + i, 1);
        grid->addWidget(score[i], 2 + i, 2);
    }
    grid->setRowMinimumHeight(7, 12);
    grid->addWidget(Label9, 8, 0, 1, 2);
    grid->addWidget(lblvragen, 8, 2);
    grid->addWidget(Label11, 9, 0, 1, 2);
    grid->addWidget(lbltijd, 9, 2);
    grid->addWidget(Label10, 10, 0);
    grid->addWidget(lblpad, 10, 1, 1, 2);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command2);
    buttons->addWidget(Command1);
    grid->addLayout(buttons, 11, 0, 1, 3);

    connect(Command1, &QPushButton::clicked, this, &Form7::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form7::Command2_Click);
}

void Form7::Form_Load() {
    RemoveCloseMenuItem(this);
}

ResultSheet Form7::sheet() const {
    ResultSheet sheet;
    sheet.pad = lblpad->text();
    sheet.tijd = lbltijd->text();
    sheet.vragen = lblvragen->text();
    for (int i = 0; i < 5; ++i)
        if (!naam[i]->text().isEmpty())
            sheet.rows.append({i + 1, naam[i]->text(), score[i]->text()});
    sheet.moment = QDateTime::currentDateTime();
    return sheet;
}

void Form7::Command1_Click() {
    if (Form1::exists()) {
        Form1::instance().Image5->show();
        Form1::instance().Frame1->hide();
    }
    unload();
}
