#pragma once

#include "platform/gui/windowinstance.h"

#include "lobby/flagimagelist.h"
#include "lobby/lobbypoll.h"
#include "lobby/resultgrid.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableWidget;
class QTextEdit;
class QTimer;
class ClickLabel;
class ListenSocket;
class QTcpSocket;
class ReceiveBuffer;

// Pages of SSTab1, in tab order.
enum FrmmultiTab : int {
    kTabHost = 0,
    kTabJoin = 1,
    kTabProblems = 2,
    kTabInfo = 3,
    kTabControls = 4,
    kTabExpand = 5,
    kTabHighscore = 6,
    kTabLobby = 7,
    kTabLogin = 8,
};

// The hourglass pointer for the whole program, and back to the normal one.
void muisbezig();
void muisnormaal();

// The online window: the program's start window.
class frmmulti : public QWidget {
    Q_OBJECT
    friend class WindowInstance<frmmulti>;

public:
    // The one window, created (and loaded) on first use.
    static frmmulti& instance();
    static bool exists();
    static void unload();

    // Appends the country names to List1 in list order.
    void vullanden();
    // Selects the rows of List1 one by one until a name matches land (case and
    // blanks at either end ignored); sets and returns eigenlandnummer, 242 when none did.
    qint16 zoeklandop(const QString& land);

    // "yes" when the join address was typed by hand, "no" when taken from the list.
    QString adresingetypt = QStringLiteral("no");

    // --- outside the tabs ---
    QTabWidget* SSTab1 = nullptr;
    QPushButton* Command10 = nullptr; // "Exit"
    QPushButton* Command8 = nullptr;  // second "Exit", hidden
    QLabel* lblstatus = nullptr;      // hidden
    QLabel* lblupdate1 = nullptr;     // shown when the version is refused
    QLabel* lblupdate2 = nullptr;
    QLineEdit* txtdeci = nullptr; // hidden: decimal separator probe
    QTimer* tmrlobbychat = nullptr;
    FlagImageList imglandenlijst;

    // --- tab 0 "Host game" ---
    QGroupBox* frmhostgeneral = nullptr;
    QRadioButton* optmusic = nullptr;
    QRadioButton* opttrivia = nullptr;
    QRadioButton* optmixed = nullptr;
    QLineEdit* txtserverinfo = nullptr;
    QGroupBox* frmhostmusic = nullptr;
    QLineEdit* txtpad = nullptr;
    QPushButton* Command9 = nullptr;
    QGroupBox* frmhostdetail = nullptr;
    QRadioButton* optinternet = nullptr;
    QRadioButton* optlan = nullptr;
    QLineEdit* txtserverip = nullptr;
    QLineEdit* txtserverport = nullptr;
    QLineEdit* txtserverpassword = nullptr;
    QComboBox* cmdservermaxplayers = nullptr;
    QComboBox* cmbtijd = nullptr;
    QComboBox* cmbaantalvragen = nullptr;
    QPushButton* cmdHost = nullptr;
    QPushButton* cmdStophost = nullptr;
    QLabel* lblstatushost = nullptr;

    // --- tab 1 "Join game" ---
    QCheckBox* chkPublic = nullptr;
    QCheckBox* chkprivate = nullptr;
    QCheckBox* chkpingtime = nullptr;
    QTableWidget* fgData = nullptr;
    QPushButton* cmdVernieuwen = nullptr;
    QLineEdit* txthostnaam = nullptr;
    QLineEdit* txthostport = nullptr;
    QLineEdit* txtmetpaswoord = nullptr; // hidden
    QPushButton* Command1 = nullptr;     // "Connect"
    QLabel* lblstatusjoin = nullptr;

    // --- tab 2 "Problems" ---
    QLineEdit* txtrepusername = nullptr;
    QLineEdit* txtrepemail = nullptr;
    QPlainTextEdit* txtrepdescription = nullptr;
    QPushButton* Command3 = nullptr;
    ClickLabel* Label8 = nullptr;

