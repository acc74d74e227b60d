#pragma once
#include "coolmenu/menu_access.h"

#include <windows.h>

namespace lumivane::coolmenu::win32 {

inline HMENU toHmenu(MenuHandle menu) { return reinterpret_cast<HMENU>(menu); }
inline MenuHandle fromHmenu(HMENU menu) { return reinterpret_cast<MenuHandle>(menu); }

// Menus of this process through GetMenuItemInfoW and SetMenuItemInfoW.
class Win32Menu final : public MenuAccess {
public:
    int count(MenuHandle menu) const override;
    bool readAt(MenuHandle menu, int position, MenuItemView& item) const override;
    bool readCommand(MenuHandle menu, std::uint32_t id, MenuItemView& item) const override;
    bool write(MenuHandle menu, int position, std::uint32_t type, const std::string& caption, bool setData,
               std::uintptr_t data) override;
};

} // namespace lumivane::coolmenu::win32
