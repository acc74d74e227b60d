#include "folders/reg_plus.h"
#include "folders/start_with_windows.h"
#include "platform/win32/registry.h"
#include "platform/win32/unique.h"

#include <doctest/doctest.h>
#include <windows.h>

using namespace lumivane;

namespace {
const wchar_t* kRunW = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

// Puts a raw value under the machine's Run key, as another program might have.
void putRaw(DWORD type, const void* data, DWORD size) {
    win32::UniqueKey key;
    REQUIRE(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kRunW, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr) ==
            ERROR_SUCCESS);
    REQUIRE(::RegSetValueExW(key.get(), L"Lumivane", 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS);
}

void removeValue() {
    win32::UniqueKey key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunW, 0, KEY_SET_VALUE, key.put()) == ERROR_SUCCESS)
        ::RegDeleteValueW(key.get(), L"Lumivane");
}

std::string readRun() {
    win32::Win32Registry reg;
    return RegPlus::GetStringValue(reg, platform::RegistryRoot::LocalMachine, startup::kRunSubkey,
                                   startup::kRunValueName);
}
} // namespace

TEST_CASE("the real Run key: what counts as present") {
    removeValue();
    CHECK(readRun().empty());

    SUBCASE("a value of another type") {
        const wchar_t text[] = L"C:\\Tools\\lumivane";
        putRaw(REG_EXPAND_SZ, text, sizeof(text));
        CHECK(readRun().empty());
        DWORD number = 1;
        putRaw(REG_DWORD, &number, sizeof(number));
        CHECK(readRun().empty());
    }
    SUBCASE("an empty value, with and without its NUL") {
        const wchar_t empty[] = L"";
        putRaw(REG_SZ, empty, sizeof(empty));
        CHECK(readRun().empty());
        putRaw(REG_SZ, empty, 0);
        CHECK(readRun().empty());
    }
    SUBCASE("a value pointing to another folder counts") {
        const wchar_t other[] = L"\"D:\\Elsewhere\\lumivane\"";
        putRaw(REG_SZ, other, sizeof(other));
        CHECK(readRun() == "\"D:\\Elsewhere\\lumivane\"");
    }
    SUBCASE("a NUL inside cuts the text") {
        const wchar_t two[] = L"C:\\first\0C:\\second";
        putRaw(REG_SZ, two, sizeof(two));
        CHECK(readRun() == "C:\\first");
    }
    SUBCASE("text beyond the Western code page survives") {
        const wchar_t wide[] = L"C:\\\x65E5\x672C\\lumivane";
        putRaw(REG_SZ, wide, sizeof(wide));
        CHECK(readRun() == "C:\\\xE6\x97\xA5\xE6\x9C\xAC\\lumivane");
    }
    removeValue();
}

TEST_CASE("the real Run key: the quoted path is written as REG_SZ and deleted again") {
    removeValue();
    win32::Win32Registry registry;
    auto root = platform::RegistryRoot::LocalMachine;
    CHECK(RegPlus::SetStringValue(registry, root, startup::kRunSubkey, startup::kRunValueName,
                                  startup::RunValueData("C:\\Program Files\\Lumivane", "lumivane.exe")) ==
          ERROR_SUCCESS);
    CHECK(readRun() == "\"C:\\Program Files\\Lumivane\\lumivane\"");

    win32::UniqueKey key;
    REQUIRE(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunW, 0, KEY_QUERY_VALUE, key.put()) == ERROR_SUCCESS);
    DWORD type = 0;
    wchar_t data[128] = {};
    DWORD size = sizeof(data);
    REQUIRE(::RegQueryValueExW(key.get(), L"Lumivane", nullptr, &type, reinterpret_cast<BYTE*>(data), &size) ==
            ERROR_SUCCESS);
    const wchar_t expected[] = L"\"C:\\Program Files\\Lumivane\\lumivane\"";
    CHECK(type == REG_SZ);
    CHECK(size == sizeof(expected));  // the terminating NUL is counted
    CHECK(std::wstring(data) == expected);

    CHECK(RegPlus::DeleteValue(registry, root, startup::kRunSubkey, startup::kRunValueName) == ERROR_SUCCESS);
    CHECK(::RegQueryValueExW(key.get(), L"Lumivane", nullptr, nullptr, nullptr, nullptr) == ERROR_FILE_NOT_FOUND);
    CHECK(readRun().empty());
    // A second delete finds nothing, and says so.
    CHECK(RegPlus::DeleteValue(registry, root, startup::kRunSubkey, startup::kRunValueName) == ERROR_FILE_NOT_FOUND);
}

TEST_CASE("the real registry: a missing subkey reads as absent and is created by a write") {
    win32::Win32Registry reg;
    const std::string subkey = "Software\\LumivaneTest\\Missing";
    ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\LumivaneTest\\Missing");
    CHECK(reg.openKey(platform::RegistryRoot::CurrentUser, subkey) == nullptr);
    CHECK(RegPlus::GetStringValue(reg, platform::RegistryRoot::CurrentUser, subkey, "v").empty());
    CHECK(reg.deleteValue(platform::RegistryRoot::CurrentUser, subkey, "v") == ERROR_FILE_NOT_FOUND);
    CHECK(RegPlus::SetStringValue(reg, platform::RegistryRoot::CurrentUser, subkey, "v", "x y") == ERROR_SUCCESS);
    CHECK(RegPlus::GetStringValue(reg, platform::RegistryRoot::CurrentUser, subkey, "v") == "x y");
    CHECK(RegPlus::DeleteValue(reg, platform::RegistryRoot::CurrentUser, subkey, "v") == ERROR_SUCCESS);
    CHECK(RegPlus::GetStringValue(reg, platform::RegistryRoot::CurrentUser, subkey, "v").empty());
    ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\LumivaneTest\\Missing");
}
