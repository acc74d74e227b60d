#pragma once
#include "coolmenu/menu_access.h"

#include <windows.h>

namespace lumivane::win32 {

inline HMENU toHmenu(coolmenu::MenuHandle menu) { return reinterpret_cast<HMENU>(menu); }
inline coolmenu::MenuHandle fromHmenu(HMENU menu) { return reinterpret_cast<coolmenu::MenuHandle>(menu); }

// Menus of this process through GetMenuItemInfoW and SetMenuItemInfoW.
class Win32Menu final : public coolmenu::MenuAccess {
public:
    int count(coolmenu::MenuHandle menu) const override;
    bool readAt(coolmenu::MenuHandle menu, int position, coolmenu::MenuItemView& item) const override;
    bool readCommand(coolmenu::MenuHandle menu, std::uint32_t id, coolmenu::MenuItemView& item) const override;
    bool write(coolmenu::MenuHandle menu, int position, std::uint32_t type, const std::string& caption, bool setData,
               std::uintptr_t data) override;
};

} // namespace lumivane::win32
