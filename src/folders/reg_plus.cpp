#include "folders/reg_plus.h"

#include "platform/utf8.h"

namespace lumivane::RegPlus {

std::string StripNul(std::string_view text) {
    return std::string(text.substr(0, text.find('\0')));
}

std::string Utf16LeToUtf8(std::string_view bytes) {
    std::string out;
    size_t units = bytes.size() / 2;
    auto unit = [&](size_t i) {
        return static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                     (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    };
    for (size_t i = 0; i < units; ++i) {
        char16_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units) {
            char16_t low = unit(i + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        AppendUtf8(out, (u >= 0xD800 && u <= 0xDFFF) ? char32_t{0xFFFD} : char32_t{u});
    }
    return out;
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
