#pragma once
// Helpers shared by the tests that run under Wine.
#include "platform/win32/unique.h"

#include <doctest/doctest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

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

// A top-down 32-bit DIB in a memory DC, filled with `ground`; pixels read back as COLORREF.
class Canvas {
public:
    Canvas(int width, int height, COLORREF ground = 0) : width_(width), height_(height) {
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
        ::SelectObject(dc_.get(), bitmap_.get());
        fill({0, 0, width, height}, ground);
    }
    HDC dc() const { return dc_.get(); }
    void fill(const RECT& r, COLORREF c) {
        win32::UniqueBrush brush(::CreateSolidBrush(c));
        ::FillRect(dc_.get(), &r, brush.get());
    }
    int width() const { return width_; }
    int height() const { return height_; }
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
    int countOther(const RECT& r, COLORREF c) const { return (r.right - r.left) * (r.bottom - r.top) - count(r, c); }
    std::vector<std::uint32_t> pixels() const {  // 0x00RRGGBB, row by row
        ::GdiFlush();
        std::vector<std::uint32_t> out(bits_, bits_ + static_cast<size_t>(width_) * static_cast<size_t>(height_));
        for (auto& p : out) p &= 0xFFFFFF;
        return out;
    }

private:
    int width_, height_;
    win32::UniqueBitmap bitmap_;
    win32::UniqueMemDC dc_{::CreateCompatibleDC(nullptr)};  // goes before the bitmap selected into it
    const std::uint32_t* bits_ = nullptr;
};

// An opaque icon of one colour, so its pixels are told apart from anything drawn.
inline win32::UniqueIcon solidIcon(int size, COLORREF colour) {
    std::vector<std::uint32_t> pixels(static_cast<size_t>(size * size),
                                      0xFF000000u | GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour));
    std::vector<std::uint8_t> mask(static_cast<size_t>(((size + 15) / 16) * 2 * size), 0);  // all opaque
    win32::UniqueBitmap colourBits(::CreateBitmap(size, size, 1, 32, pixels.data()));
    win32::UniqueBitmap maskBits(::CreateBitmap(size, size, 1, 1, mask.data()));
    ICONINFO info{TRUE, 0, 0, maskBits.get(), colourBits.get()};
    win32::UniqueIcon icon(::CreateIconIndirect(&info));
    REQUIRE(icon);
    return icon;
}

} // namespace lumivane::testing
