#pragma once
// Helpers shared by the tests that run under Wine.
#include "platform/win32/unique.h"

#include <doctest/doctest.h>
#include <windows.h>

#include <cstdint>
#include <string>

namespace lumivane::testing {

// A top-down 32-bit DIB in a memory DC, filled with one colour; pixels read
// back as COLORREF (the raw DIB order is the other way round).
class Canvas {
public:
    Canvas(int width, int height, COLORREF ground) : width_(width) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -height;  // top-down
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap_.reset(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        REQUIRE(bitmap_);
        bits_ = static_cast<const std::uint32_t*>(bits);
        dc_.reset(::CreateCompatibleDC(nullptr));
        old_ = ::SelectObject(dc_.get(), bitmap_.get());
        fill({0, 0, width, height}, ground);
    }
    ~Canvas() { ::SelectObject(dc_.get(), old_); }

    HDC dc() const { return dc_.get(); }
    void fill(const RECT& r, COLORREF c) {
        win32::UniqueBrush brush(::CreateSolidBrush(c));
        ::FillRect(dc_.get(), &r, brush.get());
    }
    COLORREF at(int x, int y) const {
        ::GdiFlush();
        std::uint32_t p = bits_[y * width_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    int count(const RECT& r, COLORREF c) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += at(x, y) == c;
        return n;
    }

private:
    int width_;
    win32::UniqueBitmap bitmap_;
    win32::UniqueMemDC dc_;
    HGDIOBJ old_ = nullptr;
    const std::uint32_t* bits_ = nullptr;
};

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

// A hidden top-level window of a class of its own.
inline HWND makeWindow(const wchar_t* className, WNDPROC proc) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = className;
    ::RegisterClassW(&wc);  // fails harmlessly after the first time
    HWND hwnd = ::CreateWindowExW(0, className, L"", WS_OVERLAPPEDWINDOW, 40, 40, 400, 300, nullptr, nullptr,
                                  wc.hInstance, nullptr);
    REQUIRE(hwnd);
    return hwnd;
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

// Starts this test program again to run only the named test case, which is
// marked skip so that it runs nowhere else.
inline win32::UniqueHandle startSelf(const wchar_t* testCase) {
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring line = L"\"" + std::wstring(self) + L"\" --no-skip --test-case=\"" + testCase + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    REQUIRE(::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    ::CloseHandle(pi.hThread);
    return win32::UniqueHandle(pi.hProcess);
}

} // namespace lumivane::testing
