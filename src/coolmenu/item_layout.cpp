#include "coolmenu/item_layout.h"

#include "platform/dpi.h"

#include <algorithm>

namespace lumivane::coolmenu {

bool isHiddenItem(const ItemModel& item) {
    return !item.heading && !item.text.empty() && item.text.front() == '!';
}

Size measureItem(const ItemModel& item, const MenuMetrics& metrics, const TextMeasure& measure,
                 const MenuGeometry& g) {
    if (item.heading) {
        // Half the menu-bar height keeps an empty heading visible as a gap.
        Size a = measure("A");
        return {0, std::max(metrics.menuBarHeight / 2, a.height + 1)};
    }
    if (isHiddenItem(item)) return {0, 0};

    Size text = measure(item.text);
    int height = std::max(text.height, metrics.menuBarHeight);
    if (item.mainMenu) return {text.width, height};
    // A picture is never cut: the item is as tall as its cell and a margin.
    height = std::max(height, g.imageCell + g.pictureMargin);
    // The system adds its own check-mark width to what we ask for; taking it
    // off keeps the popup exactly as wide as the two columns and the text.
    int width = text.width + g.widthExtra + 2 * g.columnWidth - (metrics.menuCheckWidth - 1);
    return {width, height};
}

MenuTextLayout layoutMenuText(std::string_view text, bool popup, bool rightToLeft) {
    MenuTextLayout out;
    const unsigned line = textfmt::kVCenter | textfmt::kSingleLine;
    std::size_t tab = text.find('\t');
    out.label = std::string(text.substr(0, tab));
    if (tab != std::string_view::npos) {
        out.hasShortcut = true;
        out.shortcut = std::string(text.substr(tab + 1));
    }
    unsigned start = rightToLeft ? textfmt::kRight : textfmt::kLeft;
    out.labelFormat = line | (popup ? start : textfmt::kCenter);
    out.shortcutFormat = line | (rightToLeft ? textfmt::kLeft : textfmt::kRight);
    return out;
}

Rect imageColumn(const Rect& item, bool rightToLeft, const MenuGeometry& g) {
    Rect q = item;
    if (rightToLeft)
        q.left = item.right - g.columnWidth;
    else
        q.right = item.left + g.columnWidth;
    return q;
}

Point imagePosition(const Rect& item, bool rightToLeft, const MenuGeometry& g) {
    Rect q = imageColumn(item, rightToLeft, g);
    return {q.left + g.imageInset, item.top + (item.height() - g.imageCell) / 2};
}

Rect pictureRect(Point cell, int cellSize, int size) {
    int drawn = std::min(size, cellSize);
    int x = cell.x + (cellSize - drawn) / 2;
    int y = cell.y + (cellSize - drawn) / 2;
    return {x, y, x + drawn, y + drawn};
}

Rect selectionBar(const Rect& item, bool rightToLeft, bool columnUsed, const MenuGeometry& g) {
    Rect b = item;
    if (!columnUsed) return b;
    if (rightToLeft)
        b.right -= g.barStart;
    else
        b.left += g.barStart;
    return b;
}

Rect popupTextRect(const Rect& item, bool rightToLeft, const MenuGeometry& g) {
    Rect t = item;
    if (rightToLeft) {
        t.left += g.textEndGap;
        t.right -= g.textStart;
    } else {
        t.left += g.textStart;
        t.right -= g.textEndGap;
    }
    return t;
}

Rect menuBarTextRect(const Rect& item, bool selected, const MenuGeometry& g) {
    // An open menu-bar item looks pressed into its sunken frame.
    return selected ? item.moved(scaleToDpi(2, g.dpi), scaleToDpi(1, g.dpi)) : item;
}

Rect headingLine(const Rect& item, const MenuGeometry& g) {
    return {item.left + g.headingInset, item.top + item.height() / 2 - 1, item.right - g.headingInset, item.bottom};
}

Rect flatHeadingLine(const Rect& item, const MenuGeometry& g) {
    int top = item.top + (item.height() - g.imageInset) / 2;
    return {item.left + g.headingInset, top, item.right - g.headingInset, top + g.imageInset};
}

Point markCell(const Rect& column, const MenuGeometry& g) {
    return {column.left + g.markCellOffset, column.top + g.markCellOffset};
}

Rect arrowRect(const Rect& item, bool rightToLeft, const MenuGeometry& g) {
    Rect a = item;
    a.top += g.arrowGap;
    if (rightToLeft)
        a.left += g.arrowGap;
    else
        a.right -= g.arrowGap;
    return a;
}

} // namespace lumivane::coolmenu
