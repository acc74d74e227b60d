#include "platform/win32/process.h"
#include "platform/win32/wide.h"

#include <doctest/doctest.h>
#include <windows.h>

#include <string>

using namespace lumivane;

namespace {
struct SeenBox {
    std::wstring title;
    std::wstring text;
    int count = 0;
};
SeenBox g_box;

// Reads the message box as it comes up and closes it with OK, so the modal
// loop returns without anyone at the keyboard.
LRESULT CALLBACK closeBoxes(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wParam);
        wchar_t cls[32] = {}, buffer[512] = {};
        ::GetClassNameW(box, cls, 32);
        if (std::wstring(cls) == L"#32770") {
            ::GetWindowTextW(box, buffer, 512);
            g_box.title = buffer;
            ::GetDlgItemTextW(box, 0xFFFF, buffer, 512);
            g_box.text = buffer;
            ++g_box.count;
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

struct BoxWatcher {
    HHOOK hook = ::SetWindowsHookExW(WH_CBT, closeBoxes, nullptr, ::GetCurrentThreadId());
    BoxWatcher() { g_box = {}; }
    ~BoxWatcher() { ::UnhookWindowsHookEx(hook); }
};
} // namespace

TEST_CASE("a command that cannot be started is reported once, titled Lumivane, naming the command") {
    BoxWatcher watcher;
    win32::Win32Processes processes;
    CHECK_FALSE(processes.start("lumivane-no-such-program.exe C:\\", SW_SHOWNORMAL));
    CHECK(g_box.count == 1);
    CHECK(g_box.title == L"Lumivane");
    CHECK(g_box.text.find(L"lumivane-no-such-program.exe C:\\") != std::wstring::npos);
}

TEST_CASE("a command that starts is not waited for and says nothing") {
    BoxWatcher watcher;
    win32::Win32Processes processes;
    // A program that would run until it is told to stop: start must return anyway.
    ULONGLONG before = ::GetTickCount64();
    CHECK(processes.start("cmd.exe /c ping -n 30 127.0.0.1 >NUL", SW_SHOWMINIMIZED));
    CHECK(::GetTickCount64() - before < 5000);
    CHECK(g_box.count == 0);
}
