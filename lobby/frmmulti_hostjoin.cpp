// The "Host game" and "Join game" tabs: their controls and layout.
#include "lobby/frmmulti.h"
#include "lobby/frmmulti_build.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace frmmultibuild;

namespace {
QLabel* note(const QString& text, QWidget* parent) {
    QLabel* label = caption(text, parent);
    label->setWordWrap(true);
    return label;
}
} // namespace

QWidget* frmmulti::buildHostTab() {
    auto* page = new QWidget;

    frmhostgeneral =
        frame(QStringLiteral("General settings"), page, QStringLiteral("frmhostgeneral"));
    optmusic = option(QStringLiteral("Music server"), frmhostgeneral, QStringLiteral("optmusic"));
    optmusic->setChecked(true);
    opttrivia =
        option(QStringLiteral("Trivia server"), frmhostgeneral, QStringLiteral("opttrivia"));
    optmixed = option(QStringLiteral("Mixed server"), frmhostgeneral, QStringLiteral("optmixed"));
    optmixed->setEnabled(false);
    optmixed->hide();
    txtserverinfo = textBox(frmhostgeneral, QStringLiteral("txtserverinfo"));
    auto* general = new QVBoxLayout(frmhostgeneral);
    auto* types = new QHBoxLayout;
    types->addWidget(optmusic);
    types->addWidget(opttrivia);
    types->addWidget(optmixed);
    types->addStretch();
    general->addLayout(types);
    general->addWidget(note(QStringLiteral("What other users see before they connect to your "
                                           "server.  Playlist information is recommended."),
                            frmhostgeneral));
    general->addWidget(txtserverinfo);
    general->addWidget(note(QStringLiteral("Use only plain text, no punctiation"), frmhostgeneral));

    frmhostmusic = frame(QStringLiteral("Music settings"), page, QStringLiteral("frmhostmusic"));
    txtpad = textBox(frmhostmusic, QStringLiteral("txtpad"));
    txtpad->setReadOnly(true);
    Command9 = button(QStringLiteral("Browse..."), frmhostmusic, QStringLiteral("Command9"));
    auto* music = new QVBoxLayout(frmhostmusic);
    music->addWidget(caption(QStringLiteral("Select your M3U file"), frmhostmusic));
    auto* path = new QHBoxLayout;
    path->addWidget(txtpad, 1);
    path->addWidget(Command9);
    music->addLayout(path);
    music->addWidget(note(QStringLiteral("(only use MP3 files, not wma, avi, ...)"), frmhostmusic));
    music->addWidget(note(QStringLiteral("Make sure there are no dead links in your m3u and that "
                                         "all mp3s are playable."),
                          frmhostmusic));
    music->addStretch();

    frmhostdetail = frame(QStringLiteral("Detail settings"), page, QStringLiteral("frmhostdetail"));
    optinternet =
        option(QStringLiteral("Internet game"), frmhostdetail, QStringLiteral("optinternet"));
    optinternet->setChecked(true);
    optlan = option(QStringLiteral("LAN game"), frmhostdetail, QStringLiteral("optlan"));
    txtserverip = textBox(frmhostdetail, QStringLiteral("txtserverip"), QStringLiteral("0.0.0.0"));
    txtserverport = textBox(frmhostdetail, QStringLiteral("txtserverport"), QStringLiteral("6060"));
    txtserverpassword = textBox(frmhostdetail, QStringLiteral("txtserverpassword"));
    txtserverpassword->setEchoMode(QLineEdit::Password);
    cmdservermaxplayers = dropDown(
        frmhostdetail, QStringLiteral("cmdservermaxplayers"),
        {QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5")},
        QStringLiteral("4"));
    cmbtijd = dropDown(frmhostdetail, QStringLiteral("cmbtijd"),
                       {QStringLiteral("10"), QStringLiteral("15"), QStringLiteral("20")},
                       QStringLiteral("10"));
    cmbaantalvragen =
        dropDown(frmhostdetail, QStringLiteral("cmbaantalvragen"),
                 {QStringLiteral("50"), QStringLiteral("100"), QStringLiteral("150"),
                  QStringLiteral("200"), QStringLiteral("250"), QStringLiteral("300"),
                  QStringLiteral("400"), QStringLiteral("500"), QStringLiteral("unlimited")},
                 QStringLiteral("100"));
    auto* detail = new QFormLayout(frmhostdetail);
    detail->addRow(optinternet);
    auto* lan = new QHBoxLayout;
    lan->addWidget(optlan);
    lan->addWidget(
        note(QStringLiteral(" (no registration to Vondrix server, provide clients your IP)"),
             frmhostdetail),
        1);
    detail->addRow(lan);
    detail->addRow(QStringLiteral("Server address"), txtserverip);
    detail->addRow(QStringLiteral("Port"), txtserverport);
    detail->addRow(QStringLiteral("Password (optional)"), txtserverpassword);
    detail->addRow(QStringLiteral("Max. players"), cmdservermaxplayers);
    detail->addRow(QStringLiteral("Answer time"), cmbtijd);
    detail->addRow(QStringLiteral("Number of questions"), cmbaantalvragen);

    cmdHost = button(QStringLiteral("Start server"), page, QStringLiteral("cmdHost"));
    cmdStophost = button(QStringLiteral("Stop server"), page, QStringLiteral("cmdStophost"));
    cmdStophost->setEnabled(false);
    lblstatushost =
        caption(QStringLiteral("No server started"), page, QStringLiteral("lblstatushost"));

    auto* grid = new QGridLayout(page);
    grid->addWidget(frmhostgeneral, 0, 0);
    grid->addWidget(frmhostmusic, 1, 0);
    grid->addWidget(frmhostdetail, 0, 1, 2, 1);
    auto* commands = new QHBoxLayout;
    commands->addWidget(cmdHost);
    commands->addWidget(cmdStophost);
    commands->addSpacing(12);
    commands->addWidget(lblstatushost, 1);
    grid->addLayout(commands, 2, 0, 1, 2);
    grid->setRowStretch(1, 1);
    return page;
}

QWidget* frmmulti::buildJoinTab() {
    auto* page = new QWidget;

    QGroupBox* list = frame(QStringLiteral("List of servers"), page);
    chkPublic = checkBox(QStringLiteral("Music servers"), list, QStringLiteral("chkPublic"));
    chkPublic->setChecked(true);
    chkprivate = checkBox(QStringLiteral("Trivia servers"), list, QStringLiteral("chkprivate"));
    chkpingtime = checkBox(QStringLiteral("Show ping time"), list, QStringLiteral("chkpingtime"));
    fgData = grid(list, QStringLiteral("fgData"));
    cmdVernieuwen = button(QStringLiteral("Refresh list"), list, QStringLiteral("cmdVernieuwen"));
    auto* listLayout = new QVBoxLayout(list);
    auto* choices = new QHBoxLayout;
    choices->addWidget(chkPublic);
    choices->addWidget(chkprivate);
    choices->addWidget(chkpingtime);
    choices->addStretch();
    choices->addWidget(cmdVernieuwen);
    listLayout->addLayout(choices);
    listLayout->addWidget(fgData, 1);

    txthostnaam = textBox(page, QStringLiteral("txthostnaam"));
    txthostport = textBox(page, QStringLiteral("txthostport"));
    txthostport->setMaximumWidth(80);
    txtmetpaswoord = textBox(page, QStringLiteral("txtmetpaswoord"), QStringLiteral("no"));
    txtmetpaswoord->hide();
    Command1 = button(QStringLiteral("Connect"), page, QStringLiteral("Command1"));
    lblstatusjoin = caption(QStringLiteral("Not in a game"), page, QStringLiteral("lblstatusjoin"));

    auto* join = new QHBoxLayout;
    join->addWidget(caption(QStringLiteral("Server address"), page));
    join->addWidget(txthostnaam, 1);
    join->addWidget(caption(QStringLiteral("Port"), page));
    join->addWidget(txthostport);
    join->addWidget(Command1);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(list, 1);
    layout->addLayout(join);
    layout->addWidget(lblstatusjoin);
    return page;
}
