#pragma once

#include "platform/gui/windowinstance.h"

#include <QWidget>

struct Speler;
class QLabel;
class QLineEdit;
class QTimer;

// The answer-button window ("Controls"): records the four keys or joystick
// buttons of one player, refusing one the player already uses, and closes
// itself after the fourth.
class Form6 : public QWidget {
    Q_OBJECT
    friend class WindowInstance<Form6>;

public:
    // The one window, created (and loaded) on first use.
    static Form6& instance();
    static bool exists();
    static void unload();

    // Starts a keyboard assignment for player spelernr; invoer is not used.
    void keyboards(qint16 spelernr, qint16 invoer);
    // Starts a joystick assignment for player spelernr with joystick invoer (1 or 2).
    void controlers(qint16 spelernr, qint16 invoer);
    void nogeen() {}

    qint16 aantalkeyboard = 0; // 1 allows keyboard assignment
    QString laatste;           // "ja"/"nee", set by the set-up wizard

    QLabel* prompt[4] = {}; // "Press a button to use answer n:"
    QLineEdit* txtknop[4] = {};
    QTimer* Timer1 = nullptr; // joystick poll, 1 ms

public slots:
    void Timer1_Timer();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    explicit Form6(QWidget* parent = nullptr);
    void Form_Load();
    void Form_Activate();
    void Form_Unload();
    void takeKey(const QString& c);
    // Back to answer 1: nothing taken, only the first prompt showing.
    void restart();
    // Input for the answer at the current step; the last one unloads the window.
    void assign(const QString& input);
    Speler& speler();

    qint16 stap_ = 0;
    qint16 spelernr_ = 0;
    qint16 joysticknr_ = 1;
    qint16 bezet_[3] = {16, 16, 16};
    QString toetsenbord_ = QStringLiteral("ja");
};

// The player whose keys the last keyboard assignment was for.
extern qint16 laatstekeyboardspeler;
