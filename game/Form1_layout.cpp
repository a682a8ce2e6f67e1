// The game window's controls, menus and timers, and their layout.
#include "game/Form1.h"

#include "common/siteaddress.h"
#include "game/answershape.h"
#include "game/answerwatch.h"
#include "game/joystickpoll.h"
#include "game/logo.h"
#include "lobby/clicklabel.h"
#include "netgame/servermodule.h"
#include "platform/gui/mediaplayer.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace {

template <typename W> W* named(W* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

QLineEdit* box(QWidget* parent, const QString& name, const QString& text = {}) {
    auto* edit = named(new QLineEdit(text, parent), name);
    edit->setReadOnly(true);
    return edit;
}

void applyFont(QWidget* widget, int pointSize, bool bold, const QString& family = {}) {
    QFont font = widget->font();
    if (!family.isEmpty()) font.setFamily(family);
    font.setPointSize(pointSize);
    font.setBold(bold);
    widget->setFont(font);
}

// The coloured number in front of a title box: the colour of that answer.
QLabel* answerBadge(QWidget* parent, int n) {
    auto* badge = new QLabel(QString::number(n), parent);
    badge->setAlignment(Qt::AlignCenter);
    badge->setFixedSize(40, 40);
    const QColor colour = vbColor(answerColour(n));
    const QColor text = n == 1 ? QColor(Qt::white) : QColor(Qt::black);
    badge->setStyleSheet(QStringLiteral("background:%1; color:%2; border-radius:20px;"
                                        "font-weight:bold; font-size:16pt;")
                             .arg(colour.name(), text.name()));
    return badge;
}

QTimer* timer(QObject* parent, const QString& name, int interval) {
    auto* t = named(new QTimer(parent), name);
    t->setInterval(interval);
    return t;
}

// The game's colours around the boxes: the logo's dark blue to purple, light
// text, panels a shade lighter. Boxes keep the palette, so the answer colours
// and the clock's red show on them.
const char* const kTheme = R"(
#spelveld { background: qlineargradient(x1:0, y1:0, x2:1, y2:1, stop:0 #14205c, stop:1 #4a1c6e); }
#spelveld QLabel { color: #f0f0f5; }
#spelveld QLabel#Label2 { color: #ffc828; }
#spelveld QGroupBox { color: #ffc828; font-weight: bold; border: 1px solid rgba(255,255,255,70);
    border-radius: 10px; margin-top: 16px; padding: 8px 6px 6px 6px;
    background: rgba(255,255,255,22); }
#spelveld QGroupBox::title { subcontrol-origin: margin; left: 12px; padding: 0 4px; }
#spelveld QGroupBox#Frame1 { border: none; background: transparent; margin-top: 0; padding: 0; }
#spelveld QWidget[tegel="true"] { background: rgba(255,255,255,28); border-radius: 12px; }
)";

} // namespace

void Form1::buildTiles(QWidget* area) {
    auto* row = new QHBoxLayout(area);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    for (int i = 0; i < 5; ++i) {
        auto* tile = named(new QWidget(area), QStringLiteral("tile(%1)").arg(i));
        tile->setProperty("tegel", true);
        tile->setAttribute(Qt::WA_StyledBackground);
        auto* grid = new QGridLayout(tile);
        grid->setContentsMargins(10, 8, 10, 8);
        grid->setSpacing(4);
        // The answer shape lies behind the tile's boxes, so hiding it leaves them.
        border[i] = named(new AnswerShape(tile), QStringLiteral("border(%1)").arg(i));
        grid->addWidget(border[i], 0, 0, 3, 2);
        grid->setContentsMargins(10, 8, 10, 8);

        Imaget[i] = named(new QLabel(tile), QStringLiteral("Imaget(%1)").arg(i));
        Imaget[i]->setFixedSize(18, 13);
        Imaget[i]->setScaledContents(true);
        naam[i] = box(tile, QStringLiteral("naam(%1)").arg(i));
        naam[i]->setAlignment(Qt::AlignCenter);
        applyFont(naam[i], 10, true);
        score[i] = box(tile, QStringLiteral("score(%1)").arg(i), QStringLiteral("0"));
        score[i]->setAlignment(Qt::AlignCenter);
        applyFont(score[i], 24, true);
        bonus[i] = box(tile, QStringLiteral("bonus(%1)").arg(i));
        bonus[i]->setAlignment(Qt::AlignCenter);
        applyFont(bonus[i], 11, true);
        bonus[i]->setPalette([&] {
            QPalette p = bonus[i]->palette();
            p.setColor(QPalette::Text, QColor(0, 128, 0));
            return p;
        }());
        for (QWidget* w : {static_cast<QWidget*>(Imaget[i]), static_cast<QWidget*>(naam[i]),
                           static_cast<QWidget*>(score[i]), static_cast<QWidget*>(bonus[i]),
                           static_cast<QWidget*>(border[i])}) {
            QSizePolicy policy = w->sizePolicy();
            policy.setRetainSizeWhenHidden(true);
            w->setSizePolicy(policy);
        }
        auto* nameRow = new QHBoxLayout;
        nameRow->setContentsMargins(6, 6, 6, 0);
        nameRow->addWidget(Imaget[i]);
        nameRow->addWidget(naam[i], 1);
        grid->addLayout(nameRow, 0, 0, 1, 2);
        auto* scoreRow = new QHBoxLayout;
        scoreRow->setContentsMargins(6, 0, 6, 6);
        scoreRow->addWidget(score[i], 3);
        scoreRow->addWidget(bonus[i], 2);
        grid->addLayout(scoreRow, 1, 0, 1, 2);
        border[i]->lower();
        row->addWidget(tile, 1);
    }
}

