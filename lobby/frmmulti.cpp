#include "lobby/frmmulti.h"

#include "common/countries.h"
#include "common/gamestate.h"
#include "platform/gui/closeless.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QVBoxLayout>

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

bool frmmulti::exists() {
    return !current().isNull();
}

void frmmulti::unload() {
    delete current().data();
}

frmmulti::frmmulti(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmmulti"));
    setWindowTitle(QStringLiteral("Vondrix Online v4"));

    frmnewusr = new QGroupBox(QStringLiteral("New user"), this);
    frmnewusr->setObjectName(QStringLiteral("frmnewusr"));
    List1 = new QListWidget(frmnewusr);
    List1->setObjectName(QStringLiteral("List1"));

    auto* newUserLayout = new QVBoxLayout(frmnewusr);
    newUserLayout->addWidget(List1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frmnewusr);

    QLineEdit** boxes[] = {&txtbutton1, &txtbutton2, &txtbutton3, &txtbutton4};
    for (int i = 0; i < 4; ++i) {
        *boxes[i] = new QLineEdit(this);
        (*boxes[i])->setObjectName(QStringLiteral("txtbutton%1").arg(i + 1));
        (*boxes[i])->setReadOnly(true);
        layout->addWidget(*boxes[i]);
    }
}

void frmmulti::Form_Load() {
    vullanden();
    RemoveCloseMenuItem(this);
}

void frmmulti::vullanden() {
    for (const QString& naam : countryNames())
        List1->addItem(naam);
}

qint16 frmmulti::zoeklandop(const QString& land) {
    qint16 result = kUnknownCountry;
    const int aantal = List1->count();
    for (int i = 0; i < aantal; ++i) {
        List1->setCurrentRow(i);
        if (sameCountryName(List1->currentItem()->text(), land)) {
            result = static_cast<qint16>(i);
            break;
        }
    }
    state().eigenlandnummer = result;
    return result;
}
