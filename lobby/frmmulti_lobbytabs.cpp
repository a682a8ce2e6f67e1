// The "Problems", "Expand db", "High score" and "Lobby" tabs: their controls and layout.
#include "lobby/clicklabel.h"
#include "lobby/frmmulti.h"
#include "lobby/frmmulti_build.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace frmmultibuild;

namespace {
QLabel* heading(const QString& text, QWidget* parent) {
    QLabel* label = caption(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    label->setWordWrap(true);
    return label;
}
} // namespace

QWidget* frmmulti::buildProblemsTab() {
    auto* page = new QWidget;
    txtrepusername = textBox(page, QStringLiteral("txtrepusername"));
    txtrepemail = textBox(page, QStringLiteral("txtrepemail"));
    txtrepdescription = named(new QPlainTextEdit(page), QStringLiteral("txtrepdescription"));
    Command3 = button(QStringLiteral("Send"), page, QStringLiteral("Command3"));
    Label8 = named(new ClickLabel(QStringLiteral("-- In case you are not connected you have to "
                                                 "report us by clicking here --"),
                                  page),
                   QStringLiteral("Label8"));
    QFont linkFont = Label8->font();
    linkFont.setUnderline(true);
    Label8->setFont(linkFont);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Username:"), txtrepusername);
    form->addRow(QStringLiteral("Email address:"), txtrepemail);
    form->addRow(QStringLiteral("Your message:"), txtrepdescription);
    auto* send = new QHBoxLayout;
    send->addStretch();
    send->addWidget(Command3);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(
        heading(QStringLiteral("Report your problems here in case you could log in"), page));
    layout->addLayout(form, 1);
    layout->addLayout(send);
    layout->addWidget(Label8);
    return page;
}

QWidget* frmmulti::buildExpandTab() {
    auto* page = new QWidget;
    txtpostquestion = textBox(page, QStringLiteral("txtpostquestion"));
    QStringList numbers;
    for (int i = 1; i <= 12; ++i)
        numbers << QString::number(i);
    Combo1 = dropDown(page, QStringLiteral("Combo1"), numbers, QStringLiteral("1"));
    cmdPostQuestion =
        button(QStringLiteral("Post question"), page, QStringLiteral("cmdPostQuestion"));

    auto* answers = new QGridLayout;
    for (int i = 0; i < 12; ++i) {
        txtpostanswers[i] = textBox(page, QStringLiteral("txtpostanswers(%1)").arg(i));
        txtpostanswers[i]->setVisible(i == 0); // as many as Combo1 says
        answers->addWidget(txtpostanswers[i], i % 6, i / 6);
    }

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Your question:"), txtpostquestion);
    auto* amount = new QHBoxLayout;
    amount->addWidget(Combo1);
    amount->addStretch();
    form->addRow(QStringLiteral("Amount of answers:"), amount);
    form->addRow(QStringLiteral("Your answer(s):"), answers);
    auto* post = new QHBoxLayout;
    post->addStretch();
    post->addWidget(cmdPostQuestion);
    QLabel* hint = caption(QStringLiteral("If the answer is a number, fill answer in as a cypher. "
                                          "If your question is approved you will be notified "
                                          "with a system message."),
                           page);
    hint->setWordWrap(true);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(
        heading(QStringLiteral("Add your own questions to our trivia database"), page));
    layout->addLayout(form);
    layout->addWidget(hint);
    layout->addStretch();
    layout->addLayout(post);
    return page;
}

QWidget* frmmulti::buildHighscoreTab() {
    auto* page = new QWidget;
    cmdrefreshlist2 =
        button(QStringLiteral("Refresh list"), page, QStringLiteral("cmdrefreshlist2"));
    lblscoreaantalindatabase = caption(QString(), page, QStringLiteral("lblscoreaantalindatabase"));
    lblscoreaantalzonderrecord =
        caption(QString(), page, QStringLiteral("lblscoreaantalzonderrecord"));
    lblscoreaantalmetrecord = caption(QString(), page, QStringLiteral("lblscoreaantalmetrecord"));
    fgdata2 = grid(page, QStringLiteral("fgdata2"));
    fgdata3 = grid(page, QStringLiteral("fgdata3"));
    txtsqlscores = textBox(page, QStringLiteral("txtsqlscores"));
    txtsqlscores->hide();

    QGroupBox* show = frame(QStringLiteral("Show scores:"), page);
    opttriviarecords = option(QStringLiteral("Trivia"), show, QStringLiteral("opttriviarecords"));
    opttriviarecords->setChecked(true);
    optmusicrecords = option(QStringLiteral("Music"), show, QStringLiteral("optmusicrecords"));
    auto* showLayout = new QHBoxLayout(show);
    showLayout->addWidget(opttriviarecords);
    showLayout->addWidget(optmusicrecords);

    auto* counts = new QHBoxLayout;
    counts->addWidget(caption(QStringLiteral("Questions in database:"), page));
    counts->addWidget(lblscoreaantalindatabase);
    counts->addSpacing(16);
    counts->addWidget(caption(QStringLiteral("Questions with a record:"), page));
    counts->addWidget(lblscoreaantalzonderrecord);
    counts->addSpacing(16);
    counts->addWidget(caption(QStringLiteral("Questions without a record:"), page));
    counts->addWidget(lblscoreaantalmetrecord);
    counts->addStretch();

    auto* top = new QHBoxLayout;
    top->addWidget(show);
    top->addStretch();
    top->addWidget(cmdrefreshlist2);

    auto* grids = new QGridLayout;
    grids->addWidget(heading(QStringLiteral("Best Trivia players"), page), 0, 0);
    grids->addWidget(heading(QStringLiteral("Best Trivia question posters"), page), 0, 1);
    grids->addWidget(fgdata2, 1, 0);
    grids->addWidget(fgdata3, 1, 1);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(top);
    layout->addLayout(counts);
    layout->addLayout(grids, 1);
    return page;
}

QWidget* frmmulti::buildLobbyTab() {
    auto* page = new QWidget;

    QGroupBox* system = frame(QStringLiteral("System messages"), page);
    txtsystemmessages = richBox(system, QStringLiteral("txtsystemmessages"));
    txtsystemmessages->setPlainText(QStringLiteral("<none>"));
    txtsystemmessages->setMaximumHeight(70);
    Command12 = button(QStringLiteral("Clear all"), system, QStringLiteral("Command12"));
    auto* systemLayout = new QHBoxLayout(system);
    systemLayout->addWidget(txtsystemmessages, 1);
    systemLayout->addWidget(Command12, 0, Qt::AlignTop);

    txtlobbychat = richBox(page, QStringLiteral("txtlobbychat"));
    txtlobbyonline = richBox(page, QStringLiteral("txtlobbyonline"));
    txtlobbysturen = textBox(page, QStringLiteral("txtlobbysturen"));
    cmdlobbysend = button(QStringLiteral("Send"), page, QStringLiteral("cmdlobbysend"));

    auto* boxes = new QGridLayout;
    boxes->addWidget(caption(QStringLiteral("Chat messages since you logged in"), page), 0, 0);
    boxes->addWidget(caption(QStringLiteral("Users in lobby section"), page), 0, 1);
    boxes->addWidget(txtlobbychat, 1, 0);
    boxes->addWidget(txtlobbyonline, 1, 1);
    boxes->setColumnStretch(0, 3);
    boxes->setColumnStretch(1, 1);
    auto* send = new QHBoxLayout;
    send->addWidget(txtlobbysturen, 1);
    send->addWidget(cmdlobbysend);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(system);
    layout->addLayout(boxes, 1);
    layout->addLayout(send);
    return page;
}
