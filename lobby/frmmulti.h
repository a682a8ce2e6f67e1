#pragma once

#include "lobby/flagimagelist.h"

#include <QWidget>

class QGroupBox;
class QLineEdit;
class QListWidget;

// The online window: the program's start window.
class frmmulti : public QWidget {
    Q_OBJECT

public:
    // The one window, created on first use.
    static frmmulti& instance();
    static bool exists();
    static void unload();

    // Appends the country names to List1 in list order.
    void vullanden();
    // Selects the rows of List1 one by one until a name matches land (case and
    // blanks at either end ignored); sets and returns eigenlandnummer, 242 when none did.
    qint16 zoeklandop(const QString& land);

    // Controls tab: the four answer keys of the player at this PC.
    QLineEdit* txtbutton1;
    QLineEdit* txtbutton2;
    QLineEdit* txtbutton3;
    QLineEdit* txtbutton4;

    QGroupBox* frmnewusr;
    QListWidget* List1;
    FlagImageList imglandenlijst;

private:
    explicit frmmulti(QWidget* parent = nullptr);
    void Form_Load();
};
