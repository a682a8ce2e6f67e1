#include "lobby/oscheck.h"

#include "common/siteaddress.h"
#include "platform/dialogs.h"
#include "platform/osversion.h"

qint16 versioncode(const OsVersionInfo& info) {
    const quint32 major = info.dwMajorVersion;
    const quint32 minor = info.dwMinorVersion;
    switch (info.dwPlatformId) {
    case VER_PLATFORM_WIN32_WINDOWS:
        if (major != 4) return kOsUnknown;
        if (minor == 0) return kOsWindows95;
        if (minor == 10) return kOsWindows98;
        if (minor == 90) return kOsWindowsMe;
        return kOsUnknown;
    case VER_PLATFORM_WIN32_NT:
        switch (major) {
        case 3:
            return kOsWindowsNT3;
        case 4:
            return kOsWindowsNT4;
        case 5:
            if (minor == 0) return kOsWindows2000;
            if (minor == 1) return kOsWindowsXP;
            if (minor == 2) return kOsWindowsServer2003;
            return kOsUnknown;
        case 6:
            return kOsWindowsVista;
        default:
            return kOsUnknown;
        }
    default:
        return kOsUnknown;
    }
}

qint16 getversion() {
    OsVersionInfo info;
    info.dwOSVersionInfoSize = kOsVersionInfoSize;
    GetVersionExA(info);
    return versioncode(info);
}

void showoswarning() {
    const qint16 code = getversion();
    QString first;
    if (code == kOsUnknown)
        first = QStringLiteral("UNKNOWN OS: for Windows Vista users: ");
    else if (code == kOsWindowsVista)
        first = QStringLiteral("IMPORTANT for Windows Vista users: ");
    else
        return;
    MsgBox(first + QStringLiteral("\n\n") +
           QStringLiteral("If you get an error saying a file or one of it's dependencies is "
                          "missing, please go to ") +
           vistaHelpAddress());
}

QString vistaHelpAddress() {
    return siteLink(QStringLiteral("/vista.html"));
}
