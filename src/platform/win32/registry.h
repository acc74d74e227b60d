#pragma once
#include "platform/registry.h"

namespace lumivane::win32 {

// The registry through the W functions; key paths and names are UTF-8.
class Win32Registry final : public platform::Registry {
public:
    std::unique_ptr<platform::RegistryKey> openKey(platform::RegistryRoot root, const std::string& subkey) override;
    long setString(platform::RegistryRoot root, const std::string& subkey, const std::string& valueName,
                   const std::string& data) override;
    long deleteValue(platform::RegistryRoot root, const std::string& subkey, const std::string& valueName) override;
};

} // namespace lumivane::win32
