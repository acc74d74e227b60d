// Two copies of the real program started at the same instant, again and again:
// exactly one may survive, the other says "Already running" and ends. Every
// round after the first also shows that an ended copy leaves no lock behind.
#include "platform/win32/unique.h"

#include <doctest/doctest.h>
#include <windows.h>

#include <string>

using namespace lumivane;

namespace {

// The build's program, copied into the prefix so its settings file is written
// there and not into the build tree.
std::wstring installedProgram() {
    wchar_t built[MAX_PATH] = {};
    if (!::GetEnvironmentVariableW(L"LUMIVANE_EXE", built, MAX_PATH)) return {};
    std::wstring source = L"Z:" + std::wstring(built);
    for (auto& c : source)
        if (c == L'/') c = L'\\';
    wchar_t base[MAX_PATH];
    ::GetTempPathW(MAX_PATH, base);
    std::wstring dir = std::wstring(base) + L"lmv-two-copies";
    ::CreateDirectoryW(dir.c_str(), nullptr);
    std::wstring target = dir + L"\\lumivane.exe";
    return ::CopyFileW(source.c_str(), target.c_str(), FALSE) ? target : std::wstring();
}

struct Found {
    DWORD pid;
    const wchar_t* cls;
    const wchar_t* title;  // null: any
    HWND hwnd = nullptr;
};

BOOL CALLBACK matchWindow(HWND hwnd, LPARAM param) {
    auto* want = reinterpret_cast<Found*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    wchar_t cls[64] = {}, title[64] = {};
    ::GetClassNameW(hwnd, cls, 64);
    ::GetWindowTextW(hwnd, title, 64);
    if (pid == want->pid && std::wstring(cls) == want->cls && (!want->title || std::wstring(title) == want->title)) {
        want->hwnd = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND windowOf(DWORD pid, const wchar_t* cls, const wchar_t* title) {
    Found want{pid, cls, title};
    ::EnumWindows(&matchWindow, reinterpret_cast<LPARAM>(&want));
    return want.hwnd;
}

} // namespace

TEST_CASE("two copies started at the same instant leave exactly one running") {
    std::wstring exe = installedProgram();
    REQUIRE_MESSAGE(!exe.empty(), "LUMIVANE_EXE is not set or cannot be copied: run this test through ctest");
    for (int round = 0; round < 20; ++round) {
        CAPTURE(round);
        // Both are created suspended and resumed back to back, so they reach the
        // single-instance check together.
        PROCESS_INFORMATION pi[2] = {};
        for (auto& p : pi) {
            STARTUPINFOW si{};
            si.cb = sizeof(si);
            std::wstring line = L"\"" + exe + L"\"";
            REQUIRE(::CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                                     nullptr, &si, &p));
        }
        win32::UniqueHandle process[2] = {win32::UniqueHandle(pi[0].hProcess), win32::UniqueHandle(pi[1].hProcess)};
        win32::UniqueHandle thread[2] = {win32::UniqueHandle(pi[0].hThread), win32::UniqueHandle(pi[1].hThread)};
        ::ResumeThread(thread[0].get());
        ::ResumeThread(thread[1].get());

        // The refused copy shows its box; whichever it is, the other must live.
        HWND box = nullptr;
        int refused = -1;
        for (DWORD waited = 0; !box && waited < 30000; waited += 20) {
            for (int k = 0; k < 2 && !box; ++k)
                if ((box = windowOf(pi[k].dwProcessId, L"#32770", L"Lumivane")) != nullptr) refused = k;
            if (!box) ::Sleep(20);
        }
        REQUIRE(box != nullptr);
        int survivor = 1 - refused;
        wchar_t text[128] = {};
        ::GetDlgItemTextW(box, 0xFFFF, text, 128);
        CHECK(std::wstring(text) == L"Already running");
        HWND hub = nullptr;
        for (DWORD waited = 0; !hub && waited < 30000; waited += 20) {
            if (!(hub = windowOf(pi[survivor].dwProcessId, L"LumivaneHub", nullptr))) ::Sleep(20);
        }
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
