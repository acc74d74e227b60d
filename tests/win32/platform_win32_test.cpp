// The program against the real system: its Run value among odd registry
// contents, the programs it starts, and two copies racing to start.
#include "fakes/recording.h"
#include "folders/start_with_windows.h"
#include "platform/win32/process.h"
#include "platform/win32/registry.h"
#include "platform/win32/unique.h"
#include "platform/win32/wide.h"
#include "shell/hub.h"

#include <doctest/doctest.h>
#include <windows.h>

#include <string>
#include <vector>

using namespace lumivane;

namespace {
const wchar_t* kRunW = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

void putRun(const wchar_t* name, DWORD type, const void* data, size_t size) {
    win32::UniqueKey key;
    REQUIRE(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kRunW, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr) == 0);
    REQUIRE(::RegSetValueExW(key.get(), name, 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(size)) == 0);
}

// "type size text" of a Run value, or "" when there is none.
std::string readRun(const wchar_t* name) {
    win32::UniqueKey key;
    DWORD type = 0, size = 0;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunW, 0, KEY_QUERY_VALUE, key.put()) != 0 ||
        ::RegQueryValueExW(key.get(), name, nullptr, &type, nullptr, &size) != 0)
        return "";
    std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
    ::RegQueryValueExW(key.get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()), &size);
    return std::to_string(type) + " " + std::to_string(size) + " " + win32::narrow(data.c_str());
}

std::vector<BYTE> bytesOf(const std::wstring& text) {
    const BYTE* p = reinterpret_cast<const BYTE*>(text.c_str());
    return std::vector<BYTE>(p, p + (text.size() + 1) * sizeof(wchar_t));
}
} // namespace

TEST_CASE("odd Run values: the item follows the registry, writes its REG_SZ whole, and loses no other value") {
    const struct {
        const char* name;
        DWORD type;  // 0: the Run key missing
        std::vector<BYTE> data;
        bool counts;  // read as "starts with Windows"
    } cases[] = {
        {"REG_EXPAND_SZ", REG_EXPAND_SZ, bytesOf(L"%ProgramFiles%\\Lumivane\\lumivane"), false},
        {"REG_BINARY", REG_BINARY, {0x43, 0x00, 0x3A, 0x00, 0xFF, 0xFE, 0x00}, false},
        {"empty, with its NUL", REG_SZ, bytesOf(L""), false},
        {"empty, without", REG_SZ, {}, false},
        {"64 KiB long", REG_SZ, bytesOf(std::wstring(32 * 1024, L'x')), true},
        {"a NUL inside", REG_SZ, bytesOf(std::wstring(L"C:\\first\0C:\\second", 18)), true},
        {"a NUL first", REG_SZ, bytesOf(std::wstring(L"\0C:\\second", 10)), false},
        {"another folder, beyond the code page", REG_SZ, bytesOf(L"\"D:\\\x65E5\x672C\\lumivane\""), true},
        {"the Run key missing", 0, {}, false},
    };
    const std::string mine = "1 74 \"C:\\Program Files\\Lumivane\\lumivane\"";  // REG_SZ, its NUL counted
    const wchar_t other[] = L"C:\\Other\\other.exe";
    for (const auto& c : cases) {
        CAPTURE(c.name);
        ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, kRunW);
        if (c.type != 0) {
            putRun(L"Other", REG_SZ, other, sizeof(other));
            putRun(L"Lumivane", c.type, c.data.data(), c.data.size());
        }
        fakes::FakeOs os;
        win32::Win32Registry registry;
        Services services = os.withRegistry(registry, "C:\\Program Files\\Lumivane");
        fakes::FakeHubHost host(os.log);
        Hub hub(host, services);
        hub.start();
        CHECK(hub.startsWithWindows == c.counts);
        CHECK(hub.popupMenu.find("startWithWindows")->caption == start_with_windows::startupCaption(c.counts));
        // Two clicks: each time the state flips and the registry says so.
        for (int click = 0; click < 2; ++click) {
            hub.onStartWithWindows();
            CHECK(hub.startsWithWindows == (click == 0 ? !c.counts : c.counts));
            CHECK(readRun(L"Lumivane") == (hub.startsWithWindows ? mine : ""));
        }
        CHECK_FALSE(os.log.contains("messageBox"));
        if (c.type != 0) CHECK(readRun(L"Other") == "1 38 C:\\Other\\other.exe");
    }
    // Gone already, the value and then its key: the status says so.
    win32::Win32Registry registry;
    auto root = platform::RegistryRoot::LocalMachine;
    CHECK(registry.deleteValue(root, start_with_windows::kRunSubkey, start_with_windows::kRunValueName) == ERROR_FILE_NOT_FOUND);
    ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, kRunW);
    CHECK(registry.deleteValue(root, start_with_windows::kRunSubkey, start_with_windows::kRunValueName) == ERROR_FILE_NOT_FOUND);
}

