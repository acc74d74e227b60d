#pragma once
#include "folders/folder_slots.h"
#include "platform/twips.h"

#include <array>
#include <cstddef>
#include <optional>
#include <vector>

// Where the customize dialog's controls sit, in pixels for a given screen
// resolution. The design is in twips: 1440 to the inch, so 15 to a pixel at
// 96 dots per inch.
namespace lumivane::folder_dialog {

using Rect = LayoutRect;

struct Layout {
    int clientWidth = 0;
    int clientHeight = 0;
    Rect frame;  // "Select Folders"
    std::array<Rect, kFolderSlotCount> label;   // the row numbers "1." to "10."
    std::array<Rect, kFolderSlotCount> text;    // the path boxes
    std::array<Rect, kFolderSlotCount> browse;  // "Browse"
    std::array<Rect, kFolderSlotCount> clear;   // "Clear"
    Rect ok;
    Rect cancel;
    // Character heights in pixels (a font's negative LOGFONT height).
    int formFontHeight = 0;  // Tahoma 8.25 pt: frame and buttons
    int rowFontHeight = 0;   // Tahoma 9.75 pt: numbers (bold) and path boxes
};

// Every control in the window's client coordinates. The rows are designed in
// the frame's coordinates and moved by its origin; edges are converted rather
// than sizes, so neighbouring controls never drift apart when the resolution
// does not divide the design evenly.
Layout layoutFor(int dpi);

// The row whose path box holds this point of the client area, if any.
std::optional<int> pathBoxAt(const Layout& layout, int x, int y);

// The rows that `count` dropped items go into, in the items' order: the row
// whose box they fell on (or, dropped elsewhere, the first empty row), then
// the empty rows after it. Items beyond the last such row find no row.
std::vector<int> rowsForDrop(const FolderList& rows, std::optional<int> onRow, std::size_t count);

} // namespace lumivane::folder_dialog
