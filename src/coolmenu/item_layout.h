#pragma once
#include "coolmenu/item_model.h"

#include <functional>
#include <string>
#include <string_view>

// Sizes and rectangles of owner-drawn menu items, in pixels of the menu's DC.
// "Near side" is the image-column side: left normally, right when mirrored.
namespace lumivane::coolmenu {

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    Rect moved(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    bool operator==(const Rect&) const = default;
};

inline constexpr int kImageSize = 16;
inline constexpr int kImageColumnWidth = kImageSize + 2;
inline constexpr int kBarStart = 19;
inline constexpr int kTextStart = 21;
inline constexpr int kTextEndGap = 18;  // room for the submenu arrow
inline constexpr int kHeadingInset = 15;
inline constexpr int kMarkCellSize = 13;
inline constexpr int kMarkCellOffset = 3;
inline constexpr int kArrowGap = 2;

// Text layout bits, with the values DrawText takes.
namespace textfmt {
inline constexpr unsigned kLeft = 0x0;
inline constexpr unsigned kCenter = 0x1;
inline constexpr unsigned kRight = 0x2;
inline constexpr unsigned kVCenter = 0x4;
inline constexpr unsigned kSingleLine = 0x20;
inline constexpr unsigned kCentred = kCenter | kVCenter | kSingleLine;
} // namespace textfmt

// How one item text is laid out: a tab splits it into a label at the start
// side and a shortcut at the far side.
struct MenuTextLayout {
    std::string label;
    std::string shortcut;
    bool hasShortcut = false;
    unsigned labelFormat = 0;
    unsigned shortcutFormat = 0;
};
MenuTextLayout layoutMenuText(std::string_view text, bool popup, bool rightToLeft);

// The two system metrics the measurement reads.
struct MenuMetrics {
    int menuBarHeight = 0;   // SM_CYMENU
    int menuCheckWidth = 0;  // SM_CXMENUCHECK
};

// Size of a text drawn on one line in the menu font.
using TextMeasure = std::function<Size(std::string_view text)>;

// The size the system is asked to reserve for the item.
Size measureItem(const ItemModel& item, const MenuMetrics& metrics, const TextMeasure& measure);

// An item whose text begins with "!" takes no room and paints nothing.
bool isHiddenItem(const ItemModel& item);

Rect imageColumn(const Rect& item, bool rightToLeft);
// Top-left corner of the image; the vertical centring truncates toward zero,
// so an item lower than the image lets it stick out one pixel more at the top.
Point imagePosition(const Rect& item, bool rightToLeft);
Rect selectionBar(const Rect& item, bool rightToLeft, bool columnUsed);
Rect popupTextRect(const Rect& item, bool rightToLeft);
Rect menuBarTextRect(const Rect& item, bool selected);
Rect headingLine(const Rect& item);
Point markCell(const Rect& column);
Rect arrowRect(const Rect& item, bool rightToLeft);

} // namespace lumivane::coolmenu
