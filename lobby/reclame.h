#pragma once

#include <QString>

// The advertisements of the banner and where the banner web server is.

// VONDRIX_BANNER_HOST / VONDRIX_BANNER_PORT when set (read at each call), else
// the built-in host name and port 80.
QString bannerHost();
int bannerPort();

// Loads the advertisements for every country ('ALL') and for landnaam into
// bannernamen, bannerlinks and aantalbanners, in the database's order, at most 21.
// A result without rows, or a statement that fails, leaves the list as it was.
void reclameladen(const QString& landnaam);
