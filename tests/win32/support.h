#pragma once
// Helpers shared by the tests that run under Wine.
#include <windows.h>

#include <string>

namespace lumivane::testing {

inline std::wstring textOf(HWND hwnd) {
    wchar_t buffer[256] = {};
    ::GetWindowTextW(hwnd, buffer, 256);
    return buffer;
}

// A child's rectangle in its parent's client coordinates.
inline RECT placeOf(HWND child) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Dispatches what is queued; bounded, so a loop that feeds itself cannot hang.
inline void pump() {
    MSG msg;
    for (int i = 0; i < 1000 && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// A destroyed hub window posts a quit message; it must not reach a later loop.
inline void dropQuitMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

} // namespace lumivane::testing
