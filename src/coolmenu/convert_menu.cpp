#include "coolmenu/convert_menu.h"

#include "coolmenu/accessible_name.h"
#include "coolmenu/caption.h"

#include <string>

namespace lumivane::coolmenu {

namespace {

// While it is owner-drawn, an item carries the words it shows as its string:
// screen readers announce that string. The host's separators stay without.
std::string nameOf(const CMyItemData& record) {
    if (record.bHostSeparator) return {};
    return AccessibleName(record.sMenuText, (record.fType & kTypeSeparator) != 0);
}

// Returns false when the walk must stop.
bool convertItem(Registries& registries, MenuAccess& menus, WndCoolMenu& window, MenuHandle hMenu,
                 int position, const MenuItemView& item, bool bMainMenu) {
    if (item.type & kTypeOwnerDraw) return true;  // the host's or already ours

    std::uint32_t type = item.type | kTypeOwnerDraw;
    if (item.data != 0) {
        CMyItemData* record = registries.item(item.data);
        if (!record) return false;
        type |= record->fType & kTypeSeparator;
        record->bMainMenu = bMainMenu;
        return menus.write(hMenu, position, type, nameOf(*record), false, 0);
    }

    // Parse before the record exists, so a caption that cannot be read leaves
    // no record behind.
    auto parsed = ParseCaption(item.caption);
    if (!parsed) return false;
    if (parsed->heading) type |= kTypeSeparator;

    std::uintptr_t number = static_cast<std::uintptr_t>(registries.items.Count()) + 1;
    std::string key = std::to_string(number);
    CMyItemData* record = registries.items.Add(key);
    if (!record) return false;
    record->sMenuText = parsed->text;
    record->sMenuHelp = parsed->help;
    record->bAsMark = parsed->asMark;
    record->bAsCheck = parsed->asCheck;
    record->iButton = static_cast<std::int16_t>(bMainMenu ? -1 : GetImageIndex(window.ilHandle, record->sMenuText));
    record->fType = type;
    record->bTrueSub = item.submenu != 0 && !bMainMenu;
    record->bHostSeparator = (item.type & kTypeSeparator) != 0;
    record->bMainMenu = bMainMenu;
    if (!menus.write(hMenu, position, type, nameOf(*record), true, number)) {
        registries.items.Remove(key);
        return false;
    }
    return true;
}

// Items that are owner-drawn without a record of ours belong to the host and
// are left as they are.
bool restoreItem(Registries& registries, MenuAccess& menus, MenuHandle hMenu, int position,
                 const MenuItemView& item) {
    if (!(item.type & kTypeOwnerDraw)) return true;
    CMyItemData* record = registries.item(item.data);
    if (!record) return true;

    std::uint32_t type = item.type & ~kTypeOwnerDraw;
    std::string caption;
    if (record->bHostSeparator) {
        type |= kTypeSeparator;
    } else {
        bool heading = (record->fType & kTypeSeparator) != 0;
        if (heading) type &= ~kTypeSeparator;
        caption = RebuildCaption(record->sMenuText, record->sMenuHelp, record->bAsMark, record->bAsCheck, heading);
    }
    if (!menus.write(hMenu, position, type, caption, true, 0)) return false;
    registries.items.Remove(std::to_string(item.data));
    return true;
}

} // namespace

void ConvertMenu(Registries& registries, MenuAccess& menus, std::uintptr_t hwnd, MenuHandle hMenu,
                 int /*nPopupIndex*/, bool bSysMenu, bool bConvert, bool bMainMenu) {
    WndCoolMenu* window = registries.window(hwnd);
    if (!window) return;
    int count = menus.count(hMenu);
    for (int position = 0; position < count; ++position) {
        MenuItemView item;
        if (!menus.readAt(hMenu, position, item)) return;
        // Menu identifiers are 16-bit, so this skips every item: the system menu
        // keeps its own look.
        if (bSysMenu && static_cast<std::int32_t>(item.id) >= -4096) continue;
        if (bConvert) {
            if (!convertItem(registries, menus, *window, hMenu, position, item, bMainMenu)) return;
            if (!bMainMenu) window->AddMenuHead(hMenu);
        } else if (!restoreItem(registries, menus, hMenu, position, item)) {
            return;
        }
    }
}

} // namespace lumivane::coolmenu
