#include "common/gamestate.h"
#include "common/settings.h"
#include "game/Form1.h"
#include "game/Form6.h"
#include "game/Form7.h"
#include "lobby/centraldb.h"
#include "lobby/clicklabel.h"
#include "lobby/frmmulti.h"
#include "tests/db/privateserver.h"
#include "tests/support/admindb.h"
#include "tests/support/datarow.h"
#include "tests/support/dialogrecorder.h"
#include "tests/support/freeport.h"
#include "tests/support/tempfolder.h"
#include "tests/support/testmain.h"

#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>
#include <QUuid>
#include <QtTest>
#include <memory>

namespace {

const QString kFirstRun = QStringLiteral("Go to tab 'contols' to change buttons");
const QString kLoggedIn = QStringLiteral("OK, logged into the system");
const QString kLoginFailed = QStringLiteral("Error, user doesn't exist or password is incorrect");
const QString kFillIn = QStringLiteral("fill in all fields to register");
const QString kExists = QStringLiteral("This username allready exists, please select another one");
const QString kRegistered = QStringLiteral("You are registered, now you have access to the vondrix "
                                           "servers or you can create your own server");

// A user name no other suite (nor another test here) uses.
QString uniqueName(const QString& stem = QStringLiteral("tst_online_")) {
    return stem + QUuid::createUuid().toString(QUuid::Id128).left(12);
}

QString keysIni(const QString& device) {
    return QStringLiteral("[controls]\r\ndevice=") + device +
           QStringLiteral("\r\nbutton1=q\r\nbutton2=w\r\nbutton3=e\r\nbutton4=r\r\n");
}

// As a login leaves them, so their controls take input.
void enableAllTabs(frmmulti& w) {
    for (int i = 0; i < w.SSTab1->count(); ++i)
        w.SSTab1->setTabEnabled(i, true);
}

QList<int> enabledTabs(const frmmulti& w) {
    QList<int> tabs;
    for (int i = 0; i < w.SSTab1->count(); ++i)
        if (w.SSTab1->isTabEnabled(i)) tabs << i;
    return tabs;
}

// One fresh program run: its own program folder (with the given settings.ini),
// message boxes recorded, game state and windows as at start.
class Run {
public:
    explicit Run(const QString& ini = {}) {
        resetState();
        if (!ini.isNull()) {
            QFile file(folder.file(QStringLiteral("settings.ini")));
            if (file.open(QIODevice::WriteOnly)) file.write(ini.toLatin1());
        }
    }
    ~Run() {
        Form6::unload(); // its unload step writes into the online window
        frmmulti::unload();
        muisnormaal();
    }
    frmmulti& window() { return frmmulti::instance(); }
    QString ini(const QString& section, const QString& key) const {
        return readini(folder.file(QStringLiteral("settings.ini")), section, key);
    }

    TempProgramFolder folder;
    DialogRecorder dialogs;
};

// Creates a user straight in the table, as the forum would.
qint64 addUser(AdminDb& db, const QString& naam, const QString& paswoord,
               const QString& land = QStringLiteral("Belgium "),
               const QVariant& locatie = QVariant()) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        const qint64 id = db.value(QStringLiteral("select coalesce(max(user_id),0)+1 from "
                                                  "phpbb_users"))
                              .toLongLong();
        if (db.exec(QStringLiteral("insert into phpbb_users (user_id, username, user_password, "
                                   "user_email, user_from, locatie) values (?,?,md5(?),?,?,?)"),
                    {id, naam, paswoord, QStringLiteral("x@example.org"), land, locatie}))
            return id;
    }
    return -1;
}

QVariant locatieOf(AdminDb& db, const QString& naam) {
    return db.value(QStringLiteral("select locatie from phpbb_users where username = ?"), {naam});
}

int loginRows(AdminDb& db, const QString& naam) {
    return db.value(QStringLiteral("select count(*) from vdrx_logins where username = ?"), {naam})
        .toInt();
}

