#pragma once
#include "platform/registry.h"

#include <string>
#include <string_view>

// The few registry routines the start-with-Windows setting needs.
namespace lumivane::registry_values {

using platform::RegistryRoot;

// The text up to its first NUL, or all of it when it holds none.
std::string stripNul(std::string_view text);
// Type and size first, then the data into a buffer of exactly that size. Only
// REG_SZ counts: a missing, unreadable or other-typed value gives "".
std::string queryStringValue(platform::RegistryKey& key, const std::string& valueName);
// "" when the subkey cannot be opened.
std::string stringValue(platform::Registry& registry, RegistryRoot root, const std::string& subkey,
                           const std::string& valueName);
// Both return the system's status code, so the caller can say why a change failed.
long setStringValue(platform::Registry& registry, RegistryRoot root, const std::string& subkey,
                    const std::string& valueName, const std::string& data);
long deleteValue(platform::Registry& registry, RegistryRoot root, const std::string& subkey,
                 const std::string& valueName);

} // namespace lumivane::registry_values
