#pragma once

#include "platform/gui/windowinstance.h"

#include <QWidget>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;

// "Player setup", step 2 of the wizard: the number of players, and per player a
// name, a gender and an input device. "&Next" sends each player on to the
// answer-button window; after the last one the wizard goes on to "Loading...".
class Form3 : public QWidget {
    Q_OBJECT
    friend class WindowInstance<Form3>;

public:
    static Form3& instance();
    static bool exists();
    static void unload();

    // The frame caption for the player being set up: "Player <n>:".
    void nogeen();

    qint16 huidigejoystick = 0; // joystick 1..3 chosen for the current player
    qint16 huidigkeyboard = 0;  // keyboard 1..2 chosen for the current player

    QRadioButton* optaantal[5] = {}; // "One player" .. "Five players"
    QGroupBox* frmspeler = nullptr;  // "Player 1:"
    QLineEdit* txtname = nullptr;
    QRadioButton* optmale = nullptr;
    QRadioButton* optfemale = nullptr;
    QRadioButton* optinvoer[5] = {}; // keyboard(1), keyboard(2), joystick 1..3
    QPushButton* cmdnext = nullptr;
    QTimer* Timer1 = nullptr; // 50 ms

public slots:
    void optaantal_Click(int index);
    void optinvoer_Click(int index);
    void cmdnext_Click();
    void Timer1_Timer();
    void Form_Activate();

protected:
    bool event(QEvent* event) override;

private:
    explicit Form3(QWidget* parent = nullptr);
    void Form_Load();
};
