#pragma once

#include "game/clockbox.h"
#include "platform/gui/windowinstance.h"

#include <QMainWindow>
#include <QStringList>

class AnswerShape;
class ClickLabel;
class AnswerWatch;
class JoystickPoll;
class MediaPlayer;
class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QSlider;
class QTcpSocket;
class QTextEdit;
class QTimer;

// The game window, on the host and on the clients. isserver decides at load
// time in which mode it comes up. The host runs the rounds here (round loop,
// clocks, music and trivia questions, answers, menus); on a client the network
// game drives it through the public procedures below.
class Form1 : public QMainWindow {
    Q_OBJECT
    friend class WindowInstance<Form1>;

public:
    // The one window, created (and loaded) on first use; unload() deletes it, so
    // the next use loads it afresh.
    static Form1& instance();
    static bool exists();
    static void unload();

    static const QString kCaption; // "VONDrix ONLINE~The Biggest Music ..."
    static const QString kWebPage; // the product's web page

    // --- player tiles 0..4 ("naam(0)" ...) ---
    QLineEdit* naam[5] = {};
    QLineEdit* score[5] = {};
    QLineEdit* bonus[5] = {};
    QLabel* Imaget[5] = {};
    AnswerShape* border[5] = {};

    // --- heading and clock ---
    QLineEdit* txthoofd = nullptr; // "artist/song?"
    QLabel* lbltijdover = nullptr; // "Time left:"
    QLineEdit* txtklok = nullptr;  // "20"

    // --- game frame, music and trivia frames ---
    QGroupBox* Frame1 = nullptr;
    QGroupBox* frmmuziek = nullptr;
    QLineEdit* keuze1 = nullptr;
    QLineEdit* keuze2 = nullptr;
    QLineEdit* keuze3 = nullptr;
    QLineEdit* keuze4 = nullptr;
    QProgressBar* pgmuziekclient = nullptr;
    QGroupBox* frmtrivia = nullptr;
    QLineEdit* txttriviavraag = nullptr;
    QLineEdit* txttriviamask = nullptr;
    QLineEdit* txttriviaposter = nullptr;
    QLineEdit* txttriviafastesttime = nullptr;
    QLineEdit* txttriviafastest = nullptr;
    ClockBox* Text3 = nullptr; // trivia seconds left, two decimals

    // --- chat frame ---
    QGroupBox* frmchat = nullptr;
    QLineEdit* txtchat1 = nullptr;   // input
    QPushButton* cmdchat = nullptr;  // "Send"
    QTextEdit* txtchat2 = nullptr;   // read-only chat display
    QTextEdit* txtchat3 = nullptr;   // hidden
    QPushButton* Command6 = nullptr; // "Focus on game"

    // --- server frame (host only) ---
    QGroupBox* frmserver = nullptr;
    QLineEdit* txtaantalclients = nullptr;
    QPushButton* Command8 = nullptr; // "Start!"

    // --- key box, media, pictures, tag boxes ---
    QLineEdit* Text1 = nullptr;                 // holds the focus; the answer keys arrive here
    MediaPlayer* WindowsMediaPlayer1 = nullptr; // songs
    MediaPlayer* WindowsMediaPlayer2 = nullptr; // sound effects
    QSlider* slider1 = nullptr;                 // music volume 0..100
    ClickLabel* Image5 = nullptr;               // logo, opens the web page
    ClickLabel* Label2 = nullptr;               // credit line, opens the web page
    ClickLabel* imgbanner = nullptr;            // advertising banner
    QLineEdit* txtTrack1 = nullptr;             // hidden tag boxes
    QLineEdit* txtArtist1 = nullptr;
    QLineEdit* txtAlbum1 = nullptr;
    QLineEdit* txtYear1 = nullptr;
    QLineEdit* txtComments1 = nullptr;
    QLineEdit* txtGenre1 = nullptr;

