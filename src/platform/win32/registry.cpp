#include "platform/win32/registry.h"

#include "platform/win32/unique.h"
#include "platform/win32/wide.h"

#include <windows.h>

namespace lumivane::win32 {

namespace {

HKEY rootKey(platform::RegistryRoot root) {
    return root == platform::RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

class Win32RegistryKey final : public platform::RegistryKey {
public:
    explicit Win32RegistryKey(UniqueKey key) : key_(std::move(key)) {}

    platform::ValueQuery queryTypeAndSize(const std::string& valueName) override {
        DWORD type = 0;
        DWORD size = 0;
        LONG status = ::RegQueryValueExW(key_.get(), widen(valueName).c_str(), nullptr, &type, nullptr, &size);
        return {status, type, size, {}};
    }

    platform::ValueQuery queryData(const std::string& valueName, std::size_t size) override {
        std::string bytes(size, '\0');
        DWORD type = 0;
        DWORD got = static_cast<DWORD>(size);
        LONG status = ::RegQueryValueExW(key_.get(), widen(valueName).c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE*>(bytes.data()), &got);
        if (status == ERROR_SUCCESS) bytes.resize(got);
        return {status, type, got, status == ERROR_SUCCESS ? bytes : std::string()};
    }

private:
    UniqueKey key_;
};

} // namespace

std::unique_ptr<platform::RegistryKey> Win32Registry::openKey(platform::RegistryRoot root, const std::string& subkey) {
    UniqueKey key;
    // Reading needs no more than query rights, which a standard user has on the machine's keys.
    if (::RegOpenKeyExW(rootKey(root), widen(subkey).c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
        return nullptr;
    return std::make_unique<Win32RegistryKey>(std::move(key));
}

long Win32Registry::setString(platform::RegistryRoot root, const std::string& subkey, const std::string& valueName,
                              const std::string& data) {
    UniqueKey key;
    LONG status = ::RegCreateKeyExW(rootKey(root), widen(subkey).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                    KEY_SET_VALUE, nullptr, key.put(), nullptr);
    if (status != ERROR_SUCCESS) return status;
    std::wstring text = widen(data);
    // The size counts the terminating NUL.
    return ::RegSetValueExW(key.get(), widen(valueName).c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

long Win32Registry::deleteValue(platform::RegistryRoot root, const std::string& subkey, const std::string& valueName) {
    UniqueKey key;
    LONG status = ::RegOpenKeyExW(rootKey(root), widen(subkey).c_str(), 0, KEY_SET_VALUE, key.put());
    if (status != ERROR_SUCCESS) return status;
    return ::RegDeleteValueW(key.get(), widen(valueName).c_str());
}

} // namespace lumivane::win32