namespace {
std::vector<std::string> g_boxes;

// Notes each message box as it comes up, "title|text", and closes it with OK.
LRESULT CALLBACK closeBoxes(int code, WPARAM wParam, LPARAM lParam) {
    HWND box = reinterpret_cast<HWND>(wParam);
    wchar_t cls[32] = {}, text[512] = {};
    if (code == HCBT_ACTIVATE && ::GetClassNameW(box, cls, 32) && std::wstring(cls) == L"#32770") {
        ::GetDlgItemTextW(box, 0xFFFF, text, 512);
        wchar_t title[64] = {};
        ::GetWindowTextW(box, title, 64);
        g_boxes.push_back(win32::narrow(title) + "|" + win32::narrow(text));
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
} // namespace

TEST_CASE("starting programs: not waited for; a failure told once, naming the command, or left to the caller") {
    HHOOK hook = ::SetWindowsHookExW(WH_CBT, closeBoxes, nullptr, ::GetCurrentThreadId());
    win32::Win32Processes processes;
    CHECK_FALSE(processes.start("lumivane-no-such-program.exe C:\\", SW_SHOWNORMAL));
    REQUIRE(g_boxes.size() == 1);
    CHECK(g_boxes[0].rfind("Lumivane|", 0) == 0);
    CHECK(g_boxes[0].find("lumivane-no-such-program.exe C:\\") != std::string::npos);

    // A program that runs until it is told to stop: start returns anyway.
    ULONGLONG before = ::GetTickCount64();
    CHECK(processes.start("cmd.exe /c ping -n 30 127.0.0.1 >NUL", SW_SHOWMINIMIZED));
    CHECK(::GetTickCount64() - before < 5000);

    win32::Win32Processes quiet(win32::Win32Processes::OnFailure::Silent);
    CHECK_FALSE(quiet.start("C:\\nowhere\\missing.exe", SW_SHOWNORMAL));
    CHECK_FALSE(quiet.start("", SW_SHOWNORMAL));
    CHECK(g_boxes.size() == 1);
    ::UnhookWindowsHookEx(hook);
}

namespace {
// A top-level window of that process and class (and title, unless null).
HWND windowOf(DWORD pid, const wchar_t* cls, const wchar_t* title) {
    for (HWND w = ::FindWindowExW(nullptr, nullptr, cls, title); w; w = ::FindWindowExW(nullptr, w, cls, title)) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(w, &owner);
        if (owner == pid) return w;
    }
    return nullptr;
}
} // namespace

TEST_CASE("two copies started at the same instant, twenty times: one runs, the other says so and ends") {
    // The build's program, copied into the prefix so its settings file is written there.
    wchar_t built[MAX_PATH] = {}, temp[MAX_PATH] = {};
    REQUIRE_MESSAGE(::GetEnvironmentVariableW(L"LUMIVANE_EXE", built, MAX_PATH), "run this test through ctest");
    std::wstring source = L"Z:" + std::wstring(built);
    for (auto& c : source) c = c == L'/' ? L'\\' : c;
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring exe = std::wstring(temp) + L"lumivane.exe";
    REQUIRE(::CopyFileW(source.c_str(), exe.c_str(), FALSE));

    for (int round = 0; round < 20; ++round) {
        CAPTURE(round);
        // Created suspended and resumed back to back, they reach the single-instance check together.
        PROCESS_INFORMATION pi[2] = {};
        win32::UniqueHandle process[2], thread[2];
        for (int k = 0; k < 2; ++k) {
            STARTUPINFOW si{};
            si.cb = sizeof(si);
            std::wstring line = L"\"" + exe + L"\"";
            // Wine now and then fails a process start on a loaded machine; the
            // race under test begins at ResumeThread, so a failed start is tried again.
            BOOL made = FALSE;
            DWORD error = 0;
            for (int attempt = 0; attempt < 5 && !made; ++attempt) {
                if (attempt > 0) ::Sleep(200);
                made = ::CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                                        nullptr, &si, &pi[k]);
                if (!made) error = ::GetLastError();
            }
            CAPTURE(error);
            REQUIRE(made);
            if (error) MESSAGE("a process start failed with error " << error << " and was tried again");
            process[k].reset(pi[k].hProcess);
            thread[k].reset(pi[k].hThread);
        }
        ::ResumeThread(thread[0].get());
        ::ResumeThread(thread[1].get());

        // Whichever copy shows the box, the other must live and show none.
        HWND box = nullptr, hub = nullptr;
        int refused = -1;
        for (DWORD waited = 0; !box && waited < 30000; waited += 20) {
            for (int k = 0; k < 2 && !box; ++k)
                if ((box = windowOf(pi[k].dwProcessId, L"#32770", L"Lumivane")) != nullptr) refused = k;
            if (!box) ::Sleep(20);
        }
        REQUIRE(box != nullptr);
        const int survivor = 1 - refused;
        wchar_t text[128] = {};
        ::GetDlgItemTextW(box, 0xFFFF, text, 128);
        CHECK(win32::narrow(text) == "Already running");
        // Refused before any window: the running copy's hub is the only one a command can find.
        CHECK(windowOf(pi[refused].dwProcessId, L"LumivaneHub", nullptr) == nullptr);
        for (DWORD waited = 0; !(hub = windowOf(pi[survivor].dwProcessId, L"LumivaneHub", nullptr)) && waited < 30000;
             waited += 20)
            ::Sleep(20);
        CHECK(hub != nullptr);
        CHECK(windowOf(pi[survivor].dwProcessId, L"#32770", L"Lumivane") == nullptr);

        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        CHECK(::WaitForSingleObject(process[refused].get(), 15000) == WAIT_OBJECT_0);
        CHECK(::WaitForSingleObject(process[survivor].get(), 0) == WAIT_TIMEOUT);
        if (hub) ::PostMessageW(hub, WM_CLOSE, 0, 0);
        if (::WaitForSingleObject(process[survivor].get(), 15000) != WAIT_OBJECT_0) {
            ::TerminateProcess(process[survivor].get(), 1);
            ::WaitForSingleObject(process[survivor].get(), 15000);
        }
    }
}