    // --- menus ---
    QMenu* mnuFile = nullptr;
    QAction* mnuPause = nullptr; // hidden; checked = keys and buttons ignored
    QAction* mnuExit = nullptr;
    QMenu* mnuhostoptions = nullptr; // host only
    QMenu* mnukick = nullptr;
    QAction* mnukickplayer[4] = {};       // "Kick player 1" .. "Kick player 4"
    QAction* mnukickplayertell = nullptr; // hidden, no handler
    QAction* mnureset = nullptr;
    QMenu* mnusounds = nullptr;
    QAction* mnusoundfx = nullptr; // checked = answer sound on

    // --- timers (intervals in ms) ---
    QTimer* tmrKlok = nullptr;               // 1000, music clock
    QTimer* tmrmilliklok2 = nullptr;         // 10, trivia clock
    QTimer* tmrAntwoordenTonen = nullptr;    // 20, the host's watch
    QTimer* tmrdelay = nullptr;              // 1000 (3300 in trivia), after the answers
    QTimer* tmraantalplayersbegin = nullptr; // 500, enabled: dropped sockets outside a game
    QTimer* Timer1 = nullptr;                // 1, joystick poll (started by startJoystickPoll)
    QTimer* tmrclientstart = nullptr;        // 200, start sound on a client
    QTimer* tmrslider = nullptr;             // 1, focus back after a volume change
    QTimer* Timer4 = nullptr;                // 20000, enabled: banner rotation

    // The title box of place n (1..4); keuze4 for any other n.
    QLineEdit* keuze(int n) const;

    // --- round loop (host) ---
    void muziekspelopstarten();
    void triviaspelopstarten();
    void mixedspelopstarten() {}
    void muziekserverherbeginnen();
    void triviaserverherbeginnen();
    void nieuwemuziekvraag();
    void nieuwetriviavraag();
    void klokherstellen();
    void opstarten();
    void antwoordentonen();
    void puntentoekennen();
    void terugverbergen();
    // True once the end test has ended the game in this window.
    bool spelafgelopen() const { return spelafgelopen_; }
    // True while a round runs on the host and has not been closed.
    bool rondeopen() const { return rondeopen_; }
    // True from "Start!" on, the game's end included, until Exit leaves the window.
    bool spelloopt() const;

    // --- music questions and playback ---
    void liedvoorbereiden();
    void liedspelen();
    void clientliedspelen();
    void liedstoppen();
    qint16 huidiglied = 0;

    // --- trivia question ---
    // Draws one active question from the trivia table; false when none was found
    // within a bounded number of draws.
    bool triviavoorbereiden();
    void triviaspelen();

    // --- answers ---
    // The key procedure; toets is the typed character.
    void Form_KeyPress(const QString& toets);
    void Text1_KeyPress(const QString& toets);
    void clientantwoorden(const QString& antwoord, qint16& spelernr);
    void serverantwoorden(const QString& antwoord, qint16 spelernr);
    // Timer1 on. The poll runs on the joystick's events; the timer itself ticks
    // once a second while it waits (JoystickPoll).
    void startJoystickPoll();
    // The host's watch (tmrAntwoordenTonen) looks within 20 ms; call it after a
    // change it acts on. It rests in between (AnswerWatch).
    void pokeWatch();
    void knoppenafleggen() {}
    void knoppenaanleggen() {}

    // --- client round display ---
    void alleantwoorden(const QString& antwoord, const QString& antwoordtijd,
                        const QString& huidigescore, const QString& totaalscore,
                        const QString& naam, qint16 spelernr, const QString& juisteantwoord,
                        qint16 landnummer);
    void clientherbeginnen();

    // --- playlist and song tag ---
    bool LoadM3U(const QString& strFilename, QStringList& strFilePaths, QStringList& strNames);
    // Reads the tag of liedpad into txtTrack1 .. txtComments1.
    void id3v1();

