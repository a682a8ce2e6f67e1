#pragma once

#include <QString>

struct OsVersionInfo;

// Version codes of getversion.
enum : qint16 {
    kOsUnknown = 0,
    kOsWindows95 = 1,
    kOsWindows98 = 2,
    kOsWindowsMe = 3,
    kOsWindowsNT3 = 4,
    kOsWindowsNT4 = 5,
    kOsWindows2000 = 6,
    kOsWindowsXP = 7,
    kOsWindowsServer2003 = 8,
    kOsWindowsVista = 9,
};

// The code of a version record: platform, major and minor decide.
qint16 versioncode(const OsVersionInfo& info);

// The code of the running system (Linux gives kOsUnknown).
qint16 getversion();

// The warning of the first run: for an unknown system and for Vista (code 9).
void showoswarning();

// The page with advice for Windows Vista users that the warning names.
QString vistaHelpAddress();
