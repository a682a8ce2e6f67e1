#include "netgame/vlag.h"

#include "common/countries.h"
#include "lobby/frmmulti.h"

#include <QLabel>

void toonvlag(QLabel* image, qint16 landnummer) {
    if (!image) return;
    if (landnummer < 0 || landnummer > kUnknownCountry) landnummer = kUnknownCountry;
    image->setPixmap(frmmulti::instance().imglandenlijst.flagOf(landnummer));
}
