// Measuring keeps the system's menu metrics between items (reading them is
// slow under Wine), and must read them anew after the user changes them.
#include "coolmenu/item_painter.h"
#include "coolmenu/win32/cool_menu.h"

#include <doctest/doctest.h>
#include <windows.h>

using namespace lumivane::coolmenu;

namespace {

int measuredHeight(HFONT font) {
    ItemModel item;
    item.text = "x";
    int width = 0, height = 0;
    REQUIRE(MeasureMenuItem(nullptr, font, item, width, height));
    return height;
}

// Changes the menu-bar height for this session only (the test prefix is a copy).
void growMenuHeight(int by) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    REQUIRE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    metrics.iMenuHeight += by;
    REQUIRE(::SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
}

LRESULT CALLBACK plainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

} // namespace

TEST_CASE("a settings change reaching an attached window makes the next measure use the new menu height") {
    // A font far smaller than any menu height, so the height measured is the metric's.
    HFONT font = ::CreateFontW(-6, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    REQUIRE(font);
    const int original = ::GetSystemMetrics(SM_CYMENU);
    CHECK(measuredHeight(font) == original);

    WNDCLASSW wc{};
    wc.lpfnWndProc = plainProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"MenuMetricsHost";
    ::RegisterClassW(&wc);
    HWND hwnd = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                  wc.hInstance, nullptr);
    REQUIRE(hwnd);
    REQUIRE(AttachCoolMenu(hwnd, true, nullptr, nullptr));

    growMenuHeight(17);
    const int taller = ::GetSystemMetrics(SM_CYMENU);
    REQUIRE(taller == original + 17);
    ::SendMessageW(hwnd, WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
    CHECK(measuredHeight(font) == taller);

    growMenuHeight(-17);
    ForgetMenuMetrics();
    CHECK(measuredHeight(font) == original);

    ::DestroyWindow(hwnd);
    ::DeleteObject(font);
}
