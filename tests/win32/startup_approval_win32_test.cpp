// Start-up switched off in Windows's own list, against the real registry: the
// mark of the Run value read and turned back on where Windows keeps it, for a
// program of the system's width and for a 32-bit one on 64-bit Windows.
#include "fakes/recording.h"
#include "folders/start_with_windows.h"
#include "folders/startup_approval.h"
#include "platform/win32/registry.h"
#include "platform/win32/unique.h"
#include "platform/win32/wide.h"
#include "shell/hub.h"

#include <doctest/doctest.h>
#include <windows.h>
#include <sddl.h>

#include <string>

using namespace lumivane;
using namespace lumivane::startup_approval;

namespace {
const auto kMachine = platform::RegistryRoot::LocalMachine;
const auto kNative = platform::RegistryView::Native;

// A view of the registry as raw calls name it.
struct View {
    const char* name;
    REGSAM access;
};
constexpr View k64{"64-bit view", KEY_WOW64_64KEY};
constexpr View k32{"32-bit view", KEY_WOW64_32KEY};

void put(View view, const char* subkey, const wchar_t* name, DWORD type, const std::string& bytes,
         HKEY root = HKEY_LOCAL_MACHINE) {
    win32::UniqueKey key;
    REQUIRE(::RegCreateKeyExW(root, win32::widen(subkey).c_str(), 0, nullptr, 0,
                              KEY_SET_VALUE | view.access, nullptr, key.put(), nullptr) == ERROR_SUCCESS);
    REQUIRE(::RegSetValueExW(key.get(), name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                             static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS);
}

// "type:bytes" of a value, or "" when there is none.
std::string get(View view, const char* subkey, const wchar_t* name, HKEY root = HKEY_LOCAL_MACHINE) {
    win32::UniqueKey key;
    if (::RegOpenKeyExW(root, win32::widen(subkey).c_str(), 0, KEY_QUERY_VALUE | view.access,
                        key.put()) != ERROR_SUCCESS)
        return "";
    std::string bytes(4096, '\0');
    DWORD type = 0, size = static_cast<DWORD>(bytes.size());
    if (::RegQueryValueExW(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()), &size) !=
        ERROR_SUCCESS)
        return "";
    bytes.resize(size);
    return std::to_string(type) + ":" + bytes;
}

void remove(View view, const char* subkey, const wchar_t* name, HKEY root = HKEY_LOCAL_MACHINE) {
    win32::UniqueKey key;
    if (::RegOpenKeyExW(root, win32::widen(subkey).c_str(), 0, KEY_SET_VALUE | view.access,
                        key.put()) == ERROR_SUCCESS)
        ::RegDeleteValueW(key.get(), name);
}

std::string binary(const std::string& bytes) { return "3:" + bytes; }

bool runsAs32BitOn64() {
    BOOL wow64 = FALSE;
    return ::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64;
}
// A 32-bit system has one view; these tests are about the two of 64-bit Windows.
const bool kOneView = sizeof(void*) == 4 && !runsAs32BitOn64();

const std::string kOff3 = std::string("\x03\0\0\0\x17\x79\xBD\x01\x17\xD9\xD1\x01", 12);
const std::string kOff7 = std::string("\x07\0\0\0\x71\xC9\x33\xAE\x16\xD9\xD1\x01", 12);
const std::string kOn = std::string("\x02\0\0\0\0\0\0\0\0\0\0\0", 12);
} // namespace

