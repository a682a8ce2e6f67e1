// The "Login" tab: registration, login and the version gate.
#include "common/gamestate.h"
#include "common/settings.h"
#include "common/siteaddress.h"
#include "lobby/centraldb.h"
#include "lobby/clicklabel.h"
#include "lobby/frmmulti.h"
#include "lobby/frmmulti_build.h"
#include "platform/dialogs.h"
#include "platform/programfolder.h"

#include <QDateTime>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QListWidget>
#include <QLocale>
#include <QRegularExpression>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace frmmultibuild;

namespace {

const QString kClientVersion = QStringLiteral("4");
const QString kWebsite = siteLink();

// The PC's date and time as text in its regional format, like the clock in the
// task bar shows them (the time with seconds, without a zone).
QString pcDate() {
    return QLocale().toString(QDate::currentDate(), QLocale::ShortFormat);
}
QString pcTime() {
    QString format = QLocale().timeFormat(QLocale::LongFormat);
    format.remove(QRegularExpression(QStringLiteral("\\s*t+\\s*")));
    return QLocale().toString(QTime::currentTime(), format.trimmed());
}

} // namespace

QWidget* frmmulti::buildLoginTab() {
    auto* page = new QWidget;

    frmusrlogin = frame(QStringLiteral("Log in with your account before you can join/host a game"),
                        page, QStringLiteral("frmusrlogin"));
    txtusrlogin = textBox(frmusrlogin, QStringLiteral("txtusrlogin"));
    txtusrpassword = textBox(frmusrlogin, QStringLiteral("txtusrpassword"));
    txtusrpassword->setEchoMode(QLineEdit::Password);
    Command5 = button(QStringLiteral("Login"), frmusrlogin, QStringLiteral("Command5"));
    lblstatuslogin = caption(QStringLiteral("No user logged into the system"), frmusrlogin,
                             QStringLiteral("lblstatuslogin"));
    lblstatuslogin->setWordWrap(true);
    Label17 = named(new ClickLabel(QStringLiteral("-- I am a new user, create username and "
                                                  "password --"),
                                   frmusrlogin),
                    QStringLiteral("Label17"));
    Label16 = named(new ClickLabel(QStringLiteral("-- I forgot my password --"), frmusrlogin),
                    QStringLiteral("Label16"));
    auto* loginForm = new QFormLayout;
    loginForm->addRow(QStringLiteral("Username:"), txtusrlogin);
    loginForm->addRow(QStringLiteral("Password:"), txtusrpassword);
    auto* loginButton = new QHBoxLayout;
    loginButton->addStretch();
    loginButton->addWidget(Command5);
    auto* loginLayout = new QVBoxLayout(frmusrlogin);
    loginLayout->addLayout(loginForm);
    loginLayout->addLayout(loginButton);
    loginLayout->addWidget(lblstatuslogin);
    loginLayout->addStretch();
    loginLayout->addWidget(Label17);
    loginLayout->addWidget(Label16);

    // The new-user frame keeps its place beside the login while it is hidden.
    auto* newUserPlace = new QWidget(page);
    frmnewusr = frame(QStringLiteral("New user"), newUserPlace, QStringLiteral("frmnewusr"));
    txtnewusrlogin = textBox(frmnewusr, QStringLiteral("txtnewusrlogin"));
    txtnewusrpassword = textBox(frmnewusr, QStringLiteral("txtnewusrpassword"));
    txtnewusrpassword->setEchoMode(QLineEdit::Password);
    txtnewusremail = textBox(frmnewusr, QStringLiteral("txtnewusremail"));
    List1 = named(new QListWidget(frmnewusr), QStringLiteral("List1"));
    cmdcreateuser =
        button(QStringLiteral("Create user"), frmnewusr, QStringLiteral("cmdcreateuser"));
    Command7 = button(QStringLiteral("Hide window"), frmnewusr, QStringLiteral("Command7"));
    auto* newForm = new QFormLayout;
    newForm->addRow(QStringLiteral("Username:*"), txtnewusrlogin);
    newForm->addRow(QStringLiteral("Password:*"), txtnewusrpassword);
    newForm->addRow(QStringLiteral("Email:*"), txtnewusremail);
    newForm->addRow(QStringLiteral("Country:*"), List1);
    auto* newButtons = new QHBoxLayout;
    newButtons->addWidget(Command7);
    newButtons->addStretch();
    newButtons->addWidget(cmdcreateuser);
    auto* newLayout = new QVBoxLayout(frmnewusr);
    newLayout->addLayout(newForm, 1);
    newLayout->addLayout(newButtons);
    frmnewusr->hide();
    auto* placeLayout = new QVBoxLayout(newUserPlace);
    placeLayout->setContentsMargins(0, 0, 0, 0);
    placeLayout->addWidget(frmnewusr);

    auto* layout = new QHBoxLayout(page);
    layout->addWidget(frmusrlogin, 1);
    layout->addWidget(newUserPlace, 1);

    connect(Command5, &QPushButton::clicked, this, &frmmulti::Command5_Click);
    connect(cmdcreateuser, &QPushButton::clicked, this, &frmmulti::cmdcreateuser_Click);
    connect(Command7, &QPushButton::clicked, this, &frmmulti::Command7_Click);
    connect(Label16, &ClickLabel::clicked, this, &frmmulti::Label16_Click);
    connect(Label17, &ClickLabel::clicked, this, &frmmulti::Label17_Click);
    return page;
}

