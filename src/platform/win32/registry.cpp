#include "platform/win32/registry.h"

#include "platform/win32/unique.h"
#include "platform/win32/wide.h"

#include <windows.h>

#include <vector>

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

// One event that every watched key signals; the registry sets it, so asking
// it is a wait of no time and no registry call.
class Win32KeyWatch final : public platform::KeyWatch {
public:
    bool changed() override {
        if (!changed_) changed_ = !event || ::WaitForSingleObject(event.get(), 0) == WAIT_OBJECT_0;
        return changed_;
    }
    UniqueHandle event;          // none: a key could not be watched, so any time may bring a change
    std::vector<UniqueKey> keys;  // closing a key ends its watch
private:
    bool changed_ = false;
};

bool runsAs32BitOn64() {
    BOOL wow64 = FALSE;
    return ::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64;
}

} // namespace

Win32Registry::Win32Registry() : Win32Registry(runsAs32BitOn64(), 0) {}

Win32Registry Win32Registry::As32BitProgram() { return Win32Registry(true, KEY_WOW64_32KEY); }

unsigned long Win32Registry::viewAccess(platform::RegistryView view) const {
    // Only a 32-bit program on 64-bit Windows names a view: elsewhere there is
    // one view, and older systems do not know the flag.
    if (view == platform::RegistryView::Native) return ownIs32BitOn64_ ? KEY_WOW64_64KEY : 0;
    return ownViewAccess_;
}

std::unique_ptr<platform::RegistryKey> Win32Registry::openKey(platform::RegistryRoot root, const std::string& subkey) {
    UniqueKey key;
    // Reading needs no more than query rights, which a standard user has on the machine's keys.
    if (::RegOpenKeyExW(rootKey(root), widen(subkey).c_str(), 0, KEY_QUERY_VALUE | ownViewAccess_, key.put()) !=
        ERROR_SUCCESS)
        return nullptr;
    return std::make_unique<Win32RegistryKey>(std::move(key));
}

long Win32Registry::setString(platform::RegistryRoot root, const std::string& subkey, const std::string& valueName,
                              const std::string& data) {
    UniqueKey key;
    LONG status = ::RegCreateKeyExW(rootKey(root), widen(subkey).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                    KEY_SET_VALUE | ownViewAccess_, nullptr, key.put(), nullptr);
    if (status != ERROR_SUCCESS) return status;
    std::wstring text = widen(data);
    // The size counts the terminating NUL.
    return ::RegSetValueExW(key.get(), widen(valueName).c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

long Win32Registry::deleteValue(platform::RegistryRoot root, const std::string& subkey, const std::string& valueName) {
    UniqueKey key;
    LONG status =
        ::RegOpenKeyExW(rootKey(root), widen(subkey).c_str(), 0, KEY_SET_VALUE | ownViewAccess_, key.put());
    if (status != ERROR_SUCCESS) return status;
    return ::RegDeleteValueW(key.get(), widen(valueName).c_str());
}

platform::ValueQuery Win32Registry::queryValue(platform::RegistryRoot root, const std::string& subkey,
                                               const std::string& valueName, std::size_t size,
                                               platform::RegistryView view) {
    UniqueKey key;
    LONG status =
        ::RegOpenKeyExW(rootKey(root), widen(subkey).c_str(), 0, KEY_QUERY_VALUE | viewAccess(view), key.put());
    if (status != ERROR_SUCCESS) return {status, 0, 0, {}};
    std::string bytes(size, '\0');
    DWORD type = 0;
    DWORD got = static_cast<DWORD>(size);
    status = ::RegQueryValueExW(key.get(), widen(valueName).c_str(), nullptr, &type,
                                reinterpret_cast<BYTE*>(bytes.data()), &got);
    if (status != ERROR_SUCCESS) return {status, type, got, {}};
    bytes.resize(got);
    return {status, type, got, bytes};
}

long Win32Registry::setBinary(platform::RegistryRoot root, const std::string& subkey, const std::string& valueName,
                              std::string_view data, platform::RegistryView view) {
    UniqueKey key;
    LONG status = ::RegCreateKeyExW(rootKey(root), widen(subkey).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                    KEY_SET_VALUE | viewAccess(view), nullptr, key.put(), nullptr);
    if (status != ERROR_SUCCESS) return status;
    return ::RegSetValueExW(key.get(), widen(valueName).c_str(), 0, REG_BINARY,
                            reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size()));
}

std::unique_ptr<platform::KeyWatch> Win32Registry::watch(const std::vector<platform::KeyPlace>& places) {
    auto watch = std::make_unique<Win32KeyWatch>();
    watch->event.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    for (const auto& place : places) {
        if (!watch->event) break;
        const std::wstring full = widen(place.subkey);
        std::wstring path = full;
        for (;;) {
            UniqueKey key;
            LONG status = ::RegOpenKeyExW(rootKey(place.root), path.c_str(), 0, KEY_NOTIFY | viewAccess(place.view),
                                          key.put());
            if (status == ERROR_SUCCESS) {
                // A missing key appears as a new subkey of its nearest existing
                // parent (itself or a key on its way), so a parent standing in
                // is watched for its subkeys' names only: Explorer writes below
                // its own key all the time.
                const bool standIn = path.size() != full.size();
                const DWORD filter =
                    standIn ? REG_NOTIFY_CHANGE_NAME : REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET;
                status = ::RegNotifyChangeKeyValue(key.get(), FALSE, filter, watch->event.get(), TRUE);
                if (status == ERROR_SUCCESS) watch->keys.push_back(std::move(key));
            }
            if (status == ERROR_SUCCESS) break;
            if (status != ERROR_FILE_NOT_FOUND || path.empty()) {
                watch->event.reset();
                break;
            }
            const auto slash = path.find_last_of(L'\\');
            path.resize(slash == std::wstring::npos ? 0 : slash);
        }
    }
    return watch;
}

} // namespace lumivane::win32
