#pragma once
#include <span>

// The menu's lengths at the resolution of the monitor a popup opens on. At 96
// dots per inch they are the engine's design lengths to the pixel; elsewhere
// each is scaled and rounded on its own, as the system rounds its metrics.
namespace lumivane::coolmenu {

struct MenuGeometry {
    int dpi = 96;
    int imageCell = 16;      // the square a picture is centred in
    int imageInset = 1;      // from the column's near edge to the cell
    int columnWidth = 18;    // the picture column
    int barStart = 19;       // where the selection bar begins when the column is used
    int textStart = 21;
    int textEndGap = 18;     // room for the submenu arrow
    int headingInset = 15;
    int markCellSize = 13;
    int markCellOffset = 3;
    int arrowGap = 2;
    int widthExtra = 5;      // added to the text's width besides the two columns
    int pictureMargin = 2;   // an item is at least this much taller than the cell
    int glyphFontHeight = 13;
    int headingFontHeight = 11;

    static MenuGeometry forDpi(int dpi);
    bool operator==(const MenuGeometry&) const = default;
};

// The image size to draw in a cell of `cell` pixels, from the sizes an image
// list holds: the largest that fits, so a picture is never blown up; the
// smallest when none fits (it is then drawn shrunk to the cell). 0 when the
// list holds no size.
int chooseImageSize(std::span<const int> sizes, int cell);

} // namespace lumivane::coolmenu
