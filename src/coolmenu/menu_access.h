#pragma once
#include <cstdint>
#include <string>

namespace lumivane::coolmenu {

using MenuHandle = std::uintptr_t;

// Menu item type and state bits, with the values the window system gives them.
inline constexpr std::uint32_t kTypeOwnerDraw = 0x100;   // MFT_OWNERDRAW
inline constexpr std::uint32_t kTypeSeparator = 0x800;   // MFT_SEPARATOR
inline constexpr std::uint32_t kStateDisabled = 0x3;     // MFS_GRAYED | MFS_DISABLED
inline constexpr std::uint32_t kStateHilite = 0x80;      // MFS_HILITE
inline constexpr std::uint32_t kSelectPopup = 0x10;      // MF_POPUP in WM_MENUSELECT flags
inline constexpr std::uint32_t kSelectClosed = 0xFFFF;   // WM_MENUSELECT flags when the menu closes
// Captions are read up to this many characters.
inline constexpr int kCaptionLimit = 200;

struct MenuItemView {
    std::uint32_t id = 0;
    std::uint32_t type = 0;
    std::uint32_t state = 0;
    std::uintptr_t data = 0;
    std::string caption;  // UTF-8; empty for owner-drawn and separator items
    MenuHandle submenu = 0;
};

// What the engine needs of a menu, and nothing more.
class MenuAccess {
public:
    virtual ~MenuAccess() = default;
    // The number of items, or -1 when the handle is not a menu.
    virtual int count(MenuHandle menu) const = 0;
    virtual bool readAt(MenuHandle menu, int position, MenuItemView& item) const = 0;
    // By command identifier, searching submenus too.
    virtual bool readCommand(MenuHandle menu, std::uint32_t id, MenuItemView& item) const = 0;
    // Writes the type and, when setData is true, the item data. A text item
    // shows the caption; an owner-drawn item carries it as its name (what
    // assistive technology reads), empty for none; a separator the system
    // draws is left without text.
    virtual bool write(MenuHandle menu, int position, std::uint32_t type, const std::string& caption,
                       bool setData, std::uintptr_t data) = 0;
};

} // namespace lumivane::coolmenu
