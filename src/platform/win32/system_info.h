#pragma once
#include "platform/system_info.h"

namespace lumivane::win32 {

class Win32OsVersion final : public platform::OsVersionSource {
public:
    platform::OsVersion osVersion() override;
};

class Win32DriveInfo final : public platform::DriveInfo {
public:
    std::string logicalDriveStrings() override;
    unsigned driveType(const std::string& root) override;
};

} // namespace lumivane::win32