    // --- chat boxes ---
    // Adds a line in colour (Windows colour value) at the end of txtchat2 after a
    // line break; the caret and selection of txtchat1 stay as they were. The text
    // is shown as typed (never read as markup).
    void chatregel(const QString& tekst, qint32 kleur = 0);
    // Appends a line break and tekst to txtchat2 and shows its end ("[system] ..." lines).
    void systeemregel(const QString& tekst);
    // The client's disconnected notice: logo shown, game frame hidden, "Send"
    // disabled, "[system] disconnected from server" in the chat.
    void verbrokenmelding();

public slots:
    // Window and focus.
    void Image5_Click();
    void Label2_Click();
    void imgbanner_Click();
    void Command6_Click();
    void txtchat1_Click();
    // Enter in txtchat1.
    void txtchat1_Enter();
    void cmdchat_Click();
    void Command8_Click(); // "Start!"

    // Timer ticks.
    void tmrKlok_Timer();
    void tmrmilliklok2_Timer();
    void tmrAntwoordenTonen_Timer();
    void tmrdelay_Timer();
    void Timer1_Timer();
    void tmrclientstart_Timer();
    void tmrslider_Timer();

    // Volume slider.
    void slider1_VolumeChange();
    void slider1_Refocus();

    // Menus.
    void mnuExit_Click();
    void mnukickplayer_Click(int index);
    void mnureset_Click();
    void mnusoundfx_Click();
    void mnuPause_Click();

    // --- advertising banner (Form1_banner.cpp) ---
public:
    QTcpSocket* wsbanner = nullptr;
    // Longest wait of bannerverbinden, in ms.
    static constexpr int kBannerWait = 1500;
    // Connects wsbanner to the banner web server and waits, letting events run,
    // until it is connected, refused, or kBannerWait ms have passed. False: the
    // game goes on without a banner.
    bool bannerverbinden();
public slots:
    void Timer4_Timer();
    void wsbanner_Connect();
    void wsbanner_DataArrival();
    void wsbanner_Close();

    // --- set-up wizard (Form1_wizard.cpp) ---
public:
    QAction* mnuWizard = nullptr; // hidden
public slots:
    void mnuWizard_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    explicit Form1(QWidget* parent = nullptr);
    void buildTiles(QWidget* area);
    QWidget* buildHeading();
    QWidget* buildGameFrame();
    QWidget* buildChatFrame();
    QWidget* buildServerFrame();
    void buildMenus();
    void buildTimers();
    void buildBanner();
    void buildWizardMenu();
    void Form_Load();
    void Form_Activate();

    void keyProcedure(const QString& toets);
    void answerSound();
    // Tile i's answer shape shows the colour of the answer just given.
    void showAnswerColour(int i, int antwoord);
    void setKlokRood(bool rood);
    void setKeuzeAchtergrond(QLineEdit* box, qint32 kleur, bool normaal);
    // Ends the round: clock off, delay started; scored when the host answered.
    void rondesluiten(bool doorWacht);
    void spelbeeindigen();
    bool eindtest();
    bool muziekrondevoorbereiden();
    // A music round opens for the host's answers: its flags, its answer and the
    // count cleared, the joystick poll on when it plays by joystick.
    void antwoordenvrijgeven();
    bool triviarondevoorbereiden();

    // Round guards.
    bool rondeopen_ = false;     // a round is running and may be closed once
    bool rondegescoord_ = false; // the round just closed has been scored
    bool voorbereiden_ = false;  // a next-round procedure is running
    bool spelafgelopen_ = false; // the end test ended the game
    bool verlaten_ = false;      // Exit is leaving the window
    int triviapogingen_ = 0;     // failed trivia round starts in a row
    bool chatwacht_ = false;     // an Enter in txtchat1 waits for "Send"
    JoystickPoll* joystickpoll_ = nullptr;
    AnswerWatch* watch_ = nullptr;
};