    // --- tab 3 "Info" ---
    QLabel* imglogo = nullptr;
    QLabel* lblversion = nullptr;
    QPlainTextEdit* txtlicentie = nullptr;

    // --- tab 4 "Controls" ---
    QRadioButton* optkeyboard = nullptr;
    QRadioButton* optjoystick = nullptr;
    QLineEdit* txtbutton1 = nullptr;
    QLineEdit* txtbutton2 = nullptr;
    QLineEdit* txtbutton3 = nullptr;
    QLineEdit* txtbutton4 = nullptr;
    QPushButton* cmdchangebuttons = nullptr;
    QLabel* lbljoystick = nullptr; // hidden: the joystick number to assign

    // --- tab 5 "Expand db" ---
    QLineEdit* txtpostquestion = nullptr;
    QComboBox* Combo1 = nullptr;
    QLineEdit* txtpostanswers[12] = {};
    QPushButton* cmdPostQuestion = nullptr;

    // --- tab 6 "High score" ---
    QPushButton* cmdrefreshlist2 = nullptr;
    QLabel* lblscoreaantalindatabase = nullptr;
    QLabel* lblscoreaantalzonderrecord = nullptr;
    QLabel* lblscoreaantalmetrecord = nullptr;
    QTableWidget* fgdata2 = nullptr;
    QTableWidget* fgdata3 = nullptr;
    QLineEdit* txtsqlscores = nullptr; // hidden
    QRadioButton* opttriviarecords = nullptr;
    QRadioButton* optmusicrecords = nullptr;

    // --- tab 7 "Lobby" ---
    QTextEdit* txtsystemmessages = nullptr;
    QPushButton* Command12 = nullptr;
    QTextEdit* txtlobbychat = nullptr;
    QTextEdit* txtlobbyonline = nullptr;
    QLineEdit* txtlobbysturen = nullptr;
    QPushButton* cmdlobbysend = nullptr;

    // --- tab 8 "Login" ---
    QGroupBox* frmusrlogin = nullptr;
    QLineEdit* txtusrlogin = nullptr;
    QLineEdit* txtusrpassword = nullptr;
    QPushButton* Command5 = nullptr; // "Login"
    QLabel* lblstatuslogin = nullptr;
    ClickLabel* Label17 = nullptr; // new user
    ClickLabel* Label16 = nullptr; // forgotten password
    QGroupBox* frmnewusr = nullptr;
    QLineEdit* txtnewusrlogin = nullptr;
    QLineEdit* txtnewusrpassword = nullptr;
    QLineEdit* txtnewusremail = nullptr;
    QListWidget* List1 = nullptr;
    QPushButton* cmdcreateuser = nullptr;
    QPushButton* Command7 = nullptr; // "Hide window"

    // --- sockets of the network game (netgame/) ---
    ListenSocket* server0 = nullptr;        // "server(0)": the host's listener
    QTcpSocket* server[5] = {};             // 1..4: "server(1)" .. "server(4)"; 0 unused
    QTcpSocket* client = nullptr;           // "client": a client's connection to the host
    ReceiveBuffer* serverontvangst[5] = {}; // 1..4: receive splitter of server(i)
    ReceiveBuffer* clientontvangst = nullptr;

    // --- server lists and high scores ---
    QLineEdit* txtSQL = nullptr;    // hidden: the query text of the server list
    QLineEdit* txtOffset = nullptr; // hidden paging boxes nothing reads
    QLineEdit* txtChunk = nullptr;
    QString serverlijstsql; // the list query shown, empty until one was chosen
    QString scoresql;       // the ranking statement shown
    QString gridtabel;
    FillQueue gridvullingen; // one grid fill at a time
    bool querybezig() const { return gridvullingen.busy(); }
    void toonlijstmuziek();
    void toonlijsttrivia();
    void serverlijstvernieuwen();
    void serverlijstvullen();
    void toonlijsttriviascores();
    void toonlijsttriviaposters();
    void breedteshighscoreinstellen();
    void scorelijstquerystarten();
    void posterlijstquerystarten();
    void scorelijstvullen();
    void posterlijstvullen();
    void chkPublic_Click();
    void chkprivate_Click();
    void chkpingtime_Click();
    void cmdVernieuwen_Click();
    void cmdrefreshlist2_Click();
    // --- end of server lists and high scores ---

