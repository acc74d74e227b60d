#pragma once
#include <string>

namespace lumivane::platform {

// The three fields of the system's version record the program looks at; all
// 0 when the system could not be asked.
struct OsVersion {
    unsigned major = 0;
    unsigned minor = 0;
    unsigned platformId = 0;
};

class OsVersionSource {
public:
    virtual ~OsVersionSource() = default;
    virtual OsVersion osVersion() = 0;
};

inline constexpr unsigned kDriveCdRom = 5;

class DriveInfo {
public:
    virtual ~DriveInfo() = default;
    // The root paths of the logical drives, each followed by one NUL
    // ("C:\<NUL>D:\<NUL>"), in the system's order; empty when the call fails.
    virtual std::string logicalDriveStrings() = 0;
    // The Win32 drive type of a root path (5 for a CD-ROM drive).
    virtual unsigned driveType(const std::string& root) = 0;
};

} // namespace lumivane::platform
