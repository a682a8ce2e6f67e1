#pragma once

#include <QString>
#include <QStringList>

// The fixed country list. A country index (landnummer) is a name's position in
// the list, 0..241; kUnknownCountry stands for a name that is not in it.
// The flag of country n is picture n + 1 of the online window's flag list.

constexpr qint16 kCountryCount = 242;
constexpr qint16 kUnknownCountry = 242;

// The 242 names in list order, exactly as stored (many end with one blank).
const QStringList& countryNames();

// Two-letter code of the flag picture of country n, lower case ("be").
// Empty for kUnknownCountry and anything out of range.
QString countryFlagCode(qint16 landnummer);

// True when the texts are equal apart from case and blanks at either end.
bool sameCountryName(const QString& a, const QString& b);

// Index of the first name that equals land (see sameCountryName), or kUnknownCountry.
qint16 countryIndex(const QString& land);
