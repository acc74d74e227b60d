#pragma once
// Resolutions and the system's lengths at a resolution. The per-monitor
// functions exist from Windows 8.1 (GetDpiForMonitor) and 10 1607 (the ...ForDpi
// family); they are looked up when first needed, and on older systems every
// monitor has the system's resolution, with lengths scaled from it.
#include <windows.h>

namespace lumivane::win32 {

// The resolution the system's own metrics are given in.
int dpiForSystem();
// The resolution of the monitor a window is on.
int dpiForWindow(HWND hwnd);
// The resolution of the monitor holding a screen point (the nearest one).
int dpiAtPoint(POINT point);
// A GetSystemMetrics length at a resolution.
int systemMetricForDpi(int index, int dpi);
// The menu, caption and message fonts at a resolution.
bool nonClientMetricsForDpi(NONCLIENTMETRICSW& metrics, int dpi);
// The window rectangle around a client rectangle at a resolution.
bool adjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi);

} // namespace lumivane::win32