QWidget* Form1::buildHeading() {
    auto* heading = new QWidget;
    auto* row = new QHBoxLayout(heading);
    row->setContentsMargins(0, 0, 0, 0);
    txthoofd = box(heading, QStringLiteral("txthoofd"), QStringLiteral("artist/song?"));
    applyFont(txthoofd, 16, true);
    lbltijdover =
        named(new QLabel(QStringLiteral("Time left:"), heading), QStringLiteral("lbltijdover"));
    applyFont(lbltijdover, 12, true);
    txtklok = box(heading, QStringLiteral("txtklok"), QStringLiteral("20"));
    applyFont(txtklok, 24, true);
    txtklok->setAlignment(Qt::AlignCenter);
    txtklok->setFixedWidth(90);
    row->addWidget(txthoofd, 1);
    row->addSpacing(16);
    row->addWidget(lbltijdover);
    row->addWidget(txtklok);
    return heading;
}

QWidget* Form1::buildGameFrame() {
    Frame1 = named(new QGroupBox, QStringLiteral("Frame1"));
    auto* layout = new QVBoxLayout(Frame1);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch(1);

    frmmuziek = named(new QGroupBox(QStringLiteral("Which song is playing?"), Frame1),
                      QStringLiteral("frmmuziek"));
    auto* music = new QGridLayout(frmmuziek);
    music->setVerticalSpacing(14);
    QLineEdit** titles[4] = {&keuze1, &keuze2, &keuze3, &keuze4};
    for (int n = 1; n <= 4; ++n) {
        *titles[n - 1] = box(frmmuziek, QStringLiteral("keuze%1").arg(n));
        applyFont(*titles[n - 1], 15, false);
        (*titles[n - 1])->setMinimumHeight(44);
        music->addWidget(answerBadge(frmmuziek, n), n - 1, 0);
        music->addWidget(*titles[n - 1], n - 1, 1);
    }
    pgmuziekclient = named(new QProgressBar(frmmuziek), QStringLiteral("pgmuziekclient"));
    pgmuziekclient->setTextVisible(false);
    pgmuziekclient->setMaximumHeight(10);
    music->addWidget(pgmuziekclient, 4, 0, 1, 2);
    layout->addWidget(frmmuziek);

    frmtrivia = named(new QGroupBox(QStringLiteral("Trivia"), Frame1), QStringLiteral("frmtrivia"));
    auto* trivia = new QGridLayout(frmtrivia);
    txttriviavraag = box(frmtrivia, QStringLiteral("txttriviavraag"),
                         QStringLiteral("...Waiting for next question..."));
    applyFont(txttriviavraag, 13, true);
    txttriviamask =
        box(frmtrivia, QStringLiteral("txttriviamask"), QStringLiteral("****_**** ^^^^"));
    applyFont(txttriviamask, 16, true, QStringLiteral("Courier New"));
    txttriviaposter = box(frmtrivia, QStringLiteral("txttriviaposter"));
    txttriviafastesttime = box(frmtrivia, QStringLiteral("txttriviafastesttime"));
    txttriviafastest = box(frmtrivia, QStringLiteral("txttriviafastest"));
    // Its own opaque box: it changes every 10 ms over the translucent frame.
    Text3 = named(new ClockBox(QStringLiteral("20"), frmtrivia), QStringLiteral("Text3"));
    Text3->setAlignment(Qt::AlignCenter);
    Text3->setFixedWidth(70);
    auto* legend =
        new QLabel(QStringLiteral("* = character    ^ = numeral    _ = space"), frmtrivia);
    trivia->addWidget(txttriviavraag, 0, 0, 1, 4);
    trivia->addWidget(new QLabel(QStringLiteral("mask"), frmtrivia), 1, 0);
    trivia->addWidget(txttriviamask, 1, 1, 1, 2);
    trivia->addWidget(Text3, 1, 3);
    trivia->addWidget(legend, 2, 1, 1, 3);
    trivia->addWidget(new QLabel(QStringLiteral("Poster:"), frmtrivia), 3, 0);
    trivia->addWidget(txttriviaposter, 3, 1, 1, 3);
    trivia->addWidget(new QLabel(QStringLiteral("Fastest time:"), frmtrivia), 4, 0);
    trivia->addWidget(txttriviafastesttime, 4, 1);
    trivia->addWidget(new QLabel(QStringLiteral("from:"), frmtrivia), 4, 2, Qt::AlignRight);
    trivia->addWidget(txttriviafastest, 4, 3);
    trivia->setColumnStretch(1, 1);
    layout->addWidget(frmtrivia);
    layout->addStretch(1);
    return Frame1;
}

