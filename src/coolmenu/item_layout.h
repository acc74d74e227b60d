#pragma once
#include "coolmenu/item_model.h"
#include "coolmenu/menu_geometry.h"

#include <functional>
#include <string>
#include <string_view>

// Sizes and rectangles of owner-drawn menu items, in pixels of the menu's DC,
// for the geometry of the resolution the popup is drawn at (the design lengths
// of 96 dots per inch when none is given).
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

// The cell size of the system's check-box sheet, whatever the resolution.
inline constexpr int kCheckSheetCell = 13;

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

// The two system metrics the measurement reads, at the popup's resolution.
struct MenuMetrics {
    int menuBarHeight = 0;   // SM_CYMENU
    int menuCheckWidth = 0;  // SM_CXMENUCHECK
};

// Size of a text drawn on one line in the menu font.
using TextMeasure = std::function<Size(std::string_view text)>;

inline const MenuGeometry kDesignGeometry{};

// The size the system is asked to reserve for the item.
Size measureItem(const ItemModel& item, const MenuMetrics& metrics, const TextMeasure& measure,
                 const MenuGeometry& g = kDesignGeometry);

// An item whose text begins with "!" takes no room and paints nothing.
bool isHiddenItem(const ItemModel& item);

Rect imageColumn(const Rect& item, bool rightToLeft, const MenuGeometry& g = kDesignGeometry);
// Top-left corner of the picture cell; the vertical centring truncates toward
// zero, so an item lower than the cell lets it stick out one pixel more at the top.
Point imagePosition(const Rect& item, bool rightToLeft, const MenuGeometry& g = kDesignGeometry);
// Where an image of `size` pixels is drawn: centred in the cell at its own
// size, or shrunk to the cell when it is larger.
Rect pictureRect(Point cell, int cellSize, int size);
Rect selectionBar(const Rect& item, bool rightToLeft, bool columnUsed, const MenuGeometry& g = kDesignGeometry);
Rect popupTextRect(const Rect& item, bool rightToLeft, const MenuGeometry& g = kDesignGeometry);
Rect menuBarTextRect(const Rect& item, bool selected, const MenuGeometry& g = kDesignGeometry);
// The etched heading line (two pixels high at its top).
Rect headingLine(const Rect& item, const MenuGeometry& g = kDesignGeometry);
// A flat heading line, one scaled pixel thick, in the middle of the item.
Rect flatHeadingLine(const Rect& item, const MenuGeometry& g);
Point markCell(const Rect& column, const MenuGeometry& g = kDesignGeometry);
Rect arrowRect(const Rect& item, bool rightToLeft, const MenuGeometry& g = kDesignGeometry);

} // namespace lumivane::coolmenu
