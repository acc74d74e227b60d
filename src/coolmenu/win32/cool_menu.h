#pragma once
// The menu engine as a host sees it: attach it to a window, and from then on
// the window's menus are converted, measured and drawn by the engine.
#include "coolmenu/help_callback.h"
#include "coolmenu/image_source.h"
#include "coolmenu/registries.h"

#include <windows.h>

namespace lumivane::coolmenu {

// Subclasses the window (when subclass) and converts its menu bar. The help
// object and the image list belong to the host and must outlive the window.
// False when the window is already attached (its first attachment stays) or
// is not a window.
bool attach(HWND hwnd, bool subclass, const HelpCallback* help, const MenuImages* images);

// The window's complex checks setting; false for a window that is not attached.
bool complexChecks(HWND hwnd);
// Sets it and returns the value given.
bool setComplexChecks(HWND hwnd, bool value);

// The settings of an attached window, for a host that wants to change them;
// null when the window is not attached.
WindowState* windowState(HWND hwnd);
// The engine-wide records; null until the first attachment.
Registries* engineRegistries();

// The subclass procedure.
LRESULT CALLBACK subclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The window's item font and heading font, made on first use and owned by the
// window's record.
HFONT menuFontOf(HWND hwnd, bool force);
HFONT headingFontOf(HWND hwnd);

// Answer WM_MEASUREITEM and WM_DRAWITEM for the engine's items; false for
// anything else, which then goes to the window's own procedure.
bool onMeasureItem(HWND hwnd, MEASUREITEMSTRUCT* mis);
bool onDrawItem(HWND hwnd, const DRAWITEMSTRUCT* dis);

// The raised frame over the menu-bar item under a screen point (packed as in
// WM_NCHITTEST); hitCode is WM_SETCURSOR's area, or -1.
void trackMenuBar(HWND hwnd, LPARAM point, int hitCode);

} // namespace lumivane::coolmenu
