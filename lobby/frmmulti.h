#pragma once

#include <QWidget>

// The online window: the program's start window.
class frmmulti : public QWidget {
    Q_OBJECT

public:
    // The one window, created on first use.
    static frmmulti& instance();
    static bool exists();
    static void unload();

private:
    explicit frmmulti(QWidget* parent = nullptr);
    void Form_Load();
};
