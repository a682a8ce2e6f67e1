#pragma once

#include "platform/gui/windowinstance.h"

#include "game/resultprinter.h"

#include <QWidget>

class QLabel;
class QPushButton;

// The results window: the final scores of up to five players and the game's
// settings, with commands to print them and to close the window. Callers write
// the captions of naam, score, lblvragen and lbltijd, make the rows they fill
// visible, and show it.
class Form7 : public QWidget {
    Q_OBJECT
    friend class WindowInstance<Form7>;

public:
    // The one window, created (and loaded) on first use.
    static Form7& instance();
    static bool exists();
    // Hides the window and deletes it once control is back in the event loop.
    static void unload();

    // What Print prints: the settings and each row with a name.
    ResultSheet sheet() const;

    QLabel* Label1; // "Results"
    QLabel* Label7; // "Name"
    QLabel* Label8; // "Score"
    QLabel* Label3; // row numbers "1" to "5": Label3, Label4, Label5, Label6, Label2
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label2;
    QLabel* naam[5] = {}; // hidden until a caller fills the row
    QLabel* score[5] = {};
    QLabel* Label9; // "Number of questions:"
    QLabel* lblvragen;
    QLabel* Label11; // "Time to answer(seconds):"
    QLabel* lbltijd;
    QLabel* Label10; // "m3u-file:"
    QLabel* lblpad;
    QPushButton* Command1; // "&Close"
    QPushButton* Command2; // "&Print"

public slots:
    void Command1_Click();
    void Command2_Click();

private:
    explicit Form7(QWidget* parent = nullptr);
    void Form_Load();
};
