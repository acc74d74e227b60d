#include "coolmenu/menu_geometry.h"

#include "platform/dpi.h"

#include <algorithm>

namespace lumivane::coolmenu {

MenuGeometry MenuGeometry::forDpi(int dpi) {
    dpi = usableDpi(dpi);
    MenuGeometry g;
    auto at = [dpi](int length) { return scaleToDpi(length, dpi); };
    g.dpi = dpi;
    g.imageCell = at(16);
    g.imageInset = at(1);
    // The column is the cell with its inset on both sides, and the bar leaves
    // one free pixel (scaled) after it, as at 96 dots per inch.
    g.columnWidth = g.imageCell + 2 * g.imageInset;
    g.barStart = g.columnWidth + g.imageInset;
    g.textStart = at(21);
    g.textEndGap = at(18);
    g.headingInset = at(15);
    g.markCellSize = at(13);
    g.markCellOffset = at(3);
    g.arrowGap = at(2);
    g.widthExtra = at(5);
    g.pictureMargin = at(2);
    g.glyphFontHeight = at(13);
    g.headingFontHeight = at(11);
    return g;
}

int chooseImageSize(std::span<const int> sizes, int cell) {
    int fitting = 0, smallest = 0;
    for (int size : sizes) {
        if (size <= 0) continue;
        if (size <= cell) fitting = std::max(fitting, size);
        smallest = smallest == 0 ? size : std::min(smallest, size);
    }
    return fitting != 0 ? fitting : smallest;
}

} // namespace lumivane::coolmenu
