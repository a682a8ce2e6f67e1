#pragma once

#include <QString>
#include <functional>

// The running system as the Windows version record OSVERSIONINFOA describes it.
struct OsVersionInfo {
    quint32 dwOSVersionInfoSize = 0;
    quint32 dwMajorVersion = 0;
    quint32 dwMinorVersion = 0;
    quint32 dwBuildNumber = 0;
    quint32 dwPlatformId = 0;
    QString szCSDVersion; // at most 127 characters
};

constexpr quint32 kOsVersionInfoSize = 148;

// Platform ids of the record.
constexpr quint32 VER_PLATFORM_WIN32s = 0;
constexpr quint32 VER_PLATFORM_WIN32_WINDOWS = 1; // 95, 98, Me
constexpr quint32 VER_PLATFORM_WIN32_NT = 2;
constexpr quint32 VER_PLATFORM_WIN32_CE = 3;
// Linux is none of the Windows platforms.
constexpr quint32 kPlatformLinux = 0x100;

// Fills the record from the running system (or the source a test set) and
// returns true. On Linux: platform kPlatformLinux; major, minor and build are
// the first three numbers of the kernel release ("6.1.0-18-amd64" gives 6, 1, 0);
// the CSD text is the system name and the release ("Linux 6.1.0-18-amd64").
// The size field is left as the caller set it.
bool GetVersionExA(OsVersionInfo& info);

// Tests: where GetVersionExA takes its record from. Empty = the running system.
using OsVersionSource = std::function<OsVersionInfo()>;
void setOsVersionSource(OsVersionSource source);
