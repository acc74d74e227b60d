#include "coolmenu/menu_messages.h"

#include "coolmenu/caption.h"
#include "coolmenu/convert_menu.h"

#include <vector>

namespace lumivane::coolmenu {

void OnInitMenuPopup(Registries& registries, MenuAccess& menus, std::uintptr_t hwnd, MenuHandle popup,
                     int index, bool sysMenu) {
    WndCoolMenu* window = registries.window(hwnd);
    if (!window) return;
    window->setMainPopedIndex(-2);
    ConvertMenu(registries, menus, hwnd, popup, index, sysMenu, true, false);
}

void OnMenuSelect(Registries& registries, MenuAccess& menus, std::uintptr_t hwnd, std::uint32_t item,
                  std::uint32_t flags, MenuHandle hMenu) {
    WndCoolMenu* window = registries.window(hwnd);
    if (!window) return;
    if (window->HelpObj) {
        // The item is read from the menu that holds it, so popups that are not
        // part of a menu bar report their help too.
        MenuItemView view;
        const CMyItemData* record = nullptr;
        if (!(flags & kSelectPopup) && hMenu != 0 && menus.readCommand(hMenu, item & 0xFFFF, view))
            record = registries.item(view.data);
        if (record)
            window->HelpObj->RaiseHelpEvent(record->sMenuText, record->sMenuHelp, (view.state & kStateDisabled) == 0);
        else
            window->HelpObj->RaiseHelpEvent("", "", true);
    }
    if (flags == kSelectClosed && hMenu == 0) {
        std::vector<MenuHandle> destroyed;
        for (int i = 0; i <= window->CountMenuHeads(); ++i) {
            MenuHandle head = window->GetMenuHead(i);
            if (head != 0 && menus.count(head) < 0) destroyed.push_back(head);
            ConvertMenu(registries, menus, hwnd, head, 0, false, false, false);
        }
        // A popup the host made for one opening and destroyed has nothing left to
        // restore; keeping it would grow the heads by one with every opening.
        for (MenuHandle head : destroyed) window->RemoveMenuHead(head);
        window->setMainPopedIndex(-1);
    }
}

std::uint32_t OnMenuChar(const Registries& registries, const MenuAccess& menus, char32_t typed, MenuHandle hMenu) {
    std::vector<int> matches;
    int highlighted = -1;
    int count = menus.count(hMenu);
    for (int position = 0; position < count; ++position) {
        MenuItemView view;
        if (!menus.readAt(hMenu, position, view)) continue;
        if (view.state & kStateHilite) highlighted = position;
        if (!(view.type & kTypeOwnerDraw)) continue;
        const CMyItemData* record = registries.item(view.data);
        if (!record) continue;
        const std::string& text = record->sMenuText;
        // "&&" draws as one "&" (a folder named "Tom & Jerry"), so it marks no mnemonic.
        size_t amp = text.find('&');
        while (amp != std::string::npos && amp + 1 < text.size() && text[amp + 1] == '&') amp = text.find('&', amp + 2);
        if (amp == std::string::npos || amp + 1 >= text.size()) continue;
        size_t next = amp + 1;
        if (upperCase(nextCodePoint(text, next)) == upperCase(typed)) matches.push_back(position);
    }
    if (matches.empty()) return 0;
    if (matches.size() == 1) return (kMenuCharExecute << 16) | static_cast<std::uint32_t>(matches.front());
    int chosen = matches.front();
    for (int m : matches)
        if (m == highlighted) chosen = m;
    return (kMenuCharSelect << 16) | static_cast<std::uint32_t>(chosen);
}

void WatchMenuBar(Registries& registries, MenuAccess& menus, std::uintptr_t hwnd, MenuHandle currentBar) {
    WndCoolMenu* window = registries.window(hwnd);
    if (!window) return;
    std::intptr_t seen = window->SCMainMenu;
    if (seen == 0 || seen == -1 || static_cast<MenuHandle>(seen) == currentBar) return;
    window->SCMainMenu = -1;
    ConvertMenu(registries, menus, hwnd, currentBar, 0, false, true, true);
}

namespace {
void removeFrame(WndCoolMenu& window, MenuBarView& bar) {
    if (window.mainPopedIndex() >= 0) {
        bar.drawFrame(window.mainPopedIndex(), false);
        window.setMainPopedIndex(-1);
    }
}
} // namespace

void TrackMenuBar(WndCoolMenu& window, MenuBarView& bar, int x, int y, int hitCode) {
    if (window.mainPopedIndex() == -2) return;
    if (hitCode == kHitMenu) return;
    if (hitCode > 0) {
        removeFrame(window, bar);
        return;
    }
    int position = bar.itemAt(x, y);
    if (position < 0) {
        removeFrame(window, bar);
        return;
    }
    if (position == window.mainPopedIndex()) return;
    // Separators, bitmaps and right-justified items get no frame.
    if (bar.itemType(position) & ~kTypeOwnerDraw) {
        removeFrame(window, bar);
        return;
    }
    if (window.mainPopedIndex() >= 0) bar.drawFrame(window.mainPopedIndex(), false);
    window.setMainPopedIndex(position);
    bar.drawFrame(position, true);
}

} // namespace lumivane::coolmenu
