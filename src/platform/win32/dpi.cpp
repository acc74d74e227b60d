#include "platform/win32/dpi.h"

#include "platform/dpi.h"
#include "platform/win32/system_library.h"
#include "platform/win32/unique.h"

#include <initializer_list>

namespace lumivane::win32 {

namespace {

using GetDpiForSystemFn = UINT(WINAPI*)();
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI

// user32 is loaded with the program; only its newer functions are looked up.
template <typename Fn>
Fn user32Function(const char* name) {
    return systemFunction<Fn>(::GetModuleHandleW(L"user32.dll"), name);
}

struct User32Dpi {
    GetDpiForSystemFn forSystem = user32Function<GetDpiForSystemFn>("GetDpiForSystem");
    GetDpiForWindowFn forWindow = user32Function<GetDpiForWindowFn>("GetDpiForWindow");
    GetSystemMetricsForDpiFn metrics = user32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    SystemParametersInfoForDpiFn parameters = user32Function<SystemParametersInfoForDpiFn>("SystemParametersInfoForDpi");
    AdjustWindowRectExForDpiFn adjust = user32Function<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
};

const User32Dpi& user32() {
    static const User32Dpi functions;
    return functions;
}

// shcore is not loaded with the program: taken when a popup first needs the
// resolution of the monitor it opens on.
GetDpiForMonitorFn dpiForMonitor() {
    static const GetDpiForMonitorFn function =
        systemFunction<GetDpiForMonitorFn>(loadSystemLibrary(L"shcore.dll"), "GetDpiForMonitor");
    return function;
}

int scaleFromSystem(int length, int dpi) {
    return ::MulDiv(length, dpi, dpiForSystem());
}

} // namespace

int dpiForSystem() {
    if (auto forSystem = user32().forSystem) return usableDpi(static_cast<int>(forSystem()));
    static const int screen = [] {
        WindowDC dc(nullptr);
        return usableDpi(dc.get() ? ::GetDeviceCaps(dc.get(), LOGPIXELSY) : 0);
    }();
    return screen;
}

int dpiForWindow(HWND hwnd) {
    if (!hwnd) return dpiForSystem();
    if (auto forWindow = user32().forWindow) {
        UINT dpi = forWindow(hwnd);
        return dpi ? static_cast<int>(dpi) : dpiForSystem();
    }
    // Windows 8.1: the window's monitor.
    if (HMONITOR monitor = ::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST); monitor && dpiForMonitor()) {
        UINT x = 0, y = 0;
        if (SUCCEEDED(dpiForMonitor()(monitor, kEffectiveDpi, &x, &y)) && y) return static_cast<int>(y);
    }
    return dpiForSystem();
}

int dpiAtPoint(POINT point) {
    HMONITOR monitor = ::MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST);
    if (auto forMonitor = monitor ? dpiForMonitor() : nullptr) {
        UINT x = 0, y = 0;
        if (SUCCEEDED(forMonitor(monitor, kEffectiveDpi, &x, &y)) && y) return static_cast<int>(y);
    }
    return dpiForSystem();
}

int systemMetricForDpi(int index, int dpi) {
    // At the system's own resolution the plain metric is exact on every system.
    if (dpi == dpiForSystem()) return ::GetSystemMetrics(index);
    if (auto metrics = user32().metrics) return metrics(index, static_cast<UINT>(dpi));
    return scaleFromSystem(::GetSystemMetrics(index), dpi);
}

bool nonClientMetricsForDpi(NONCLIENTMETRICSW& metrics, int dpi) {
    metrics.cbSize = sizeof metrics;
    if (dpi == dpiForSystem())
        return ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0) != FALSE;
    if (auto parameters = user32().parameters)
        return parameters(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi)) != FALSE;
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return false;
    for (LOGFONTW* font : {&metrics.lfCaptionFont, &metrics.lfSmCaptionFont, &metrics.lfMenuFont,
                           &metrics.lfStatusFont, &metrics.lfMessageFont})
        font->lfHeight = scaleFromSystem(font->lfHeight, dpi);
    return true;
}

bool adjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi) {
    if (auto adjust = user32().adjust) return adjust(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi)) != FALSE;
    return ::AdjustWindowRectEx(&rect, style, FALSE, exStyle) != FALSE;
}

} // namespace lumivane::win32
