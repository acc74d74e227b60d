#include "coolmenu/item_layout.h"

#include <algorithm>

namespace lumivane::coolmenu {

bool isHiddenItem(const ItemModel& item) {
    return !item.heading && !item.text.empty() && item.text.front() == '!';
}

Size measureItem(const ItemModel& item, const MenuMetrics& metrics, const TextMeasure& measure) {
    if (item.heading) {
        // Half the menu-bar height keeps an empty heading visible as a gap.
        Size a = measure("A");
        return {0, std::max(metrics.menuBarHeight / 2, a.height + 1)};
    }
    if (isHiddenItem(item)) return {0, 0};

    Size text = measure(item.text);
    int height = std::max(text.height, metrics.menuBarHeight);
    if (item.mainMenu) return {text.width, height};
    // The system adds its own check-mark width to what we ask for; taking it
    // off keeps the popup exactly as wide as the two columns and the text.
    int width = text.width + 5 + 2 * kImageColumnWidth - (metrics.menuCheckWidth - 1);
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

Rect imageColumn(const Rect& item, bool rightToLeft) {
    Rect q = item;
    if (rightToLeft)
        q.left = item.right - kImageColumnWidth;
    else
        q.right = item.left + kImageColumnWidth;
    return q;
}

Point imagePosition(const Rect& item, bool rightToLeft) {
    Rect q = imageColumn(item, rightToLeft);
    return {q.left + 1, item.top + (item.height() - kImageSize) / 2};
}

Rect selectionBar(const Rect& item, bool rightToLeft, bool columnUsed) {
    Rect b = item;
    if (!columnUsed) return b;
    if (rightToLeft)
        b.right -= kBarStart;
    else
        b.left += kBarStart;
    return b;
}

Rect popupTextRect(const Rect& item, bool rightToLeft) {
    Rect t = item;
    if (rightToLeft) {
        t.left += kTextEndGap;
        t.right -= kTextStart;
    } else {
        t.left += kTextStart;
        t.right -= kTextEndGap;
    }
    return t;
}

Rect menuBarTextRect(const Rect& item, bool selected) {
    // An open menu-bar item looks pressed into its sunken frame.
    return selected ? item.moved(2, 1) : item;
}

Rect headingLine(const Rect& item) {
    return {item.left + kHeadingInset, item.top + item.height() / 2 - 1, item.right - kHeadingInset, item.bottom};
}

Point markCell(const Rect& column) {
    return {column.left + kMarkCellOffset, column.top + kMarkCellOffset};
}

Rect arrowRect(const Rect& item, bool rightToLeft) {
    Rect a = item;
    a.top += kArrowGap;
    if (rightToLeft)
        a.left += kArrowGap;
    else
        a.right -= kArrowGap;
    return a;
}

} // namespace lumivane::coolmenu
