#pragma once
#include "coolmenu/colour.h"

#include <cstdint>
#include <string>

namespace lumivane::coolmenu {

// What the measuring and drawing code needs to know of one converted item,
// filled from its CMyItemData record.
struct ItemModel {
    std::string text;       // sMenuText: markers and help removed
    bool heading = false;   // the stored type carries MFT_SEPARATOR
    bool asMark = false;    // bAsMark
    bool asCheck = false;   // bAsCheck
    bool mainMenu = false;  // bMainMenu
    bool trueSub = false;   // bTrueSub
    int image = -1;         // iButton: 0-based image index, -1 for none
};

// The item's state for one paint, from DRAWITEMSTRUCT.
struct ItemState {
    bool selected = false;      // ODS_SELECTED
    bool grayed = false;        // ODS_GRAYED
    bool checked = false;       // ODS_CHECKED
    bool actionSelect = false;  // itemAction == ODA_SELECT
};

// The window's drawing settings, from its WndCoolMenu.
struct LookSettings {
    bool fullSelect = true;
    bool rightToLeft = false;
    bool complexChecks = true;
    std::uint32_t selectColor = 0;  // 0x00BBGGRR
    std::uint32_t foreColor = 0;    // 0 means the system menu-text colour
    Theme theme = Theme::light;     // the user's look, followed as it changes
};

} // namespace lumivane::coolmenu