// The program's connection as before its first login: not connected.
void goOffline() {
    gMyConn().OpenConnection(QStringLiteral("127.0.0.1"), QStringLiteral("x"), QStringLiteral("x"),
                             QStringLiteral("x"), freePort(), 0);
}

void logIn(frmmulti& w, const QString& naam, const QString& paswoord) {
    w.txtusrlogin->setText(naam);
    w.txtusrpassword->setText(paswoord);
    w.Command5->click();
}

void registerUser(frmmulti& w, const QString& naam, const QString& paswoord, const QString& email,
                  int countryRow) {
    w.Label17_Click();
    w.txtnewusrlogin->setText(naam);
    w.txtnewusrpassword->setText(paswoord);
    w.txtnewusremail->setText(email);
    w.List1->clearSelection();
    if (countryRow >= 0) w.List1->setCurrentRow(countryRow);
    w.cmdcreateuser->click();
}

} // namespace

class tst_online : public QObject {
    Q_OBJECT

private slots:
    // --- start-up, without the database ---

    void firstRunAsksForButtonsAndChecksTheSystem() {
        Run run;
        frmmulti& w = run.window();
        QCOMPARE(run.dialogs.texts().size(), 2);
        QCOMPARE(run.dialogs.texts().at(0), kFirstRun);
        QVERIFY(run.dialogs.texts().at(1).startsWith(QStringLiteral("UNKNOWN OS: ")));
        QCOMPARE(w.windowTitle(), QStringLiteral("Vondrix Online v4"));
        QVERIFY(!(w.windowFlags() & Qt::WindowCloseButtonHint));
        QCOMPARE(w.List1->count(), 242);
        QCOMPARE(enabledTabs(w), (QList<int>{kTabProblems, kTabInfo, kTabLogin}));
        QCOMPARE(w.SSTab1->currentIndex(), int(kTabLogin));
        QVERIFY(w.optkeyboard->isChecked());
        QVERIFY(state().spelers[0].knop1.isEmpty());
        QCOMPARE(state().keyboard1, kTrue);
        QCOMPARE(state().joystick1, kFalse);
        QCOMPARE(state().speltype, QStringLiteral("music"));
        QCOMPARE(state().rondetype, QStringLiteral("music"));
        QVERIFY(!w.tmrlobbychat->isActive());
        QVERIFY(w.frmnewusr->isHidden());
    }

    void tabCaptionsInOrder() {
        Run run;
        frmmulti& w = run.window();
        const QStringList expected{"Host game", "Join game",  "Problems", "Info", "Controls",
                                   "Expand db", "High score", "Lobby",    "Login"};
        QCOMPARE(w.SSTab1->count(), expected.size());
        for (int i = 0; i < expected.size(); ++i)
            QCOMPARE(w.SSTab1->tabText(i), expected.at(i));
    }

    void startUpDevice_data() {
        QTest::addColumn<QString>("device");
        QTest::addColumn<bool>("joystick");
        QTest::newRow("joystick") << "joystick" << true;
        QTest::newRow("keyboard") << "keyboard" << false;
        QTest::newRow("capital J") << "Joystick" << false;
        QTest::newRow("none") << "" << false;
    }

    void startUpDevice() {
        QFETCH(QString, device);
        QFETCH(bool, joystick);
        Run run(keysIni(device));
        frmmulti& w = run.window();
        QVERIFY(run.dialogs.texts().isEmpty());
        QCOMPARE(w.optjoystick->isChecked(), joystick);
        QCOMPARE(w.optkeyboard->isChecked(), !joystick);
        QCOMPARE(state().keyboard1, joystick ? kFalse : kTrue);
        QCOMPARE(state().joystick1, joystick ? kTrue : kFalse);
        const Speler& ik = state().spelers[0];
        QCOMPARE(QStringList({ik.knop1, ik.knop2, ik.knop3, ik.knop4}),
                 QStringList({"q", "w", "e", "r"}));
        QCOMPARE(QStringList({w.txtbutton1->text(), w.txtbutton2->text(), w.txtbutton3->text(),
                              w.txtbutton4->text()}),
                 QStringList({"q", "w", "e", "r"}));
        if (!joystick) QCOMPARE(Form6::instance().aantalkeyboard, qint16(1));
    }

