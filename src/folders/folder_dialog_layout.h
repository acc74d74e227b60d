#pragma once
#include "folders/folder_slots.h"
#include "platform/twips.h"

#include <array>
#include <optional>
#include <string>
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
    Rect shortcutLabel;  // "Shortcut key:", under the frame
    Rect shortcutBox;    // the box that records the key, below the path boxes' column
    Rect shortcutSaid;   // what is said of the key, under its box
    Rect ok;
    Rect cancel;
    // Character heights in pixels (a font's negative LOGFONT height).
    int formFontHeight = 0;  // Tahoma 8.25 pt: frame, buttons and the shortcut key's label and words
    int rowFontHeight = 0;   // Tahoma 9.75 pt: numbers (bold), path boxes and the shortcut-key box
};

// Every control in the window's client coordinates. The rows are designed in
// the frame's coordinates and moved by its origin; edges are converted rather
// than sizes, so neighbouring controls never drift apart when the resolution
// does not divide the design evenly.
Layout layoutFor(int dpi);

// The row whose path box holds this point of the client area, if any.
std::optional<int> pathBoxAt(const Layout& layout, int x, int y);

// Puts dropped paths into the rows, in order: the first into the row whose box
// they fell on (or, dropped elsewhere, into the first empty row), the others
// into the empty rows after it. Paths beyond the last such row find no row.
void dropInto(FolderSlots& rows, std::optional<int> onRow, const std::vector<std::string>& paths);

} // namespace lumivane::folder_dialog
