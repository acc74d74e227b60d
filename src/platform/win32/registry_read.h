#pragma once
#include "platform/registry_read.h"

namespace lumivane::win32 {

class Win32RegistryReader final : public platform::RegistryReader {
public:
    std::optional<platform::RegistryValue> readValue(platform::RegistryRoot root, const std::string& keyPath,
                                                     const std::string& valueName) override;
};

} // namespace lumivane::win32