    void oneMissingButtonIsAFirstRun() {
        Run run(QStringLiteral("[controls]\r\ndevice=joystick\r\nbutton1=1\r\nbutton2=2\r\n"
                               "button4=4\r\n[user]\r\nusername=anna\r\n"));
        frmmulti& w = run.window();
        QVERIFY(!run.dialogs.texts().isEmpty());
        QCOMPARE(run.dialogs.texts().first(), kFirstRun);
        QVERIFY(w.optkeyboard->isChecked());
        QVERIFY(state().spelers[0].knop1.isEmpty());
        QVERIFY(w.txtbutton1->text().isEmpty());
        QCOMPARE(w.txtusrlogin->text(), QStringLiteral("anna"));
    }

    void decimalSeparatorFollowsTheLocale_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("separator");
        QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates) << ".";
        QTest::newRow("Dutch") << QLocale(QLocale::Dutch, QLocale::Netherlands) << ",";
    }

    void decimalSeparatorFollowsTheLocale() {
        QFETCH(QLocale, locale);
        QFETCH(QString, separator);
        const QLocale before;
        QLocale::setDefault(locale);
        {
            Run run(keysIni(QStringLiteral("keyboard")));
            frmmulti& w = run.window();
            QCOMPARE(w.txtdeci->text(), QStringLiteral("0") + separator + QStringLiteral("5"));
            QCOMPARE(state().decimaalscheider, separator);
        }
        QLocale::setDefault(before);
    }

    void selectingJoinUnconnectedLandsOnExpandDb() {
        // Runs before any test opens the central connection.
        if (gMyConn().State() != DbConnection::kNotConnected) QSKIP("connection already open");
        Run run(keysIni(QStringLiteral("keyboard")));
        frmmulti& w = run.window();
        enableAllTabs(w);
        w.SSTab1->setCurrentIndex(kTabJoin);
        QCOMPARE(w.SSTab1->currentIndex(), int(kTabExpand));
        QVERIFY(!w.SSTab1->isTabEnabled(kTabHost));
        QVERIFY(!w.SSTab1->isTabEnabled(kTabJoin));
        QVERIFY(!w.SSTab1->isTabEnabled(kTabControls));
        QVERIFY(w.SSTab1->isTabEnabled(kTabLobby));
        QVERIFY(!QApplication::overrideCursor());
    }

    void hiddenExitUnloadsTheGameWindows() {
        Run run(keysIni(QStringLiteral("keyboard")));
        frmmulti& w = run.window();
        Form1::instance();
        Form7::instance();
        w.Command8_Click();
        QVERIFY(!Form1::exists());
        QVERIFY(!Form7::exists());
    }

    void keyFilters() {
        Run run(keysIni(QStringLiteral("keyboard")));
        frmmulti& w = run.window();
        enableAllTabs(w);

        w.txtserverip->clear();
        QTest::keyClicks(w.txtserverip, QStringLiteral("1a9.Z:@{}~ ,-"));
        QCOMPARE(w.txtserverip->text(), QStringLiteral("19.~ ,-"));

        w.txtmetpaswoord->setText(QStringLiteral("yes"));
        QCOMPARE(w.adresingetypt, QStringLiteral("no"));
        QTest::keyClick(w.txthostnaam, Qt::Key_Shift); // types nothing
        QCOMPARE(w.adresingetypt, QStringLiteral("no"));
        QTest::keyClicks(w.txthostnaam, QStringLiteral("1"));
        QCOMPARE(w.adresingetypt, QStringLiteral("yes"));
        QCOMPARE(w.txtmetpaswoord->text(), QStringLiteral("no"));
        QCOMPARE(w.txthostnaam->text(), QStringLiteral("1"));

        for (QTextEdit* box : {w.txtlobbychat, w.txtlobbyonline, w.txtsystemmessages}) {
            const QString before = box->toPlainText();
            QTest::keyClicks(box, QStringLiteral("typed"));
            QCOMPARE(box->toPlainText(), before);
        }
        QTest::keyClicks(w.txtpad, QStringLiteral("typed"));
        QVERIFY(w.txtpad->text().isEmpty());
    }

    void loginTabLinks() {
        Run run(keysIni(QStringLiteral("keyboard")));
        frmmulti& w = run.window();
        QTest::mouseClick(w.Label17, Qt::LeftButton);
        QVERIFY(!w.frmnewusr->isHidden());
        w.Command7->click();
        QVERIFY(w.frmnewusr->isHidden());
        QTest::mouseClick(w.Label16, Qt::LeftButton);
        QCOMPARE(run.dialogs.texts(),
                 QStringList(QStringLiteral("mail to: support@vondrix.net topic: 'lost password' "
                                            "+ userID  to request a new password")));
    }

    void busyPointer() {
        muisbezig();
        muisbezig();
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        muisnormaal();
        QVERIFY(!QApplication::overrideCursor());
        muisnormaal();
        QVERIFY(!QApplication::overrideCursor());
    }

    // --- answer device ---

    void changeControlsWithKeyboard() {
        Run run(keysIni(QStringLiteral("joystick")));
        frmmulti& w = run.window();
        enableAllTabs(w);
        QTest::mouseClick(w.optkeyboard, Qt::LeftButton);
        QCOMPARE(state().keyboard1, kTrue);
        QCOMPARE(state().joystick1, kTrue); // only "Change controls" changes it
        QCOMPARE(run.ini(QStringLiteral("controls"), QStringLiteral("device")),
                 QStringLiteral("joystick"));
        w.cmdchangebuttons->click();
        QCOMPARE(state().keyboard1, kTrue);
        QCOMPARE(state().joystick1, kFalse);
        QCOMPARE(run.ini(QStringLiteral("controls"), QStringLiteral("device")),
                 QStringLiteral("keyboard"));
        Form6& form = Form6::instance();
        QVERIFY(!form.isHidden());
        QVERIFY(!form.isModal());
        QCOMPARE(form.aantalkeyboard, qint16(1));
        QVERIFY(!form.Timer1->isActive());
    }

    void changeControlsWithJoystick() {
        Run run(keysIni(QStringLiteral("keyboard")));
        frmmulti& w = run.window();
        enableAllTabs(w);
        QTest::mouseClick(w.optjoystick, Qt::LeftButton);
        QCOMPARE(state().keyboard1, kFalse);
        QCOMPARE(state().joystick1, kFalse);
        QCOMPARE(run.ini(QStringLiteral("controls"), QStringLiteral("device")),
                 QStringLiteral("keyboard"));
        w.cmdchangebuttons->click();
        QCOMPARE(state().keyboard1, kFalse);
        QCOMPARE(state().joystick1, kTrue);
        QCOMPARE(run.ini(QStringLiteral("controls"), QStringLiteral("device")),
                 QStringLiteral("joystick"));
        QVERIFY(!Form6::instance().isHidden());
        QVERIFY(Form6::instance().Timer1->isActive());
    }

    // --- registration ---

    void registrationRefusals_data() {
        QTest::addColumn<QString>("naam");
        QTest::addColumn<QString>("paswoord");
        QTest::addColumn<QString>("email");
        dataRow("all empty", "", "", "");
        dataRow("no name", "", "pw", "a@b.c");
        dataRow("no password", "name", "", "a@b.c");
        dataRow("no e-mail", "name", "pw", "");
    }

    void registrationRefusals() {
        VDX_REQUIRE_CENTRAL_DB();
        QFETCH(QString, naam);
        QFETCH(QString, paswoord);
        QFETCH(QString, email);
        AdminDb admin;
        const QString uniek = naam.isEmpty() ? naam : uniqueName();
        Run run(keysIni(QStringLiteral("keyboard")));
        frmmulti& w = run.window();
        registerUser(w, uniek, paswoord, email, 21);
        QCOMPARE(run.dialogs.texts(), QStringList(kFillIn));
        if (!uniek.isEmpty())
            QCOMPARE(admin
                         .value(QStringLiteral("select count(*) from phpbb_users where "
                                               "username = ?"),
                                {uniek})
                         .toInt(),
                     0);
    }

    void registrationStoresTheAccountOnce() {
        VDX_REQUIRE_CENTRAL_DB();
        AdminDb admin;
        const QString naam = uniqueName();
        Run run(keysIni(QStringLiteral("keyboard")));
        frmmulti& w = run.window();
        registerUser(w, naam, QStringLiteral("geheim"), QStringLiteral("me@example.org"), 21);
        QCOMPARE(run.dialogs.texts(), QStringList(kRegistered));
        QCOMPARE(run.dialogs.messages.first().title, QStringLiteral("Thank you for registering"));
        QCOMPARE(run.dialogs.messages.first().icon, MsgIcon::Information);
        const QList<QVariantList> rows =
            admin.rows(QStringLiteral("select user_email, user_from, user_password = md5(?) "
                                      "from phpbb_users where username = ?"),
                       {QStringLiteral("geheim"), naam});
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.first().at(0).toString(), QStringLiteral("me@example.org"));
        QCOMPARE(rows.first().at(1).toString(), QStringLiteral("Belgium "));
        QCOMPARE(rows.first().at(2).toInt(), 1);
        QVERIFY(!w.frmnewusr->isHidden()); // stays open, not logged in
        QVERIFY(state().gebruikersnaam.isEmpty());

        // The same name again, in other capitals: the server's comparison says taken.
        run.dialogs.clear();
        registerUser(w, naam.toUpper(), QStringLiteral("other"), QStringLiteral("x@y.z"), -1);
        QCOMPARE(run.dialogs.texts(), QStringList(kExists));
        QCOMPARE(admin
                     .value(QStringLiteral("select count(*) from phpbb_users where username = ?"),
                            {naam})
                     .toInt(),
                 1);
    }

    void registrationWithoutCountryAndBeyondSixteenBits() {
        VDX_REQUIRE_CENTRAL_DB();
        AdminDb admin;
        // Push the highest id past what 16 bits hold.
        const QString hoog = uniqueName();
        const qint64 top = qMax<qint64>(
            admin.value(QStringLiteral("select max(user_id) from phpbb_users")).toLongLong(),
            40000);
        QVERIFY2(admin.exec(QStringLiteral("insert into phpbb_users (user_id, username) values "
                                           "(?, ?)"),
                            {top + 1, hoog}),
                 qPrintable(admin.lastError()));
        const QString naam = uniqueName();
        Run run(keysIni(QStringLiteral("keyboard")));
        registerUser(run.window(), naam, QStringLiteral("pw"), QStringLiteral("a@b.c"), -1);
        QCOMPARE(run.dialogs.texts(), QStringList(kRegistered));
        const QList<QVariantList> rows = admin.rows(
            QStringLiteral("select user_id, user_from from phpbb_users where username = ?"),
            {naam});
        QCOMPARE(rows.size(), 1);
        QVERIFY(rows.first().at(0).toLongLong() > top + 1);
        QVERIFY(rows.first().at(0).toLongLong() > 32767);
        QCOMPARE(rows.first().at(1).toString(), QString());
    }

    // --- login ---

    void loginWithWrongPassword() {
        VDX_REQUIRE_CENTRAL_DB();
        AdminDb admin;
        const QString naam = uniqueName();
        QVERIFY(addUser(admin, naam, QStringLiteral("right")) > 0);
        Run run(keysIni(QStringLiteral("keyboard")));
        frmmulti& w = run.window();
        logIn(w, naam, QStringLiteral("wrong"));
        QCOMPARE(run.dialogs.texts(), QStringList(kLoginFailed));
        QCOMPARE(w.lblstatuslogin->text(),
                 QStringLiteral("This username and password was not found"));
        QCOMPARE(enabledTabs(w), (QList<int>{kTabProblems, kTabInfo, kTabLogin}));
        QVERIFY(state().gebruikersnaam.isEmpty());
        QCOMPARE(loginRows(admin, naam), 0);
    }

    void loginWithTwoMatchingRowsFails() {
        VDX_REQUIRE_CENTRAL_DB();
        AdminDb admin;
        const QString naam = uniqueName();
        QVERIFY(addUser(admin, naam, QStringLiteral("pw")) > 0);
        QVERIFY(addUser(admin, naam, QStringLiteral("pw")) > 0);
        Run run(keysIni(QStringLiteral("keyboard")));
        frmmulti& w = run.window();
        logIn(w, naam, QStringLiteral("pw"));
        QCOMPARE(run.dialogs.texts(), QStringList(kLoginFailed));
        QCOMPARE(w.SSTab1->currentIndex(), int(kTabLogin));
        QCOMPARE(loginRows(admin, naam), 0);
    }

    void loginOpensTheLobby() {
        VDX_REQUIRE_CENTRAL_DB();
        AdminDb admin;
        const QString naam = uniqueName();
        QVERIFY(addUser(admin, naam, QStringLiteral("pw"), QStringLiteral("Belgium ")) > 0);
        Run run(keysIni(QStringLiteral("keyboard")));
        frmmulti& w = run.window();
        // Typed in other capitals: the server finds the row, the typed form is kept.
        const QString getypt = naam.toUpper();
        w.txtusrlogin->setText(getypt);
        w.txtusrpassword->setText(QStringLiteral("pw"));
        QTest::keyClick(w.txtusrpassword, Qt::Key_Return); // Enter runs the login
        QCOMPARE(w.txtusrpassword->text(), QStringLiteral("pw"));

        QCOMPARE(run.dialogs.texts(), QStringList(kLoggedIn));
        GameState& st = state();
        QCOMPARE(st.gebruikersnaam, getypt);
        QCOMPARE(st.landnaam, QStringLiteral("Belgium "));
        QCOMPARE(st.eigenlandnummer, qint16(21));
        QVERIFY(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$"))
                    .match(st.servertijd)
                    .hasMatch());
        QCOMPARE(w.lblstatuslogin->text(),
                 getypt + QStringLiteral(" is connected with Vondrix server"));
        QCOMPARE(enabledTabs(w).size(), 9);
        QCOMPARE(w.SSTab1->currentIndex(), int(kTabLobby));
        QCOMPARE(st.inlobby, qint16(1));
        QVERIFY(w.tmrlobbychat->isActive());
        QCOMPARE(w.tmrlobbychat->interval(), 1200);
        QCOMPARE(w.txtsystemmessages->toPlainText(), QStringLiteral("<none>"));
        QCOMPARE(locatieOf(admin, naam).toString(), QStringLiteral("lobby"));
        QCOMPARE(run.ini(QStringLiteral("user"), QStringLiteral("username")), getypt);
        const QList<QVariantList> logins = admin.rows(
            QStringLiteral("select date, time from vdrx_logins where username = ?"), {getypt});
        QCOMPARE(logins.size(), 1);
        QVERIFY(!logins.first().at(0).toString().isEmpty());
        QVERIFY(logins.first().at(1).toString().contains(QLatin1Char(':')));
        QVERIFY(!QApplication::overrideCursor());
    }

    void lobbyPresenceFollowsTheTabs() {
        VDX_REQUIRE_CENTRAL_DB();
        AdminDb admin;
        const QString naam = uniqueName();
        QVERIFY(addUser(admin, naam, QStringLiteral("pw")) > 0);
        Run run(keysIni(QStringLiteral("keyboard")));
        frmmulti& w = run.window();
        logIn(w, naam, QStringLiteral("pw"));
        QCOMPARE(locatieOf(admin, naam).toString(), QStringLiteral("lobby"));

        for (int round = 0; round < 2; ++round) {
            w.SSTab1->setCurrentIndex(kTabControls);
            QCOMPARE(locatieOf(admin, naam).toString(), QStringLiteral("elders"));
            QCOMPARE(state().inlobby, qint16(0));
            QVERIFY(!w.tmrlobbychat->isActive());
            w.SSTab1->setCurrentIndex(kTabLobby);
            QCOMPARE(locatieOf(admin, naam).toString(), QStringLiteral("lobby"));
            QVERIFY(w.tmrlobbychat->isActive());
        }

        // From one other tab to another: nothing is written.
        w.SSTab1->setCurrentIndex(kTabProblems);
        QCOMPARE(w.txtrepusername->text(), naam);
        admin.exec(QStringLiteral("update phpbb_users set locatie = 'x' where username = ?"),
                   {naam});
        w.SSTab1->setCurrentIndex(kTabInfo);
        QCOMPARE(locatieOf(admin, naam).toString(), QStringLiteral("x"));

        // Exit from the lobby marks the user as gone.
        w.SSTab1->setCurrentIndex(kTabLobby);
        QCOMPARE(locatieOf(admin, naam).toString(), QStringLiteral("lobby"));
        w.show();
        w.Command10->click();
        QCOMPARE(locatieOf(admin, naam).toString(), QStringLiteral("elders"));
        QCOMPARE(state().inlobby, qint16(0));
        QVERIFY(!w.tmrlobbychat->isActive());
        QVERIFY(!w.isVisible());
    }

    void hostileTextIsStoredAsTyped() {
        VDX_REQUIRE_CENTRAL_DB();
        AdminDb admin;
        // Another user whose row must stay as it is.
        const QString ander = uniqueName();
        QVERIFY(addUser(admin, ander, QStringLiteral("secret"), QStringLiteral("Chad"),
                        QStringLiteral("lobby")) > 0);
        const QString anderRij = QStringLiteral("select username, user_password, user_email, "
                                                "user_from, locatie from phpbb_users where "
                                                "username = ?");
        const QList<QVariantList> anderVoor = admin.rows(anderRij, {ander});

        const QString naam = uniqueName() + QStringLiteral("'\\\"; -- ") + ander;
        const QString paswoord = QStringLiteral("p'w\\\"; --");
        Run run(keysIni(QStringLiteral("keyboard")));
        frmmulti& w = run.window();
        registerUser(w, naam, paswoord, QStringLiteral("a'b\\c@d.e"), 21);
        QCOMPARE(run.dialogs.texts(), QStringList(kRegistered));
        QCOMPARE(admin
                     .value(QStringLiteral("select count(*) from phpbb_users where username = ? "
                                           "and user_password = md5(?) and user_email = ?"),
                            {naam, paswoord, QStringLiteral("a'b\\c@d.e")})
                     .toInt(),
                 1);

        // Attempts that a pasted statement would let through.
        const QStringList refused[] = {
            {ander + QStringLiteral("' -- "), QStringLiteral("x")},
            {ander, QStringLiteral("') or ('1'='1")},
            {naam, QStringLiteral("x') or 1=1 -- ")},
        };
        for (const QStringList& poging : refused) {
            run.dialogs.clear();
            logIn(w, poging.at(0), poging.at(1));
            QCOMPARE(run.dialogs.texts(), QStringList(kLoginFailed));
        }

        run.dialogs.clear();
        logIn(w, naam, paswoord);
        QCOMPARE(run.dialogs.texts(), QStringList(kLoggedIn));
        QCOMPARE(state().gebruikersnaam, naam);
        QCOMPARE(locatieOf(admin, naam).toString(), QStringLiteral("lobby"));
        QCOMPARE(loginRows(admin, naam), 1);
        QCOMPARE(run.ini(QStringLiteral("user"), QStringLiteral("username")), naam);
        w.SSTab1->setCurrentIndex(kTabInfo);
        QCOMPARE(locatieOf(admin, naam).toString(), QStringLiteral("elders"));
        QCOMPARE(admin.rows(anderRij, {ander}), anderVoor);
    }

    // --- version gate: on a server of its own, since every login reads the row it changes ---

    void versionGate() {
        VDX_REQUIRE_CENTRAL_DB();
        PrivateServer server;
        QVERIFY2(server.start(), qPrintable(server.error()));
        const UsePrivateServer use(server);
        // The first login opens the connection to it; the next test's, to the shared one.
        goOffline();
        const auto offline = qScopeGuard([] { goOffline(); });
        AdminDb admin;
        const auto setStatus = [&](const QString& status) {
            return admin.exec(
                QStringLiteral("update vdrx_versions set status = ? where version = '4'"),
                {status});
        };
        const QString site = QStringLiteral("http://www.vondrix.net");

        {
            QVERIFY(setStatus(QStringLiteral("ok")));
            const QString naam = uniqueName();
            QVERIFY(addUser(admin, naam, QStringLiteral("pw")) > 0);
            Run run(keysIni(QStringLiteral("keyboard")));
            frmmulti& w = run.window();
            logIn(w, naam, QStringLiteral("pw"));
            QCOMPARE(run.dialogs.texts(),
                     QStringList(
                         {kLoggedIn, QStringLiteral("There is a new update for Vondrix available, "
                                                    "this version stays playable for the moment\n"
                                                    "But we recommend you to update (") +
                                         site + QStringLiteral(")")}));
            QVERIFY(!w.SSTab1->isHidden());
            QCOMPARE(w.SSTab1->currentIndex(), int(kTabLobby));
            QCOMPARE(loginRows(admin, naam), 1);
        }
        {
            QVERIFY(setStatus(QStringLiteral("nok")));
            const QString naam = uniqueName();
            QVERIFY(addUser(admin, naam, QStringLiteral("pw")) > 0);
            Run run(keysIni(QStringLiteral("keyboard")));
            frmmulti& w = run.window();
            logIn(w, naam, QStringLiteral("pw"));
            QCOMPARE(run.dialogs.texts(),
                     QStringList({kLoggedIn,
                                  QStringLiteral("There is an essential update for Vondrix, this "
                                                 "version is not longer playable\n"
                                                 "Please download a new version (") +
                                      site + QStringLiteral(")")}));
            QVERIFY(w.SSTab1->isHidden());
            QVERIFY(!w.lblupdate1->isHidden());
            QVERIFY(!w.lblupdate2->isHidden());
            QCOMPARE(w.lblupdate2->text(), QStringLiteral("sorry for the inconvenience"));
            QVERIFY(!w.Command10->isHidden());
            QCOMPARE(w.SSTab1->currentIndex(), int(kTabLogin));
            QCOMPARE(state().inlobby, qint16(0));
            QVERIFY(locatieOf(admin, naam).isNull());
            QCOMPARE(state().gebruikersnaam, naam);
            QCOMPARE(loginRows(admin, naam), 1);
            QCOMPARE(run.ini(QStringLiteral("user"), QStringLiteral("username")), naam);
        }
        {
            QVERIFY(admin.exec(QStringLiteral("delete from vdrx_versions where version = '4'")));
            const QString naam = uniqueName();
            QVERIFY(addUser(admin, naam, QStringLiteral("pw")) > 0);
            Run run(keysIni(QStringLiteral("keyboard")));
            frmmulti& w = run.window();
            logIn(w, naam, QStringLiteral("pw"));
            QCOMPARE(run.dialogs.texts(), QStringList(kLoggedIn));
            QVERIFY(!state().servertijd.isEmpty());
            QCOMPARE(w.SSTab1->currentIndex(), int(kTabLobby));
            QCOMPARE(loginRows(admin, naam), 1);
        }
    }
};

VDX_TEST_MAIN(tst_online)
#include "tst_online.moc"
