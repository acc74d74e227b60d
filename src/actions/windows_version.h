#pragma once
#include "platform/system_info.h"

#include <string>

// Which Windows the program runs on, as far as the monitor
// power-off cares.
namespace lumivane::windows_version {

inline constexpr unsigned kPlatformWin32Nt = 2;

// The first matching row wins; for major version 5 the platform is not looked
// at, and 5.2 and later minors of 5 give the empty text.
std::string classifyWindowsVersion(unsigned major, unsigned minor, unsigned platformId);

// A system that cannot be asked reads 0.0.0 and so "Unknown Windows Version".
std::string windowsVersion(platform::OsVersionSource& source);

} // namespace lumivane::windows_version
