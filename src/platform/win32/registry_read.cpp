#include "platform/win32/registry_read.h"

#include "platform/win32/unique.h"
#include "platform/win32/wide.h"

#include <windows.h>

namespace lumivane::win32 {

namespace {
// Values read here are program paths; anything longer is not one.
constexpr DWORD kMaxCharacters = 1024;

HKEY rootKey(platform::RegistryRoot root) {
    switch (root) {
    case platform::RegistryRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
    case platform::RegistryRoot::CurrentUser: return HKEY_CURRENT_USER;
    }
    return nullptr;
}
} // namespace

std::optional<platform::RegistryValue> Win32RegistryReader::readValue(platform::RegistryRoot root,
                                                                      const std::string& keyPath,
                                                                      const std::string& valueName) {
    HKEY parent = rootKey(root);
    if (!parent) return std::nullopt;
    UniqueKey key;
    if (::RegOpenKeyExW(parent, widen(keyPath).c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return std::nullopt;

    platform::RegistryValue value;
    value.data.assign(kMaxCharacters * sizeof(wchar_t), 0);
    DWORD size = static_cast<DWORD>(value.data.size());
    DWORD type = 0;
    if (::RegQueryValueExW(key.get(), widen(valueName).c_str(), nullptr, &type, value.data.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.type = type;
    value.data.resize(size);
    return value;
}

} // namespace lumivane::win32