QWidget* Form1::buildChatFrame() {
    frmchat = named(new QGroupBox(QStringLiteral("Chat")), QStringLiteral("frmchat"));
    auto* layout = new QGridLayout(frmchat);
    txtchat2 = named(new QTextEdit(frmchat), QStringLiteral("txtchat2"));
    txtchat2->setReadOnly(true);
    txtchat2->setAcceptRichText(false);
    txtchat3 = named(new QTextEdit(frmchat), QStringLiteral("txtchat3"));
    txtchat3->hide();
    txtchat1 = named(new QLineEdit(frmchat), QStringLiteral("txtchat1"));
    txtchat1->setToolTip(QStringLiteral(
        "you can not answer while you are sending a message, send it or interupt your message by "
        "clicking on focus to game"));
    cmdchat = named(new QPushButton(QStringLiteral("Send"), frmchat), QStringLiteral("cmdchat"));
    Command6 = named(new QPushButton(QStringLiteral("Focus on game"), frmchat),
                     QStringLiteral("Command6"));
    layout->addWidget(txtchat2, 0, 0, 1, 2);
    layout->addWidget(txtchat1, 1, 0);
    layout->addWidget(cmdchat, 1, 1);
    layout->addWidget(Command6, 2, 0, 1, 2);
    return frmchat;
}

QWidget* Form1::buildServerFrame() {
    frmserver = named(new QGroupBox(QStringLiteral("Server info")), QStringLiteral("frmserver"));
    auto* layout = new QHBoxLayout(frmserver);
    layout->addWidget(new QLabel(QStringLiteral("Players connected:"), frmserver));
    txtaantalclients = box(frmserver, QStringLiteral("txtaantalclients"), QStringLiteral("0"));
    txtaantalclients->setFixedWidth(40);
    txtaantalclients->setAlignment(Qt::AlignCenter);
    layout->addWidget(txtaantalclients);
    layout->addStretch();
    Command8 =
        named(new QPushButton(QStringLiteral("Start!"), frmserver), QStringLiteral("Command8"));
    applyFont(Command8, 12, true);
    Command8->setMinimumWidth(110);
    layout->addWidget(Command8);
    return frmserver;
}

