#pragma once
#include <cstdint>
#include <string>

namespace lumivane::coolmenu {

// What the measuring and drawing code needs to know of one converted item,
// filled from its ItemRecord.
struct ItemModel {
    std::string text;       // markers and help removed
    bool heading = false;   // the stored type carries MFT_SEPARATOR
    bool asMark = false;    // a check mark or bullet stands in for the image
    bool asCheck = false;   // with asMark: check mark (true) or bullet
    bool mainMenu = false;  // item of the window's menu bar
    bool trueSub = false;   // opens a submenu and is not a menu-bar item
    int image = -1;         // 0-based image index, -1 for none
};

// The item's state for one paint, from DRAWITEMSTRUCT.
struct ItemState {
    bool selected = false;      // ODS_SELECTED
    bool grayed = false;        // ODS_GRAYED
    bool checked = false;       // ODS_CHECKED
    bool actionSelect = false;  // itemAction == ODA_SELECT
};

// The window's drawing settings, from its WindowState.
struct LookSettings {
    bool fullSelect = true;
    bool rightToLeft = false;
    bool complexChecks = true;
    std::uint32_t selectColor = 0;  // 0x00BBGGRR
    std::uint32_t foreColor = 0;    // 0 means the system menu-text colour
};

} // namespace lumivane::coolmenu
