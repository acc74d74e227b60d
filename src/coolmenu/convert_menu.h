#pragma once
#include "coolmenu/menu_access.h"
#include "coolmenu/registries.h"

#include <cstdint>

namespace lumivane::coolmenu {

// Converts one menu level (never its submenus) into owner-drawn items with a
// record each, or restores the marked-up text items from the records. Any
// failure ends the walk where it stands: items done stay done, the rest are
// left as they were, and the next conversion tries again.
void convertMenu(Registries& registries, MenuAccess& menus, std::uintptr_t hwnd, MenuHandle hMenu,
                 int popupIndex, bool sysMenu, bool convert, bool mainMenu);

} // namespace lumivane::coolmenu
