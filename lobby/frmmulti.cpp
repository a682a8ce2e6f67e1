#include "lobby/frmmulti.h"

#include "platform/gui/closeless.h"

#include <QPointer>

namespace {
QPointer<frmmulti>& current() {
    static QPointer<frmmulti> window;
    return window;
}
} // namespace

frmmulti& frmmulti::instance() {
    if (!current()) {
        current() = new frmmulti; // deleted by unload()
        current()->Form_Load();
    }
    return *current();
}

bool frmmulti::exists() { return !current().isNull(); }

void frmmulti::unload() { delete current().data(); }

frmmulti::frmmulti(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmmulti"));
    setWindowTitle(QStringLiteral("Vondrix Online v4"));
}

void frmmulti::Form_Load() { RemoveCloseMenuItem(this); }
