// Odd registry contents under the real registry: the Run value stored in other
// types, very long, with a NUL inside, its key missing; the system information
// keys missing or naming nothing. No crash, a state that matches the registry,
// and no other value lost.
#include "about/sys_info.h"
#include "fakes/recording.h"
#include "folders/start_with_windows.h"
#include "platform/win32/files.h"
#include "platform/win32/registry.h"
#include "platform/win32/registry_read.h"
#include "platform/win32/unique.h"
#include "platform/win32/wide.h"
#include "shell/frm_folder_browse.h"

#include <doctest/doctest.h>
#include <windows.h>

#include <string>
#include <vector>

using namespace lumivane;

namespace {
const wchar_t* kRunW = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

void putRun(const wchar_t* name, DWORD type, const void* data, DWORD size) {
    win32::UniqueKey key;
    REQUIRE(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kRunW, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr) ==
            ERROR_SUCCESS);
    REQUIRE(::RegSetValueExW(key.get(), name, 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS);
}

// The value's type and data, or type 0 when it does not exist.
std::pair<DWORD, std::wstring> readRun(const wchar_t* name) {
    win32::UniqueKey key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunW, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return {0, {}};
    DWORD type = 0, size = 0;
    if (::RegQueryValueExW(key.get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {0, {}};
    std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
    ::RegQueryValueExW(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    return {type, data.c_str()};
}

struct RunCase {
    const char* name;
    DWORD type;
    std::vector<BYTE> data;
    bool counts;  // the program reads it as "starts with Windows"
};

std::vector<BYTE> bytesOf(const std::wstring& text, bool withNul = true) {
    const BYTE* p = reinterpret_cast<const BYTE*>(text.c_str());
    return std::vector<BYTE>(p, p + (text.size() + (withNul ? 1 : 0)) * sizeof(wchar_t));
}
} // namespace

TEST_CASE("odd Run values: the toggle follows the registry and no other value is lost") {
    std::wstring longText(32 * 1024, L'x');  // 64 KiB of UTF-16
    DWORD number = 1;
    std::vector<RunCase> cases = {
        {"REG_EXPAND_SZ", REG_EXPAND_SZ, bytesOf(L"%ProgramFiles%\\Lumivane\\lumivane"), false},
        {"REG_DWORD", REG_DWORD, std::vector<BYTE>(reinterpret_cast<BYTE*>(&number), reinterpret_cast<BYTE*>(&number) + 4), false},
        {"REG_BINARY", REG_BINARY, {0x43, 0x00, 0x3A, 0x00, 0xFF, 0xFE, 0x00}, false},
        {"64 KiB long", REG_SZ, bytesOf(longText), true},
        {"a NUL inside", REG_SZ, bytesOf(std::wstring(L"C:\\first\0C:\\second", 18)), true},
        {"a NUL first", REG_SZ, bytesOf(std::wstring(L"\0C:\\second", 10)), false},
        {"the Run key missing", 0, {}, false},
    };
    const std::wstring expected = L"\"C:\\Program Files\\Lumivane\\lumivane\"";
    for (const auto& c : cases) {
        CAPTURE(c.name);
        ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, kRunW);
        if (c.type != 0) {
            const wchar_t other[] = L"C:\\Other\\other.exe";
            putRun(L"Other", REG_SZ, other, sizeof(other));
            putRun(L"Lumivane", c.type, c.data.data(), static_cast<DWORD>(c.data.size()));
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
            auto [type, data] = readRun(L"Lumivane");
            if (form.RunAtStartup) {
                CHECK(type == REG_SZ);
                CHECK(data == expected);
            } else {
                CHECK(type == 0);
            }
        }
        CHECK_FALSE(os.log.contains("messageBox"));
        if (c.type != 0) CHECK(readRun(L"Other") == std::make_pair(DWORD{REG_SZ}, std::wstring(L"C:\\Other\\other.exe")));
    }
    ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, kRunW);
    win32::UniqueKey run;
    ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kRunW, 0, nullptr, 0, KEY_SET_VALUE, nullptr, run.put(), nullptr);
}

namespace {
// Starts nothing; a program "starts" when its file exists, as CreateProcess would.
struct ExistingPrograms final : platform::Processes {
    win32::Win32FileSystem fs;
    std::vector<std::string> started;
    bool start(const std::string& commandLine, int) override {
        std::string program = commandLine;
        if (!program.empty() && program.front() == '"') program = program.substr(1, program.find('"', 1) - 1);
        if (!fs.fileExists(program)) return false;
        started.push_back(program);
        return true;
    }
};

void putMachineString(const wchar_t* subkey, const wchar_t* name, DWORD type, const std::wstring& text) {
    win32::UniqueKey key;
    REQUIRE(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, subkey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr) ==
            ERROR_SUCCESS);
    REQUIRE(::RegSetValueExW(key.get(), name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                             static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS);
}
} // namespace

TEST_CASE("system information keys missing or naming nothing: the program in the system folder, or one message") {
    const wchar_t* kInfo = L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
    const wchar_t* kLocation = L"SOFTWARE\\Microsoft\\Shared Tools Location";
    wchar_t system[MAX_PATH];
    ::GetSystemDirectoryW(system, MAX_PATH);
    const std::string systemDir = win32::narrow(system);
    win32::Win32FileSystem fs;
    REQUIRE(fs.fileExists(systemDir + "\\msinfo32.exe"));

    struct Setup {
        const char* name;
        void (*prepare)();
        bool systemFolderKnown;
    };
    static const wchar_t* info = kInfo;
    static const wchar_t* location = kLocation;
    std::vector<Setup> setups = {
        {"both keys missing", [] {}, true},
        {"PATH names nothing", [] { putMachineString(info, L"PATH", REG_SZ, L"C:\\Nowhere\\msinfo32.exe"); }, true},
        {"PATH of another type", [] { putMachineString(info, L"PATH", REG_EXPAND_SZ, L"%windir%\\msinfo32.exe"); },
         true},
        {"the location names nothing", [] { putMachineString(location, L"MSINFO", REG_SZ, L"C:\\Nowhere"); }, true},
        {"nothing anywhere", [] {}, false},
    };
    for (const auto& setup : setups) {
        CAPTURE(setup.name);
        ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, kInfo);
        ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, kLocation);
        setup.prepare();
        fakes::CallLog log;
        fakes::FakeMessageBoxes boxes(log);
        win32::Win32RegistryReader reader;
        ExistingPrograms programs;
        about::SysInfoServices os{reader, fs, programs, boxes, setup.systemFolderKnown ? systemDir : "C:\\NoSystem"};
        about::StartSysInfo(os);
        if (setup.systemFolderKnown) {
            CHECK(programs.started == std::vector<std::string>{systemDir + "\\msinfo32.exe"});
            CHECK(log.calls.empty());
        } else {
            CHECK(programs.started.empty());
            CHECK(log.calls == std::vector<std::string>{"messageBox(" + std::string(about::kSysInfoUnavailable) +
                                                        "|Lumivane|0)"});
        }
    }
    ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, kInfo);
    ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, kLocation);
}
