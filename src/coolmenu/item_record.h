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
struct ItemRecord {
    bool trueSub = false;   // opens a submenu and is not a menu-bar item
    std::string help;       // text between the two "|" of the caption
    bool asMark = false;    // a check mark or bullet stands in for the image
    bool asCheck = false;   // with asMark: check mark (true) or bullet
    bool mainMenu = false;  // item of the window's menu bar
    int image = 0;          // 0-based image index, -1 for none
    std::uint32_t type = 0; // type flags as written back, MFT_OWNERDRAW included
    std::string text;       // text to draw, markers and help removed
    // The host made the item a separator itself (as opposed to a "-"
    // caption), so restoring gives the separator back instead of a "-" text.
    bool hostSeparator = false;
};

// The item registry: records under short decimal keys, also reachable by
// 1-based position in the order they were added.
class ItemRecords {
public:
    // Creates an empty record under the key; null when the key is taken.
    ItemRecord* add(std::string_view key);
    // The record under the key, or null: a miss is silent.
    ItemRecord* find(std::string_view key) const;
    // The record at a 1-based position, or null.
    ItemRecord* at(int position) const;
    int count() const { return static_cast<int>(items_.size()); }
    // Removes the record under the key; false when there was none.
    bool remove(std::string_view key);
    bool remove(int position);

private:
    std::vector<std::pair<std::string, std::unique_ptr<ItemRecord>>> items_;
};

} // namespace lumivane::coolmenu
