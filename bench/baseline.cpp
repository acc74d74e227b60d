// The benchmark's yardstick: the least a tray program can do. A hidden window,
// one tray icon, and a plain twelve-item popup menu on the right button's
// release. Built with the same toolchain and flags as lumivane.exe.
#include "platform/win32/timing.h"

#include <windows.h>
#include <shellapi.h>

namespace {

constexpr UINT kTrayMessage = WM_APP + 1;
constexpr UINT kTrayIconId = 1;
constexpr UINT kExitCommand = 12;
constexpr const wchar_t* kClassName = L"LumivaneBaseline";

const wchar_t* const kCaptions[] = {
    L"Open CD-ROM door",  L"Folder one",   L"Folder two",  L"Folder three",
    L"Folder four",       L"Folder five",  L"Screen saver", L"Monitor off",
    L"Start with Windows", L"Customize...", L"About...",   L"Exit",
};

HMENU g_menu = nullptr;

void showMenu(HWND hwnd) {
    POINT at;
    ::GetCursorPos(&at);
    // Foreground first and WM_NULL after: otherwise the menu does not close
    // when the user clicks elsewhere.
    ::SetForegroundWindow(hwnd);
    UINT command = static_cast<UINT>(::TrackPopupMenu(g_menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0,
                                                      hwnd, nullptr));
    ::PostMessageW(hwnd, WM_NULL, 0, 0);
    if (command == kExitCommand) ::DestroyWindow(hwnd);
}

NOTIFYICONDATAW iconData(HWND hwnd) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = hwnd;
    data.uID = kTrayIconId;
    return data;
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    lumivane::timing::countWindowMessage();
    switch (msg) {
    case kTrayMessage:
        if (LOWORD(lParam) == WM_RBUTTONUP) showMenu(hwnd);
        return 0;
    case WM_CLOSE:
        ::DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY: {
        NOTIFYICONDATAW data = iconData(hwnd);
        ::Shell_NotifyIconW(NIM_DELETE, &data);
        ::PostQuitMessage(0);
        return 0;
    }
    default:
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    namespace timing = lumivane::timing;
    timing::mark(timing::Mark::entered);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.lpszClassName = kClassName;
    if (!::RegisterClassExW(&wc)) return 1;
    HWND hwnd = ::CreateWindowExW(0, kClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    if (!hwnd) return 1;
    timing::mark(timing::Mark::windowCreated);

    g_menu = ::CreatePopupMenu();
    for (UINT i = 0; i < sizeof(kCaptions) / sizeof(kCaptions[0]); ++i)
        ::AppendMenuW(g_menu, MF_STRING, i + 1, kCaptions[i]);

    NOTIFYICONDATAW data = iconData(hwnd);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayMessage;
    data.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
    ::lstrcpynW(data.szTip, L"Baseline", ARRAYSIZE(data.szTip));
    ::Shell_NotifyIconW(NIM_ADD, &data);
    timing::mark(timing::Mark::loaded);

    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        timing::countMessage();
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    ::DestroyMenu(g_menu);
    return 0;
}
