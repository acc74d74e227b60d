#include "coolmenu/win32/win32_menu.h"

#include "platform/win32/wide.h"

#include <string>

namespace lumivane::coolmenu::win32 {

namespace {
bool read(HMENU menu, UINT item, BOOL byPosition, MenuItemView& out) {
    // Cleared for every item: owner-drawn and separator items leave it alone.
    wchar_t buffer[kCaptionLimit + 1] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_TYPE | MIIM_DATA | MIIM_STATE;
    info.dwTypeData = buffer;
    info.cch = kCaptionLimit;
    if (!::GetMenuItemInfoW(menu, item, byPosition, &info)) return false;
    out.id = info.wID;
    out.type = info.fType;
    out.state = info.fState;
    out.data = info.dwItemData;
    out.submenu = fromHmenu(info.hSubMenu);
    buffer[kCaptionLimit] = L'\0';
    out.caption = lumivane::win32::narrow(buffer);
    return true;
}
} // namespace

int Win32Menu::count(MenuHandle menu) const {
    if (menu == 0) return -1;
    return ::GetMenuItemCount(toHmenu(menu));
}

bool Win32Menu::readAt(MenuHandle menu, int position, MenuItemView& item) const {
    return read(toHmenu(menu), static_cast<UINT>(position), TRUE, item);
}

bool Win32Menu::readCommand(MenuHandle menu, std::uint32_t id, MenuItemView& item) const {
    return read(toHmenu(menu), id, FALSE, item);
}

bool Win32Menu::write(MenuHandle menu, int position, std::uint32_t type, const std::string& caption, bool setData,
                      std::uintptr_t data) {
    std::wstring text = lumivane::win32::widen(caption);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_TYPE | (setData ? MIIM_DATA : 0u);
    info.fType = type;
    // Only text items read it; an owner-drawn item keeps it as an opaque value.
    info.dwTypeData = text.data();
    info.cch = static_cast<UINT>(text.size());
    info.dwItemData = data;
    return ::SetMenuItemInfoW(toHmenu(menu), static_cast<UINT>(position), TRUE, &info) != FALSE;
}

} // namespace lumivane::coolmenu::win32
