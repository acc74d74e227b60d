#pragma once
#include "coolmenu/menu_access.h"
#include "coolmenu/registries.h"

#include <cstdint>

namespace lumivane::coolmenu {

// The menu logic of the subclassed window, apart from passing messages on.

// A popup is about to open: suspend the menu-bar frame and convert it.
void onInitMenuPopup(Registries& registries, MenuAccess& menus, std::uintptr_t hwnd, MenuHandle popup,
                     int index, bool sysMenu);

// Reports the help of the newly selected item; when the whole menu has closed
// (flags 0xFFFF, no menu) restores every converted popup.
void onMenuSelect(Registries& registries, MenuAccess& menus, std::uintptr_t hwnd, std::uint32_t item,
                  std::uint32_t flags, MenuHandle hMenu);

// WM_MENUCHAR answers.
inline constexpr std::uint32_t kMenuCharExecute = 2;  // MNC_EXECUTE
inline constexpr std::uint32_t kMenuCharSelect = 3;   // MNC_SELECT
// The answer for a typed character: (MNC_EXECUTE << 16 | position) for the one
// item whose "&" letter matches, (MNC_SELECT << 16 | position) for several,
// 0 for none.
std::uint32_t onMenuChar(const Registries& registries, const MenuAccess& menus, char32_t typed,
                         MenuHandle hMenu);

// Converts a replaced menu bar when a host armed the watch with the old one.
void watchMenuBar(Registries& registries, MenuAccess& menus, std::uintptr_t hwnd, MenuHandle currentBar);

// The window's menu bar as the raised frame needs it.
class MenuBarView {
public:
    virtual ~MenuBarView() = default;
    // The position of the bar item under a screen point, or -1.
    virtual int itemAt(int x, int y) = 0;
    virtual std::uint32_t itemType(int position) = 0;
    // Raised frame, or the flat frame that removes it.
    virtual void drawFrame(int position, bool raised) = 0;
};

inline constexpr int kHitMenu = 5;  // HTMENU

// Moves the raised frame to the menu-bar item under the point; hitCode above 0
// is a WM_SETCURSOR area, -1 a WM_NCHITTEST.
void trackMenuBar(WindowState& window, MenuBarView& bar, int x, int y, int hitCode);

} // namespace lumivane::coolmenu
