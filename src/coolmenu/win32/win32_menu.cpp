#include "coolmenu/win32/win32_menu.h"

#include "platform/win32/wide.h"

#include <string>

namespace lumivane::win32 {

using coolmenu::kCaptionLimit;
using coolmenu::MenuHandle;
using coolmenu::MenuItemView;

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
    out.caption = narrow(buffer);
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
    bool text = (type & (MFT_OWNERDRAW | MFT_SEPARATOR | MFT_BITMAP)) == 0;
    // An owner-drawn item keeps a name without mnemonic prefixes, or none: the
    // menu would otherwise match typed letters against it by itself instead of
    // asking the window (WM_MENUCHAR).
    bool named = text || ((type & MFT_OWNERDRAW) && !caption.empty());
    std::wstring wide = named ? widen(caption) : std::wstring();
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STRING | (setData ? MIIM_DATA : 0u);
    info.fType = type;
    info.dwTypeData = named ? wide.data() : nullptr;
    info.cch = static_cast<UINT>(wide.size());
    info.dwItemData = data;
    return ::SetMenuItemInfoW(toHmenu(menu), static_cast<UINT>(position), TRUE, &info) != FALSE;
}

} // namespace lumivane::win32