TEST_CASE("the registry's views, and a binary value read whole, told too large with its size, or missing" *
          doctest::skip(kOneView)) {
    win32::Win32Registry own;
    CHECK(own.ownViewIs32BitOn64() == runsAs32BitOn64());
    CHECK(win32::Win32Registry::As32BitProgram().ownViewIs32BitOn64());
    // Where each call lands is checked by the test below, through the marks and the Run value.
    const wchar_t* name = L"Lumivane";
    put(k64, kApprovedRunSubkey, name, REG_BINARY, kOff3);
    auto whole = own.queryValue(kMachine, kApprovedRunSubkey, "Lumivane", 13, kNative);
    CHECK(whole.status == ERROR_SUCCESS);
    CHECK(whole.type == REG_BINARY);
    CHECK(whole.size == 12);
    CHECK(whole.bytes == kOff3);
    put(k64, kApprovedRunSubkey, name, REG_BINARY, kOff3 + kOff3);
    auto large = own.queryValue(kMachine, kApprovedRunSubkey, "Lumivane", 13, kNative);
    CHECK(large.status == ERROR_MORE_DATA);
    CHECK(large.size == 24);
    CHECK(large.bytes.empty());
    CHECK(own.queryValue(kMachine, kApprovedRunSubkey, "Nothing", 13, kNative).status == ERROR_FILE_NOT_FOUND);
    CHECK(own.queryValue(kMachine, "SOFTWARE\\Lumivane-no-such-key", "Lumivane", 13, kNative).status ==
          ERROR_FILE_NOT_FOUND);
    remove(k64, kApprovedRunSubkey, name);
}

TEST_CASE("on the real registry, for this program and a 32-bit one on 64-bit Windows: the mark found where Windows "
          "keeps it, turned back to 2 and zeros, and the item saying so" *
          doctest::skip(kOneView)) {
    const bool ownIs32 = runsAs32BitOn64();
    struct Layout {
        const char* name;
        win32::Win32Registry registry;
        View runView;        // where its Run value lives
        const char* mine;    // where its mark lives, in the 64-bit view
        const char* others;  // the mark of a Run value of the other view
    } layouts[] = {
        {"this program", win32::Win32Registry(), ownIs32 ? k32 : k64,
         ownIs32 ? kApprovedRun32Subkey : kApprovedRunSubkey, ownIs32 ? kApprovedRunSubkey : kApprovedRun32Subkey},
        {"a 32-bit program on 64-bit Windows", win32::Win32Registry::As32BitProgram(), k32, kApprovedRun32Subkey,
         kApprovedRunSubkey},
    };
    const wchar_t* name = L"Lumivane";
    auto sz = [](const std::wstring& t) {
        return std::string(reinterpret_cast<const char*>(t.c_str()), (t.size() + 1) * sizeof(wchar_t));
    };
    for (auto& layout : layouts) {
        CAPTURE(layout.name);
        for (auto* subkey : {kApprovedRunSubkey, kApprovedRun32Subkey, start_with_windows::kRunSubkey})
            for (View view : {k64, k32}) remove(view, subkey, name);
        // The other view's program of the same name was switched off, and a mark lies in the
        // 32-bit view, where Windows never looks; this one was not switched off.
        put(k64, layout.others, name, REG_BINARY, kOff3);
        put(k32, layout.mine, name, REG_BINARY, kOff3);
        CHECK_FALSE(runValueMarkedDisabled(layout.registry, kMachine, "Lumivane"));
        CHECK(clearDisabledMark(layout.registry, kMachine, "Lumivane") == ERROR_SUCCESS);
        CHECK(get(k64, layout.mine, name) == "");

        const struct {
            const char* what;
            DWORD type;
            std::string bytes;
            bool off;
        } marks[] = {
            {"3 and a time", REG_BINARY, kOff3, true},
            {"7 and a time", REG_BINARY, kOff7, true},
            {"2", REG_BINARY, kOn, false},
            {"6", REG_BINARY, std::string("\x06\0\0\0\0\0\0\0\0\0\0\0", 12), false},
            {"3, short", REG_BINARY, kOff3.substr(0, 8), false},
            {"3, long", REG_BINARY, kOff3 + kOff3, false},
            {"3 as REG_DWORD", REG_DWORD, kOff3.substr(0, 4), false},
        };
        for (const auto& mark : marks) {
            CAPTURE(mark.what);
            put(k64, layout.mine, name, mark.type, mark.bytes);
            CHECK(runValueMarkedDisabled(layout.registry, kMachine, "Lumivane") == mark.off);
            CHECK(clearDisabledMark(layout.registry, kMachine, "Lumivane") == ERROR_SUCCESS);
            CHECK(get(k64, layout.mine, name) ==
                  (mark.off ? binary(kOn) : std::to_string(mark.type) + ":" + mark.bytes));
            CHECK_FALSE(runValueMarkedDisabled(layout.registry, kMachine, "Lumivane"));
        }
        CHECK(get(k64, layout.others, name) == binary(kOff3));
        CHECK(get(k32, layout.mine, name) == binary(kOff3));

        // The item: a Run value of another copy, marked off, says so; choosing it starts this one again.
        put(layout.runView, start_with_windows::kRunSubkey, name, REG_SZ, sz(L"\"D:\\Old\\lumivane\""));
        put(k64, layout.mine, name, REG_BINARY, kOff3);
        fakes::FakeOs os;
        Services services = os.withRegistry(layout.registry, "C:\\Program Files\\Lumivane");
        fakes::FakeHubHost host(os.log);
        Hub hub(host, services);
        hub.start();
        CHECK(hub.popupMenu.find("startWithWindows")->caption == "Don't Load at Startup");
        hub.onStartWithWindows();
        CHECK(get(layout.runView, start_with_windows::kRunSubkey, name) ==
              "1:" + sz(L"\"C:\\Program Files\\Lumivane\\lumivane\""));
        CHECK(get(k64, layout.mine, name) == binary(kOn));
        CHECK(hub.popupMenu.find("startWithWindows")->caption == "Load at Startup");
        hub.onStartWithWindows();
        CHECK(get(layout.runView, start_with_windows::kRunSubkey, name) == "");
        CHECK(get(k64, layout.mine, name) == binary(kOn));
        CHECK(hub.popupMenu.find("startWithWindows")->caption == "Don't Load at Startup");
        CHECK_FALSE(os.log.contains("messageBox"));
    }
}

