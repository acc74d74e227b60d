#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lumivane::platform {

// Root keys, with their Win32 handle values.
enum class RegistryRoot : std::uint32_t {
    LocalMachine = 0x80000002u,
};

// Value types, with their Win32 values.
inline constexpr std::uint32_t kRegSz = 1;
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
