#pragma once
#include "platform/registry.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lumivane::platform {

// A value type beside those of registry.h, with its Win32 value.
inline constexpr std::uint32_t kRegDword = 4;

struct RegistryValue {
    std::uint32_t type = 0;
    std::vector<unsigned char> data;  // the bytes as stored; text is UTF-16LE
};

// Read-only access to registry values: a key is opened for reading alone, so
// a standard user can read what lies under the machine's root.
class RegistryReader {
public:
    virtual ~RegistryReader() = default;
    // The stored value, or nothing when the key cannot be opened or the value
    // cannot be read.
    virtual std::optional<RegistryValue> readValue(RegistryRoot root, const std::string& keyPath,
                                                   const std::string& valueName) = 0;
};

} // namespace lumivane::platform
