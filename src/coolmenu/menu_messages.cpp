#include "coolmenu/menu_messages.h"

#include "coolmenu/caption.h"
#include "coolmenu/convert_menu.h"

#include <vector>

namespace lumivane::coolmenu {

void onInitMenuPopup(Registries& registries, MenuAccess& menus, std::uintptr_t hwnd, MenuHandle popup,
                     int index, bool sysMenu) {
    WindowState* window = registries.window(hwnd);
    if (!window) return;
    window->setRaisedBarItem(-2);
    convertMenu(registries, menus, hwnd, popup, index, sysMenu, true, false);
}

void onMenuSelect(Registries& registries, MenuAccess& menus, std::uintptr_t hwnd, std::uint32_t item,
                  std::uint32_t flags, MenuHandle hMenu) {
    WindowState* window = registries.window(hwnd);
    if (!window) return;
    if (window->help) {
        // The item is read from the menu that holds it, so popups that are not
        // part of a menu bar report their help too.
        MenuItemView view;
        const ItemRecord* record = nullptr;
        if (!(flags & kSelectPopup) && hMenu != 0 && menus.readCommand(hMenu, item & 0xFFFF, view))
            record = registries.item(view.data);
        if (record)
            window->help->report(record->text, record->help, (view.state & kStateDisabled) == 0);
        else
            window->help->report("", "", true);
    }
    if (flags == kSelectClosed && hMenu == 0) {
        std::vector<MenuHandle> destroyed;
        for (int i = 0; i <= window->headCount(); ++i) {
            MenuHandle head = window->head(i);
            if (head != 0 && menus.count(head) < 0) destroyed.push_back(head);
            convertMenu(registries, menus, hwnd, head, 0, false, false, false);
        }
        // A popup the host made for one opening and destroyed has nothing left to
        // restore; keeping it would grow the heads by one with every opening.
        for (MenuHandle head : destroyed) window->removeHead(head);
        window->setRaisedBarItem(-1);
    }
}

std::uint32_t onMenuChar(const Registries& registries, const MenuAccess& menus, char32_t typed, MenuHandle hMenu) {
    std::vector<int> matches;
    int highlighted = -1;
    int count = menus.count(hMenu);
    for (int position = 0; position < count; ++position) {
        MenuItemView view;
        if (!menus.readAt(hMenu, position, view)) continue;
        if (view.state & kStateHilite) highlighted = position;
        if (!(view.type & kTypeOwnerDraw)) continue;
        const ItemRecord* record = registries.item(view.data);
        if (!record) continue;
        const std::string& text = record->text;
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

void watchMenuBar(Registries& registries, MenuAccess& menus, std::uintptr_t hwnd, MenuHandle currentBar) {
    WindowState* window = registries.window(hwnd);
    if (!window) return;
    std::intptr_t seen = window->watchedMenuBar;
    if (seen == 0 || seen == -1 || static_cast<MenuHandle>(seen) == currentBar) return;
    window->watchedMenuBar = -1;
    convertMenu(registries, menus, hwnd, currentBar, 0, false, true, true);
}

namespace {
void removeFrame(WindowState& window, MenuBarView& bar) {
    if (window.raisedBarItem() >= 0) {
        bar.drawFrame(window.raisedBarItem(), false);
        window.setRaisedBarItem(-1);
    }
}
} // namespace

void trackMenuBar(WindowState& window, MenuBarView& bar, int x, int y, int hitCode) {
    if (window.raisedBarItem() == -2) return;
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
    if (position == window.raisedBarItem()) return;
    // Separators, bitmaps and right-justified items get no frame.
    if (bar.itemType(position) & ~kTypeOwnerDraw) {
        removeFrame(window, bar);
        return;
    }
    if (window.raisedBarItem() >= 0) bar.drawFrame(window.raisedBarItem(), false);
    window.setRaisedBarItem(position);
    bar.drawFrame(position, true);
}

} // namespace lumivane::coolmenu
