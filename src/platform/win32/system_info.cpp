#include "platform/win32/system_info.h"

#include "platform/win32/wide.h"

#include <windows.h>

#include <algorithm>

namespace lumivane::win32 {

platform::OsVersion Win32OsVersion::osVersion() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    // GetVersionExW is marked deprecated by newer SDKs because it reports what
    // the manifest claims compatibility with; that reported version is exactly
    // what the classification is about, so it is called on purpose.
#if defined(_MSC_VER)
#pragma warning(push)
#pragma warning(disable : 4996)
#elif defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
    BOOL ok = ::GetVersionExW(&info);
#if defined(_MSC_VER)
#pragma warning(pop)
#elif defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    if (!ok) return {};
    return {info.dwMajorVersion, info.dwMinorVersion, info.dwPlatformId};
}

std::string Win32DriveInfo::logicalDriveStrings() {
    std::wstring buffer(2048, L'\0');
    DWORD stored = ::GetLogicalDriveStringsW(2047, buffer.data());
    // A result above the length given is the size the strings would need: the
    // buffer holds nothing then. 26 drives need 105 characters, far below it.
    if (stored > 2047) return {};
    buffer.resize(stored);
    return narrow(buffer);
}

unsigned Win32DriveInfo::driveType(const std::string& root) {
    return ::GetDriveTypeW(widen(root).c_str());
}

} // namespace lumivane::win32
