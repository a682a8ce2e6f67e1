#pragma once

#include "common/countries.h"

#include <QPixmap>
#include <array>

// The flag pictures of the online window (imglandenlijst), numbered from 1:
// picture n + 1 is the flag of country n, the last one the picture for an
// unknown country.
class FlagImageList {
public:
    static constexpr int kCount = kUnknownCountry + 1;

    FlagImageList();

    int count() const { return kCount; }

    // Picture k, 1..count(); a null pixmap outside that range.
    const QPixmap& picture(int k) const;

    // The flag of country landnummer: picture landnummer + 1.
    const QPixmap& flagOf(qint16 landnummer) const { return picture(landnummer + 1); }

private:
    std::array<QPixmap, kCount> pictures_;
};
