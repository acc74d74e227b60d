#include "actions/windows_version.h"

namespace lumivane::windows_version {

std::string classifyWindowsVersion(unsigned major, unsigned minor, unsigned platformId) {
    bool nt = platformId == kPlatformWin32Nt;
    switch (major) {
    case 3:
        return nt ? "Windows NT 3.x" : "Windows 3.x";
    case 4:
        if (nt) return "Windows NT 4.0";
        return minor == 0 ? "Windows 95" : "Windows 98";
    case 5:
        if (minor == 0) return "Windows 2000";
        if (minor == 1) return "Windows XP";
        return "";
    default:
        return "Unknown Windows Version";
    }
}

std::string windowsVersion(platform::OsVersionSource& source) {
    platform::OsVersion v = source.osVersion();
    return classifyWindowsVersion(v.major, v.minor, v.platformId);
}

} // namespace lumivane::windows_version
