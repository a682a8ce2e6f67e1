#pragma once

#include "platform/gui/windowinstance.h"

#include <QWidget>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTimer;

// What the local set-up wizard chooses besides the shared game state.
struct WizardState {
    qint16 aantalvragen = 0;    // quiz length
    qint16 vraagtijd = 0;       // seconds to answer
    qint16 huidigespeler = 0;   // the player being set up, 1..5
    qint16 joystick2 = 0;       // player on joystick 2, 0 = none
    qint16 joystick3 = 0;       // player on joystick 3, 0 = none
    qint16 keyboardspelers = 0; // players on a keyboard
    qint16 invoer[6] = {};      // 1..5: the device option each player chose (1..5)
};
WizardState& wizard();

// "Settings", step 1 of the wizard: the playlist, the quiz length and the answer time.
class Form2 : public QWidget {
    Q_OBJECT
    friend class WindowInstance<Form2>;

public:
    static Form2& instance();
    static bool exists();
    static void unload();

    QLineEdit* txtpad = nullptr;
    QPushButton* cmdbrowse = nullptr;
    QComboBox* Combo1 = nullptr; // quiz length
    QComboBox* Combo2 = nullptr; // answer time
    QPushButton* cmdnext = nullptr;
    QPushButton* cmdtest = nullptr; // hidden
    QTimer* Timer1 = nullptr;       // 50 ms

public slots:
    void cmdbrowse_Click();
    void cmdnext_Click();
    void cmdtest_Click();
    void Timer1_Timer();

private:
    explicit Form2(QWidget* parent = nullptr);
    void Form_Load();
    QString filter_;
};
