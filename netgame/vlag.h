#pragma once

#include <QtGlobal>

class QLabel;

// Shows the flag of country landnummer (picture landnummer + 1 of the online
// window's imglandenlijst) in a tile's flag image. An index outside the country
// list shows the picture for an unknown country.
void toonvlag(QLabel* image, qint16 landnummer);