void Form1::buildMenus() {
    auto action = [this](QMenu* menu, const QString& text, const QString& name) {
        QAction* a = menu->addAction(text);
        a->setObjectName(name);
        return a;
    };
    mnuFile = named(menuBar()->addMenu(QStringLiteral("&File")), QStringLiteral("mnuFile"));
    mnuPause = action(mnuFile, QStringLiteral("Pause"), QStringLiteral("mnuPause"));
    mnuPause->setCheckable(true);
    mnuPause->setVisible(false);
    mnuExit = action(mnuFile, QStringLiteral("E&xit"), QStringLiteral("mnuExit"));

    mnuhostoptions =
        named(menuBar()->addMenu(QStringLiteral("Hostoptions")), QStringLiteral("mnuhostoptions"));
    mnukick = named(mnuhostoptions->addMenu(QStringLiteral("Kick")), QStringLiteral("mnukick"));
    for (int i = 0; i < 4; ++i)
        mnukickplayer[i] = action(mnukick, QStringLiteral("Kick player %1").arg(i + 1),
                                  QStringLiteral("mnukickplayer(%1)").arg(i));
    mnukickplayertell = action(mnukick, QStringLiteral("Kick player with comment"),
                               QStringLiteral("mnukickplayertell"));
    mnukickplayertell->setVisible(false);
    mnureset =
        action(mnuhostoptions, QStringLiteral("Reset current game"), QStringLiteral("mnureset"));

    mnusounds = named(menuBar()->addMenu(QStringLiteral("Sounds")), QStringLiteral("mnusounds"));
    mnusoundfx = action(mnusounds, QStringLiteral("Sound FX"), QStringLiteral("mnusoundfx"));
    mnusoundfx->setCheckable(true);
    mnusoundfx->setChecked(true);

    connect(mnuExit, &QAction::triggered, this, &Form1::mnuExit_Click);
    for (int i = 0; i < 4; ++i)
        connect(mnukickplayer[i], &QAction::triggered, this, [this, i] { mnukickplayer_Click(i); });
    connect(mnureset, &QAction::triggered, this, &Form1::mnureset_Click);
    // Sound FX and Pause toggle their own check marks when chosen; the sound and
    // the keys read the marks.
}

void Form1::buildTimers() {
    tmrKlok = timer(this, QStringLiteral("tmrKlok"), 1000);
    tmrmilliklok2 = timer(this, QStringLiteral("tmrmilliklok2"), 10);
    tmrmilliklok2->setTimerType(Qt::PreciseTimer);
    tmrAntwoordenTonen = timer(this, QStringLiteral("tmrAntwoordenTonen"), 20);
    tmrdelay = timer(this, QStringLiteral("tmrdelay"), 1000);
    tmraantalplayersbegin = timer(this, QStringLiteral("tmraantalplayersbegin"), 500);
    Timer1 = timer(this, QStringLiteral("Timer1"), 1);
    tmrclientstart = timer(this, QStringLiteral("tmrclientstart"), 200);
    tmrslider = timer(this, QStringLiteral("tmrslider"), 1);
    Timer4 = timer(this, QStringLiteral("Timer4"), 20000);

    connect(tmrKlok, &QTimer::timeout, this, &Form1::tmrKlok_Timer);
    connect(tmrmilliklok2, &QTimer::timeout, this, &Form1::tmrmilliklok2_Timer);
    watch_ = new AnswerWatch(tmrAntwoordenTonen); // before the handler: see AnswerWatch
    connect(tmrAntwoordenTonen, &QTimer::timeout, this, &Form1::tmrAntwoordenTonen_Timer);
    connect(tmrdelay, &QTimer::timeout, this, &Form1::tmrdelay_Timer);
    joystickpoll_ = new JoystickPoll(Timer1, 1, [this] { Timer1_Timer(); });
    connect(tmrclientstart, &QTimer::timeout, this, &Form1::tmrclientstart_Timer);
    connect(tmrslider, &QTimer::timeout, this, &Form1::tmrslider_Timer);
    connect(tmraantalplayersbegin, &QTimer::timeout, this, [] { tmraantalplayersbegin_Timer(); });
}

