#pragma once
#include "coolmenu/image_source.h"
#include "coolmenu/item_model.h"

#include <windows.h>

#include <string>

// Measuring and painting one owner-drawn menu item with GDI. The decisions are
// made by the paint plan; this layer only carries them out.
namespace lumivane::coolmenu {

struct PaintContext {
    HWND hwnd = nullptr;  // the window the menu belongs to
    HFONT menuFont = nullptr;
    HFONT headingFont = nullptr;
    const MenuImages* images = nullptr;
    // The item's own check bitmap for its current state, or null.
    HBITMAP checkBitmap = nullptr;
};

// Fills the size for WM_MEASUREITEM. A null DC measures on the screen.
bool measureMenuItem(HDC dc, HFONT menuFont, const ItemModel& item, int& width, int& height);

// The system metrics measuring uses are read once and kept: under Wine each
// read costs about a sixth of a millisecond, and every item of every popup is
// measured. Call after a settings change, so the next measure reads them anew.
void forgetMenuMetrics();

// Paints the item for WM_DRAWITEM. Leaves the DC as it found it, except that a
// submenu item's rectangle is taken out of the clip region so the system does
// not draw its own arrow over ours.
void paintMenuItem(HDC dc, const RECT& rcItem, const ItemModel& item, const ItemState& state,
                   const LookSettings& look, const PaintContext& ctx);

// Item text in the menu font; a tab splits it into label and shortcut, which
// go to opposite ends of the rectangle. The background mode is the caller's.
void drawMenuText(HDC dc, HFONT menuFont, const RECT& rect, const std::string& text, COLORREF colour, bool popup,
                  bool rightToLeft);

// A check mark or bullet in the image column; draws nothing when the item has
// its own check bitmap.
bool draw3DMark(HDC dc, const RECT& column, const ItemState& state, HBITMAP checkBitmap, bool asCheck,
                const LookSettings& look);

// One character of the symbol font that holds check marks, bullets and arrows.
void drawMarlettGlyph(HDC dc, wchar_t glyph, COLORREF colour, const RECT& rect, UINT format);

} // namespace lumivane::coolmenu
