#include "coolmenu/convert_menu.h"

#include "coolmenu/accessible_name.h"
#include "coolmenu/caption.h"

#include <string>

namespace lumivane::coolmenu {

namespace {

// While it is owner-drawn, an item carries the words it shows as its string:
// screen readers announce that string. The host's separators stay without.
std::string nameOf(const ItemRecord& record) {
    if (record.hostSeparator) return {};
    return accessibleName(record.text, (record.type & kTypeSeparator) != 0);
}

// Returns false when the walk must stop.
bool convertItem(Registries& registries, MenuAccess& menus, WindowState& window, MenuHandle hMenu,
                 int position, const MenuItemView& item, bool mainMenu) {
    if (item.type & kTypeOwnerDraw) return true;  // the host's or already ours

    std::uint32_t type = item.type | kTypeOwnerDraw;
    if (item.data != 0) {
        ItemRecord* record = registries.item(item.data);
        if (!record) return false;
        type |= record->type & kTypeSeparator;
        record->mainMenu = mainMenu;
        return menus.write(hMenu, position, type, nameOf(*record), false, 0);
    }

    // Parse before the record exists, so a caption that cannot be read leaves
    // no record behind.
    auto parsed = parseCaption(item.caption);
    if (!parsed) return false;
    if (parsed->heading) type |= kTypeSeparator;

    std::uintptr_t number = static_cast<std::uintptr_t>(registries.items.count()) + 1;
    std::string key = std::to_string(number);
    ItemRecord* record = registries.items.add(key);
    if (!record) return false;
    record->text = parsed->text;
    record->help = parsed->help;
    record->asMark = parsed->asMark;
    record->asCheck = parsed->asCheck;
    record->image = mainMenu ? -1 : imageIndexFor(window.images, record->text);
    record->type = type;
    record->trueSub = item.submenu != 0 && !mainMenu;
    record->hostSeparator = (item.type & kTypeSeparator) != 0;
    record->mainMenu = mainMenu;
    if (!menus.write(hMenu, position, type, nameOf(*record), true, number)) {
        registries.items.remove(key);
        return false;
    }
    return true;
}

// Items that are owner-drawn without a record of ours belong to the host and
// are left as they are.
bool restoreItem(Registries& registries, MenuAccess& menus, MenuHandle hMenu, int position,
                 const MenuItemView& item) {
    if (!(item.type & kTypeOwnerDraw)) return true;
    ItemRecord* record = registries.item(item.data);
    if (!record) return true;

    std::uint32_t type = item.type & ~kTypeOwnerDraw;
    std::string caption;
    if (record->hostSeparator) {
        type |= kTypeSeparator;
    } else {
        bool heading = (record->type & kTypeSeparator) != 0;
        if (heading) type &= ~kTypeSeparator;
        caption = rebuildCaption(record->text, record->help, record->asMark, record->asCheck, heading);
    }
    if (!menus.write(hMenu, position, type, caption, true, 0)) return false;
    registries.items.remove(std::to_string(item.data));
    return true;
}

} // namespace

void convertMenu(Registries& registries, MenuAccess& menus, std::uintptr_t hwnd, MenuHandle hMenu,
                 int /*popupIndex*/, bool sysMenu, bool convert, bool mainMenu) {
    WindowState* window = registries.window(hwnd);
    if (!window) return;
    int count = menus.count(hMenu);
    for (int position = 0; position < count; ++position) {
        MenuItemView item;
        if (!menus.readAt(hMenu, position, item)) return;
        // Menu identifiers are 16-bit, so this skips every item: the system menu
        // keeps its own look.
        if (sysMenu && static_cast<std::int32_t>(item.id) >= -4096) continue;
        if (convert) {
            if (!convertItem(registries, menus, *window, hMenu, position, item, mainMenu)) return;
            if (!mainMenu) window->addHead(hMenu);
        } else if (!restoreItem(registries, menus, hMenu, position, item)) {
            return;
        }
    }
}

} // namespace lumivane::coolmenu