Form1::Form1(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kCaption);

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("spelveld"));
    central->setStyleSheet(QLatin1String(kTheme));
    setCentralWidget(central);
    auto* layout = new QGridLayout(central);
    layout->setSpacing(10);

    layout->addWidget(buildHeading(), 0, 0, 1, 2);
    auto* tiles = new QWidget(central);
    buildTiles(tiles);
    layout->addWidget(tiles, 1, 0, 1, 2);

    // The logo and the game frame share one place: the logo when no game runs.
    Image5 = named(new ClickLabel(QString(), central), QStringLiteral("Image5"));
    Image5->setPixmap(QPixmap::fromImage(vondrixLogo(QSize(440, 200))));
    Image5->setAlignment(Qt::AlignCenter);
    Image5->setCursor(Qt::PointingHandCursor);
    layout->addWidget(Image5, 2, 0);
    layout->addWidget(buildGameFrame(), 2, 0);
    Frame1->hide();

    auto* side = new QVBoxLayout;
    side->addWidget(buildChatFrame(), 1);
    side->addWidget(buildServerFrame());
    layout->addLayout(side, 2, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(QStringLiteral("Volume"), central));
    slider1 = named(new QSlider(Qt::Horizontal, central), QStringLiteral("slider1"));
    slider1->setRange(0, 100);
    slider1->setValue(100);
    slider1->setMaximumWidth(160);
    bottom->addWidget(slider1);
    bottom->addStretch();
    imgbanner = named(new ClickLabel(QString(), central), QStringLiteral("imgbanner"));
    imgbanner->setFixedSize(468, 60);
    imgbanner->setCursor(Qt::PointingHandCursor);
    bottom->addWidget(imgbanner);
    bottom->addStretch();
    Label2 = named(new ClickLabel(QStringLiteral("VONDrix ONLINE - ") + siteHost(), central),
                   QStringLiteral("Label2"));
    Label2->setCursor(Qt::PointingHandCursor);
    bottom->addWidget(Label2);
    layout->addLayout(bottom, 3, 0, 1, 2);
    layout->setColumnStretch(0, 3);
    layout->setColumnStretch(1, 2);
    layout->setRowStretch(2, 1);

    // The key box keeps the focus; it takes no room and shows nothing.
    Text1 = named(new QLineEdit(central), QStringLiteral("Text1"));
    Text1->setFixedSize(1, 1);
    Text1->setFrame(false);
    Text1->move(0, 0);
    Text1->setStyleSheet(QStringLiteral("background: transparent; color: transparent;"));

    QLineEdit** tags[6] = {&txtTrack1, &txtArtist1,   &txtAlbum1,
                           &txtYear1,  &txtComments1, &txtGenre1};
    const char* tagNames[6] = {"txtTrack1", "txtArtist1",   "txtAlbum1",
                               "txtYear1",  "txtComments1", "txtGenre1"};
    const int tagLengths[6] = {30, 30, 30, 4, 30, 30};
    for (int i = 0; i < 6; ++i) {
        *tags[i] = box(central, QLatin1String(tagNames[i]));
        (*tags[i])->setMaxLength(tagLengths[i]);
        (*tags[i])->hide();
    }

    WindowsMediaPlayer1 = named(new MediaPlayer(this), QStringLiteral("WindowsMediaPlayer1"));
    WindowsMediaPlayer2 = named(new MediaPlayer(this), QStringLiteral("WindowsMediaPlayer2"));

    buildMenus();
    buildTimers();
    buildBanner();
    buildWizardMenu();

    connect(Image5, &ClickLabel::clicked, this, &Form1::Image5_Click);
    connect(Label2, &ClickLabel::clicked, this, &Form1::Label2_Click);
    connect(imgbanner, &ClickLabel::clicked, this, &Form1::imgbanner_Click);
    connect(Command6, &QPushButton::clicked, this, &Form1::Command6_Click);
    connect(Command8, &QPushButton::clicked, this, &Form1::Command8_Click);
    connect(cmdchat, &QPushButton::clicked, this, &Form1::cmdchat_Click);
    connect(txtchat1, &QLineEdit::returnPressed, this, &Form1::txtchat1_Enter);
    connect(slider1, &QSlider::valueChanged, this, &Form1::slider1_VolumeChange);
    connect(slider1, &QSlider::sliderReleased, this, &Form1::slider1_Refocus);

    // Clicks on the boxes of the tiles, the titles, the heading and the clock
    // give the focus back to the key box.
    for (int i = 0; i < 5; ++i)
        for (QWidget* w : {naam[i], score[i], bonus[i]})
            w->installEventFilter(this);
    for (QWidget* w : {keuze1, keuze2, keuze3, keuze4, txthoofd, txtklok})
        w->installEventFilter(this);
    Text1->installEventFilter(this);
    txtchat1->installEventFilter(this);
    txtchat2->installEventFilter(this);

    resize(1024, 740);
}