namespace {
// The machine's Run key as a user without administrator rights meets it: a
// protected DACL that lets everyone read and no one write, for the rest of
// this prefix's life (each test file runs in a prefix of its own).
void makeReadOnly(const char* subkey) {
    PSECURITY_DESCRIPTOR readOnly = nullptr;
    REQUIRE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KR;;;WD)", SDDL_REVISION_1, &readOnly,
                                                                   nullptr));
    win32::UniqueKey key;
    REQUIRE(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, win32::widen(subkey).c_str(), 0, WRITE_DAC, key.put()) ==
            ERROR_SUCCESS);
    CHECK(::RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, readOnly) == ERROR_SUCCESS);
    ::LocalFree(readOnly);
    win32::UniqueKey writable;
    REQUIRE(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, win32::widen(subkey).c_str(), 0, KEY_SET_VALUE, writable.put()) ==
            ERROR_ACCESS_DENIED);
}

// The start-up item's text in the latest popup.
std::string shownCaption(const fakes::FakeOs& os) {
    for (const auto& line : os.tray.popups.back())
        if (line.id == menu_id::kStartWithWindows) return line.text;
    return "(no start-up item)";
}
} // namespace

// Last in this file: the machine's Run key stays read-only afterwards.
TEST_CASE("a user without administrator rights, on the real registry: the user's Run value, its mark on again, the "
          "machine's value said to stay, and changes seen through the registry's own notice") {
    const wchar_t* name = L"Lumivane";
    const View own = runsAs32BitOn64() ? k32 : k64;
    const auto sz = [](const std::wstring& t) {
        return std::string(reinterpret_cast<const char*>(t.c_str()), (t.size() + 1) * sizeof(wchar_t));
    };
    const std::string mine = sz(L"\"C:\\Program Files\\Lumivane\\lumivane\"");
    for (auto* subkey : {kApprovedRunSubkey, kApprovedRun32Subkey, start_with_windows::kRunSubkey})
        for (View view : {k64, k32}) remove(view, subkey, name);
    remove(k64, start_with_windows::kRunSubkey, name, HKEY_CURRENT_USER);
    // The user's StartupApproved keys do not exist yet: their watch stands on Explorer's key.
    ::RegDeleteKeyW(HKEY_CURRENT_USER, win32::widen(kApprovedRunSubkey).c_str());
    ::RegDeleteKeyW(HKEY_CURRENT_USER, win32::widen(kApprovedRun32Subkey).c_str());
    ::RegDeleteKeyW(HKEY_CURRENT_USER, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved");
    put(own, start_with_windows::kRunSubkey, name, REG_SZ, mine);  // an administrator's, for every user
    makeReadOnly(start_with_windows::kRunSubkey);

    // Explorer writes below its own key all the time; the watch standing on a parent ignores it.
    const char* recent = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs";
    const char* recentType = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs\\.txt";
    put(k64, recent, L"MRUList", REG_SZ, sz(L"a"), HKEY_CURRENT_USER);

    win32::Win32Registry registry;
    auto watch = registry.watch(start_with_windows::watchedKeys(registry));
    CHECK_FALSE(watch->changed());
    put(k64, recent, L"MRUList", REG_SZ, sz(L"ba"), HKEY_CURRENT_USER);
    put(k64, recentType, L"0", REG_SZ, sz(L"notes.txt"), HKEY_CURRENT_USER);
    CHECK_FALSE(watch->changed());
    put(k64, kApprovedRunSubkey, name, REG_BINARY, kOff3, HKEY_CURRENT_USER);  // the key is made with it
    CHECK(watch->changed());
    CHECK(watch->changed());  // said until a new watch begins

    fakes::FakeOs os;
    Services services = os.withRegistry(registry, "C:\\Program Files\\Lumivane");
    fakes::FakeHubHost host(os.log);
    Hub hub(host, services);
    hub.start();
    CHECK(hub.popupMenu.find("startWithWindows")->caption == "Load at Startup");
    hub.onStartWithWindows();
    CHECK(os.log.only({"messageBox"}) ==
          std::vector<std::string>{"messageBox(" + start_with_windows::machineValueStaysText() + "|Lumivane|48)"});
    CHECK(get(own, start_with_windows::kRunSubkey, name) == "1:" + mine);
    CHECK(hub.popupMenu.find("startWithWindows")->caption == "Load at Startup");

    // Switched off in Task Manager: the next opening knows it from the registry's notice.
    os.tray.choice = 0;
    hub.onTrayMessage(0x0205);  // WM_RBUTTONUP
    CHECK(shownCaption(os) == "Load at Startup");
    put(k64, startup_approval::markSubkeyFor(platform::RegistryRoot::LocalMachine, runsAs32BitOn64()), name,
        REG_BINARY, kOff7);
    hub.onTrayMessage(0x0205);
    CHECK(shownCaption(os) == "Don't Load at Startup");

    // On again: the user's own value with the program's path, and the user's mark says on.
    os.log.calls.clear();
    hub.onStartWithWindows();
    CHECK_FALSE(os.log.contains("messageBox"));
    CHECK(get(k64, start_with_windows::kRunSubkey, name, HKEY_CURRENT_USER) == "1:" + mine);
    CHECK(get(k64, kApprovedRunSubkey, name, HKEY_CURRENT_USER) == binary(kOn));
    CHECK(hub.popupMenu.find("startWithWindows")->caption == "Load at Startup");
    // Off: the user's value goes; the machine's stays, switched off, and nothing is said.
    hub.onStartWithWindows();
    CHECK_FALSE(os.log.contains("messageBox"));
    CHECK(get(k64, start_with_windows::kRunSubkey, name, HKEY_CURRENT_USER) == "");
    CHECK(get(own, start_with_windows::kRunSubkey, name) == "1:" + mine);
    CHECK(hub.popupMenu.find("startWithWindows")->caption == "Don't Load at Startup");
}
