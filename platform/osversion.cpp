#include "platform/osversion.h"

#include <QRegularExpression>
#include <sys/utsname.h>

namespace {
OsVersionSource& source() {
    static OsVersionSource s;
    return s;
}

OsVersionInfo runningSystem() {
    OsVersionInfo info;
    info.dwPlatformId = kPlatformLinux;
    utsname names{};
    if (::uname(&names) != 0) return info;
    const QString release = QString::fromLocal8Bit(names.release);
    static const QRegularExpression numbers(QStringLiteral("^(\\d+)(?:\\.(\\d+))?(?:\\.(\\d+))?"));
    const QRegularExpressionMatch m = numbers.match(release);
    info.dwMajorVersion = m.captured(1).toUInt();
    info.dwMinorVersion = m.captured(2).toUInt();
    info.dwBuildNumber = m.captured(3).toUInt();
    info.szCSDVersion =
        (QString::fromLocal8Bit(names.sysname) + QLatin1Char(' ') + release).left(127);
    return info;
}
} // namespace

bool GetVersionExA(OsVersionInfo& info) {
    const quint32 size = info.dwOSVersionInfoSize;
    info = source() ? source()() : runningSystem();
    info.dwOSVersionInfoSize = size;
    return true;
}

void setOsVersionSource(OsVersionSource s) {
    source() = std::move(s);
}