    // Hosting, joining and the dispatchers (netgame/).
    void clientconnect(const QString& ip);
    void clientgetskicked();
    void serverstopped();
    void clientreceivescorrectanswer(const QString& antwoord) { Q_UNUSED(antwoord); }
    void geefincomingdoor(const QByteArray& incoming);
    void geefincomingdoorbijserver(qint16 Index, const QByteArray& incoming);
    void spelerresetten(qint16 Index);
    void publiceernieuwespeler() {}
    void serverlisten() {}
    // Closes server(i) and forgets what its splitter held.
    void serversluiten(int i);
    // The hosted game has ended: it is withdrawn from the list and takes no one,
    // as after "Stop server", and "Start server" is offered for the next game.
    // Its window, its clients and the results stay as they are.
    void hostspelafgelopen();

public slots:
    // Host tab.
    void cmdHost_Click();
    void cmdStophost_Click();
    void optmusic_Click();
    void opttrivia_Click();
    void optmixed_Click();
    void Command9_Click();
    // Join tab.
    void fgData_Click();
    void Command1_Click();
    // Socket events.
    void server_ConnectionRequest(qint16 Index, qintptr requestID);
    void server_Error(qint16 Index);
    void server_SendComplete(qint16 Index);
    void client_Error();

    void SSTab1_Click();
    void Command10_Click();
    void Command8_Click();
    void Label16_Click();
    void Label17_Click();
    void Command7_Click();
    // Registration and login.
    void cmdcreateuser_Click();
    void Command5_Click();
    // Answer device.
    void cmdchangebuttons_Click();
    void optkeyboard_Click();
    void optjoystick_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit frmmulti(QWidget* parent = nullptr);
    void Form_Load();

    QWidget* buildHostTab();
    QWidget* buildJoinTab();
    QWidget* buildProblemsTab();
    QWidget* buildInfoTab();
    QWidget* buildControlsTab();
    QWidget* buildExpandTab();
    QWidget* buildHighscoreTab();
    QWidget* buildLobbyTab();
    QWidget* buildLoginTab();
    void installKeyFilters();
    // Hidden query boxes and the commands of the lists and rankings.
    void buildServerLists();
    // Creates the sockets and wires the host and join commands (netgame/).
    void buildNetgame();
    void server_DataArrival(int Index);
    void client_DataArrival();
    void clientsongdata(const QByteArray& bytes);

    void openConnectionIfClosed();
    void versionGate();
    void writeLocatie(const QString& locatie);
    void endProgram();
    // The host tab's settings and "Start server" take input again.
    void hostinstellingenvrijgeven();

    // --- lobby chat, question posting and problem reports ---
public:
    // The three lobby polls: each runs one query and refreshes one box.
    void controleeropberichten();
    void controleeroponlinegebruikers();
    void controleeropsysteemberichten();
    // The support address of the mail messages and the mail link.
    static QString supportMail();
public slots:
    void cmdlobbysend_Click();
    void tmrlobbychat_Timer();
    void Command12_Click();
    void aantalantwoordentonen();
    void Combo1_Change();
    void Combo1_Click();
    void cmdPostQuestion_Click();
    void Command3_Click();
    void Label8_Click();

private:
    void wireLobbyCommands();
    ChatReader chatReader_;
    // The texts the polls last put into txtlobbychat, txtlobbyonline, txtsystemmessages.
    QString shownChat_, shownUsers_, shownSystem_;
    bool lobbyPollRunning_ = false;
    // --- end of lobby chat, question posting and problem reports ---
};
