#include "platform/registry.h"

#include "platform/utf8.h"

namespace lumivane::platform {

std::string stripNul(std::string_view text) {
    return std::string(text.substr(0, text.find('\0')));
}

std::string queryStringValue(RegistryKey& key, const std::string& valueName) {
    ValueQuery info = key.queryTypeAndSize(valueName);
    if (info.status != kRegSuccess || info.type != kRegSz) return {};
    ValueQuery data = key.queryData(valueName, info.size);
    // The value may have changed between the two calls; then it counts as unreadable.
    if (data.status != kRegSuccess || data.type != kRegSz) return {};
    return stripNul(utf16LeToUtf8(data.bytes));
}

std::string stringValue(Registry& registry, RegistryRoot root, const std::string& subkey,
                        const std::string& valueName) {
    auto key = registry.openKey(root, subkey);
    if (!key) return {};
    return queryStringValue(*key, valueName);
}

} // namespace lumivane::platform
