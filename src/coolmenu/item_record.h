#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lumivane::coolmenu {

// One converted menu item: what measuring and drawing need, parsed once from
// the caption when the item became owner-drawn.
struct CMyItemData {
    bool bTrueSub = false;    // opens a submenu and is not a menu-bar item
    std::string sMenuHelp;    // text between the two "|" of the caption
    bool bAsMark = false;     // a check mark or bullet stands in for the image
    bool bAsCheck = false;    // with bAsMark: check mark (true) or bullet
    bool bMainMenu = false;   // item of the window's menu bar
    std::int16_t iButton = 0; // 0-based image index, -1 for none
    std::uint32_t fType = 0;  // type flags as written back, MFT_OWNERDRAW included
    std::string sMenuText;    // text to draw, markers and help removed
    // The host made the item a separator itself (as opposed to a "-"
    // caption), so restoring gives the separator back instead of a "-" text.
    bool bHostSeparator = false;
};

// The item registry: records under short decimal keys, also reachable by
// 1-based position in the order they were added.
class CMyItemDatas {
public:
    // Creates an empty record under the key; null when the key is taken.
    CMyItemData* Add(std::string_view sKey);
    // The record under the key, or null: a miss is silent.
    CMyItemData* Item(std::string_view key) const;
    // The record at a 1-based position, or null.
    CMyItemData* Item(int position) const;
    int Count() const { return static_cast<int>(items_.size()); }
    // Removes the record under the key; false when there was none.
    bool Remove(std::string_view key);
    bool Remove(int position);

private:
    std::vector<std::pair<std::string, std::unique_ptr<CMyItemData>>> items_;
};

} // namespace lumivane::coolmenu
