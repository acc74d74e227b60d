#include "folders/registry_values.h"

#include "platform/utf8.h"

namespace lumivane::registry_values {

std::string stripNul(std::string_view text) {
    return std::string(text.substr(0, text.find('\0')));
}

std::string queryStringValue(platform::RegistryKey& key, const std::string& valueName) {
    platform::ValueQuery info = key.queryTypeAndSize(valueName);
    if (info.status != platform::kRegSuccess || info.type != platform::kRegSz) return {};
    platform::ValueQuery data = key.queryData(valueName, info.size);
    // The value may have changed between the two calls; then it counts as unreadable.
    if (data.status != platform::kRegSuccess || data.type != platform::kRegSz) return {};
    return stripNul(utf16LeToUtf8(data.bytes));
}

std::string stringValue(platform::Registry& registry, RegistryRoot root, const std::string& subkey,
                           const std::string& valueName) {
    auto key = registry.openKey(root, subkey);
    if (!key) return {};
    return queryStringValue(*key, valueName);
}

long setStringValue(platform::Registry& registry, RegistryRoot root, const std::string& subkey,
                    const std::string& valueName, const std::string& data) {
    return registry.setString(root, subkey, valueName, data);
}

long deleteValue(platform::Registry& registry, RegistryRoot root, const std::string& subkey,
                 const std::string& valueName) {
    return registry.deleteValue(root, subkey, valueName);
}

} // namespace lumivane::registry_values
