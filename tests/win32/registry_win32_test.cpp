// The real registry behind start-up's Run value: odd types, sizes and NULs,
// a missing key, and the neighbours left alone.
#include "fakes/recording.h"
#include "folders/start_with_windows.h"
#include "platform/win32/registry.h"
#include "platform/win32/unique.h"
#include "shell/frm_folder_browse.h"

#include <doctest/doctest.h>
#include <windows.h>

#include <string>
#include <vector>

using namespace lumivane;

namespace {
const wchar_t* kRunW = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

void put(const wchar_t* subkey, const wchar_t* name, DWORD type, const void* data, size_t size) {
    win32::UniqueKey key;
    REQUIRE(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, subkey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr) ==
            ERROR_SUCCESS);
    REQUIRE(::RegSetValueExW(key.get(), name, 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(size)) ==
            ERROR_SUCCESS);
}

struct Stored {
    DWORD type = 0;  // 0: no such value
    DWORD size = 0;
    std::wstring text;
    bool operator==(const Stored&) const = default;
};

Stored readRun(const wchar_t* name) {
    win32::UniqueKey key;
    Stored out;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunW, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return out;
    if (::RegQueryValueExW(key.get(), name, nullptr, &out.type, nullptr, &out.size) != ERROR_SUCCESS) return {};
    std::wstring data(out.size / sizeof(wchar_t) + 1, L'\0');
    DWORD size = out.size;
    ::RegQueryValueExW(key.get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()), &size);
    out.text = data.c_str();
    return out;
}

std::vector<BYTE> bytesOf(const std::wstring& text, bool withNul = true) {
    const BYTE* p = reinterpret_cast<const BYTE*>(text.c_str());
    return std::vector<BYTE>(p, p + (text.size() + (withNul ? 1 : 0)) * sizeof(wchar_t));
}
} // namespace

TEST_CASE("odd Run values: the item follows the registry, writes its REG_SZ whole, and loses no other value") {
    struct RunCase {
        const char* name;
        DWORD type;  // 0: the Run key missing
        std::vector<BYTE> data;
        bool counts;  // read as "starts with Windows"
    };
    DWORD number = 1;
    const std::vector<RunCase> cases = {
        {"REG_EXPAND_SZ", REG_EXPAND_SZ, bytesOf(L"%ProgramFiles%\\Lumivane\\lumivane"), false},
        {"REG_DWORD", REG_DWORD, std::vector<BYTE>(reinterpret_cast<BYTE*>(&number), reinterpret_cast<BYTE*>(&number) + 4), false},
        {"REG_BINARY", REG_BINARY, {0x43, 0x00, 0x3A, 0x00, 0xFF, 0xFE, 0x00}, false},
        {"empty, with its NUL", REG_SZ, bytesOf(L""), false},
        {"empty, without", REG_SZ, {}, false},
        {"64 KiB long", REG_SZ, bytesOf(std::wstring(32 * 1024, L'x')), true},
        {"a NUL inside", REG_SZ, bytesOf(std::wstring(L"C:\\first\0C:\\second", 18)), true},
        {"a NUL first", REG_SZ, bytesOf(std::wstring(L"\0C:\\second", 10)), false},
        {"another folder, beyond the code page", REG_SZ, bytesOf(L"\"D:\\\x65E5\x672C\\lumivane\""), true},
        {"the Run key missing", 0, {}, false},
    };
    const Stored mine{REG_SZ, sizeof(L"\"C:\\Program Files\\Lumivane\\lumivane\""),
                      L"\"C:\\Program Files\\Lumivane\\lumivane\""};
    const wchar_t other[] = L"C:\\Other\\other.exe";
    for (const auto& c : cases) {
        CAPTURE(c.name);
        ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, kRunW);
        if (c.type != 0) {
            put(kRunW, L"Other", REG_SZ, other, sizeof(other));
            put(kRunW, L"Lumivane", c.type, c.data.data(), c.data.size());
        }
        fakes::FakeOs os;
        win32::Win32Registry registry;
        Services services{os.instance, os.boxes, os.files, os.codec, "C:\\Program Files\\Lumivane", os.tray,
                          os.menuEngine, os.processes, os.desktop, os.osVersion, os.drives, os.mci, os.turnMonOff,
                          registry, os.folderPicker, "lumivane.exe", os.aboutBox};
        fakes::FakeFormHost host(os.log);
        frmFolderBrowse form(host, services);
        form.Form_Load();
        CHECK(form.RunAtStartup == c.counts);
        CHECK(form.mnuPopup.find("mnuRunAtStartUp")->caption == startup::StartupCaption(c.counts));

        // Two clicks: each time the state flips and the registry says so.
        for (int click = 0; click < 2; ++click) {
            bool before = form.RunAtStartup;
            form.mnuRunAtStartUp_Click();
            CHECK(form.RunAtStartup == !before);
            CHECK(readRun(L"Lumivane") == (form.RunAtStartup ? mine : Stored{}));
        }
        CHECK_FALSE(os.log.contains("messageBox"));
        if (c.type != 0) CHECK(readRun(L"Other") == Stored{REG_SZ, sizeof(other), other});
    }
    win32::Win32Registry registry;
    auto root = platform::RegistryRoot::LocalMachine;
    registry.deleteValue(root, startup::kRunSubkey, startup::kRunValueName);
    CHECK(registry.deleteValue(root, startup::kRunSubkey, startup::kRunValueName) == ERROR_FILE_NOT_FOUND);
    ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, kRunW);
    CHECK(registry.deleteValue(root, startup::kRunSubkey, startup::kRunValueName) == ERROR_FILE_NOT_FOUND);
    win32::UniqueKey run;
    ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kRunW, 0, nullptr, 0, KEY_SET_VALUE, nullptr, run.put(), nullptr);
}