void frmmulti::openConnectionIfClosed() {
    if (gMyConn().State() != DbConnection::kNotConnected) return;
    muisbezig();
    openCentral();
    muisnormaal();
}

void frmmulti::cmdcreateuser_Click() {
    const QString email = txtnewusremail->text();
    const QString naam = txtnewusrlogin->text();
    const QString paswoord = txtnewusrpassword->text();
    if (email.isEmpty() || naam.isEmpty() || paswoord.isEmpty()) {
        MsgBox(QStringLiteral("fill in all fields to register"));
        return;
    }
    openConnectionIfClosed();

    myrslogin() =
        gMyConn().Execute(QStringLiteral("select * from phpbb_users where username = ?"), {naam});
    CheckError();
    if (myrslogin().RecordCount() != 0) {
        MsgBox(QStringLiteral("This username allready exists, please select another one"));
        return;
    }

    closerecordset();
    myrslogin() = gMyConn().Execute(QStringLiteral("select max(user_id) from phpbb_users;"));
    myrslogin().MoveFirst();
    // An empty table has no highest id (NULL): the first user gets id 1.
    const qint64 nieuwid = myrslogin().Fields(0).Value.toLongLong() + 1;

    const QList<QListWidgetItem*> gekozen = List1->selectedItems();
    // No country chosen: an empty text (not NULL) is stored.
    const QString land = gekozen.isEmpty() ? QStringLiteral("") : gekozen.first()->text();
    gMyConn().Execute(QStringLiteral("INSERT INTO phpbb_users (user_id,username,user_password, "
                                     "user_email, user_from) VALUES(?,?,md5(?),?,?)"),
                      {nieuwid, naam, paswoord, email, land});
    CheckError();
    if (gMyConn().Error().Number == 0)
        MsgBox(QStringLiteral("You are registered, now you have access to the vondrix servers or "
                              "you can create your own server"),
               MsgIcon::Information, QStringLiteral("Thank you for registering"));
}

void frmmulti::Command5_Click() {
    GameState& st = state();
    closerecordset();
    openConnectionIfClosed();

    myrslogin() = gMyConn().Execute(QStringLiteral("select * from phpbb_users where username = ? "
                                                   "and user_password = md5(?)"),
                                    {txtusrlogin->text(), txtusrpassword->text()});
    CheckError();
    if (myrslogin().RecordCount() != 1) {
        MsgBox(QStringLiteral("Error, user doesn't exist or password is incorrect"));
        lblstatuslogin->setText(QStringLiteral("This username and password was not found"));
        return;
    }

    myrslogin().MoveFirst();
    st.gebruikersnaam = txtusrlogin->text();
    st.landnaam = myrslogin().Fields(QStringLiteral("user_from")).Value.toString();
    st.eigenlandnummer = zoeklandop(st.landnaam);
    lblstatuslogin->setText(st.gebruikersnaam +
                            QStringLiteral(" is connected with Vondrix server"));
    for (int tab : {kTabHost, kTabJoin, kTabControls, kTabExpand, kTabHighscore, kTabLobby})
        SSTab1->setTabEnabled(tab, true);
    MsgBox(QStringLiteral("OK, logged into the system"));

    versionGate();

    gMyConn().Execute(
        QStringLiteral("INSERT INTO vdrx_logins (username,date, time) VALUES(?,?,?);"),
        {st.gebruikersnaam, pcDate(), pcTime()});
    writeini(programFile(QStringLiteral("settings.ini")), QStringLiteral("user"),
             QStringLiteral("username"), st.gebruikersnaam);
    CheckError();

    if (!SSTab1->isHidden()) {
        SSTab1->setTabEnabled(kTabLobby, true);
        SSTab1->setCurrentIndex(kTabLobby);
    }
}

// Tells about an update of the program, and shuts the tabs when this version
// may no longer be played. Sets servertijd from the database server's clock.
void frmmulti::versionGate() {
    GameState& st = state();
    // The server's time as the server writes it: a DATETIME would be read as this
    // PC's local time, which has no such moment when it falls in a clock change.
    myrslogin() = gMyConn().Execute(
        QStringLiteral("SELECT * , CAST(now() AS CHAR) FROM vdrx_versions Where version = '") +
        kClientVersion + QStringLiteral("'"));
    QString status;
    if (myrslogin().RecordCount() > 0) {
        myrslogin().MoveFirst();
        st.servertijd = myrslogin().Fields(3).Text();
        status = myrslogin().Fields(QStringLiteral("status")).Value.toString();
    } else {
        // No row for this version: no notice; the server's clock still counts.
        st.servertijd = serverNow(gMyConn());
    }

    if (status == QStringLiteral("ok")) {
        MsgBox(QStringLiteral("There is a new update for Vondrix available, this version stays "
                              "playable for the moment\n") +
               QStringLiteral("But we recommend you to update (") + kWebsite + QStringLiteral(")"));
    } else if (status == QStringLiteral("nok")) {
        MsgBox(QStringLiteral("There is an essential update for Vondrix, this version is not "
                              "longer playable\n") +
               QStringLiteral("Please download a new version (") + kWebsite + QStringLiteral(")"));
        SSTab1->hide();
        lblupdate1->show();
        lblupdate2->show();
    }
}
