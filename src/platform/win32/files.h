#pragma once
#include "platform/files.h"

namespace lumivane::win32 {

class Win32FileSystem final : public platform::FileSystem {
public:
    bool fileExists(const std::string& path) override;
    bool folderExists(const std::string& path) override;
    std::optional<std::string> readFile(const std::string& path) override;
    bool replaceFile(const std::string& path, std::string_view bytes) override;
    bool mayWrite(const std::string& path) override;
    bool makeFolder(const std::string& path) override;
    std::string roamingAppData() override;
};

} // namespace lumivane::win32
