#include "folders/registry_values.h"

#include "platform/utf8.h"

namespace lumivane::RegPlus {

std::string StripNul(std::string_view text) {
    return std::string(text.substr(0, text.find('\0')));
}

std::string QueryStringValue(platform::RegistryKey& key, const std::string& valueName) {
    platform::ValueQuery info = key.queryTypeAndSize(valueName);
    if (info.status != platform::kRegSuccess || info.type != platform::kRegSz) return {};
    platform::ValueQuery data = key.queryData(valueName, info.size);
    // The value may have changed between the two calls; then it counts as unreadable.
    if (data.status != platform::kRegSuccess || data.type != platform::kRegSz) return {};
    return StripNul(Utf16LeToUtf8(data.bytes));
}

std::string GetStringValue(platform::Registry& registry, RegistryRoot root, const std::string& subkey,
                           const std::string& valueName) {
    auto key = registry.openKey(root, subkey);
    if (!key) return {};
    return QueryStringValue(*key, valueName);
}

long SetStringValue(platform::Registry& registry, RegistryRoot root, const std::string& subkey,
                    const std::string& valueName, const std::string& data) {
    return registry.setString(root, subkey, valueName, data);
}

long DeleteValue(platform::Registry& registry, RegistryRoot root, const std::string& subkey,
                 const std::string& valueName) {
    return registry.deleteValue(root, subkey, valueName);
}

} // namespace lumivane::RegPlus
