#pragma once

#include "platform/gui/windowinstance.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QTextEdit;
class QTimer;

// "Loading...", the wizard's last window: loads the playlist, then "Start!"
// sets up the game window for the local players and starts the first round.
class Form4 : public QWidget {
    Q_OBJECT
    friend class WindowInstance<Form4>;

public:
    static Form4& instance();
    static bool exists();
    static void unload();

    QLabel* lblstatus = nullptr;     // "Loading m3u list - Please wait"
    QPushButton* cmdstart = nullptr; // "Start!"
    QPushButton* cmdlist = nullptr;  // hidden
    QTextEdit* txtlist = nullptr;    // hidden
    QTimer* Timer1 = nullptr;        // 1000 ms

public slots:
    void Timer1_Timer();
    void cmdstart_Click();
    void cmdlist_Click();

private:
    explicit Form4(QWidget* parent = nullptr);
    void Form_Load();
    qint16 tikken_ = 0;
};
