#pragma once

#include <QString>
#include <QStringList>

// The game state that every window and module shares: the player table, the
// current question and the scalars that say who this PC is and where the round
// stands. One instance lives for the whole program run (see state()).
//
// Types: integer fields are qint16, long fields qint32. A flag documented as
// True/False holds kTrue (-1) or kFalse (0); a flag documented as 1/0 holds 1 or 0.

constexpr qint16 kTrue = -1;
constexpr qint16 kFalse = 0;

// One player. Arrays keep their documented bounds: tijden(1 To 15) is tijden[1]..tijden[15].
struct Speler {
    QString naam;            // "" = record not in use
    QString geslacht;        // "male" or "female" (set-up wizard only)
    qint16 huidigescore = 0; // points of the current (trivia) question
    qint16 totaalscore = 0;
    qint16 antwoord = 0;     // 1..4, 0 = none yet
    qint16 antwoordtijd = 0; // whole seconds left when the answer came
    qint16 socketnr = 0;     // host: client socket 1..4
    qint16 landnummer = 0;   // country index, 242 = unknown
    QString knop1, knop2, knop3, knop4; // key character or joystick button "0".."15"
    double tijden[16] = {};  // 1..15: seconds taken to find accepted answer k
    QString gevonden[16];    // 1..15: "1" found, "0" not

    const QString& knop(int n) const;
    QString& knop(int n);
};

struct GameState {
    // Players: 0 = this PC; on a host 1..4 = client sockets 1..4; 5 = wizard only.
    Speler spelers[6];

    // Arrays
    QString keuzes[5];           // 1..4: titles of the current music question
    QStringList liedpaden;       // song paths of the playlist, from 0
    QStringList liedtitels;      // song titles, same positions
    QString triviaantwoorden[16]; // 1..15: accepted answers, lower case
    qint16 knoppen1[16] = {};    // joystick 1 buttons pressed (True/False)
    qint16 knoppen2[16] = {};    // joystick 2 buttons pressed (True/False)
    QString bannernamen[21];     // rows 1..aantalbanners
    QString bannerlinks[21];

    // Identity and login
    qint16 isserver = 0; // 1 = this PC hosts
    QString gebruikersnaam;
    QString landnaam;
    qint16 eigenlandnummer = 0;
    QString servertijd;
    qint16 inlobby = 0;          // 1 while present in the lobby
    qint16 keyboard1 = kFalse;   // True/False
    qint16 joystick1 = kFalse;   // True/False
    QString decimaalscheider;
    qint16 keyboard2 = 0;        // wizard: index of a second keyboard player

    // Game set-up
    QString speltype;            // "music", "trivia" or "mixed"
    QString vraagtijdtekst;      // seconds per question as text
    QString clientvraagtijd;
    qint16 quizlengte = 0;       // 0 = no limit
    double fragmentgrootte = 0;  // excerpt size in bytes
    QString aantaltriviavragen;
    QString m3upad;
    qint16 liedbovengrens = 0;
    qint16 aantalspelers = 0;

    // Round state
    QString rondetype;           // "music" or "trivia"
    qint16 vraagnummer = 0;
    qint16 aantalclients = 0;
    qint16 aantalantwoorden = 0;
    qint16 aantalclientantwoorden = 0;
    qint16 juistekeuze = 0;      // 1..4
    qint16 vertraging = 0;       // 3..0 after the answers are shown, -1 idle
    qint16 kickspeler = 0;       // host: socket to remove, -1 none
    qint16 speler1geantwoord = 0; // 1/0
    qint16 speler2geantwoord = 0; // 1/0
    double klokwaarde = 0;
    qint32 klokstart = 0;
    QString liedpad;
    qint16 slidertikken = 0;

    // Current trivia question
    QString triviavraagnr;
    QString triviavraag;
    qint16 aantaltriviaantwoorden = 0;
    QString triviaposter;
    QString triviamasker1;
    QString triviamasker2;
    QString triviafastest;
    double triviafastesttime = 0;

    // Client side of a round
    QString eigenslot;
    QString clientkeuze1, clientkeuze2, clientkeuze3, clientkeuze4;
    qint16 clientgeantwoord = 0; // 1/0
    qint16 antwoordenopen = 0;   // 1/0
    qint16 ontvangtlied = kFalse; // True/False
    QByteArray liedbuffer;       // excerpt bytes received so far

    // Advertising banner
    qint16 aantalbanners = 0;
    QString bannerlink;
    qint16 bannerverbonden = kFalse; // True/False
    qint16 volgendebanner = 0;   // advertisement to fetch next
    qint16 huidigebanner = 0;    // advertisement being fetched
    qint16 bannernummer = 0;     // stock picture 1..5 requested last
    QByteArray bannerbuffer;     // the reply received so far
};

// The one game state of the program.
GameState& state();

// Clears what every player record holds of a question: the answer and its time,
// the question's points and the trivia answers found with their times. A game
// starts with it, so nothing of an earlier game's question counts in it.
void clearQuestionState(GameState& s);

// Back to the values of a fresh program run (tests).
void resetState();
