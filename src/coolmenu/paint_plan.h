#pragma once
#include "coolmenu/colour.h"
#include "coolmenu/item_layout.h"
#include "coolmenu/item_model.h"

#include "coolmenu/menu_geometry.h"
#include "coolmenu/palette.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

// What to paint for one owner-drawn menu item, decided without a device
// context: a short list of operations that the GDI layer carries out in order.
namespace lumivane::coolmenu {

// Edge kinds and sides, with the values DrawEdge takes.
namespace edge {
inline constexpr unsigned kRaisedInner = 0x4;
inline constexpr unsigned kSunkenOuter = 0x2;
inline constexpr unsigned kEtched = 0x6;
inline constexpr unsigned kTop = 0x2;
inline constexpr unsigned kAllSides = 0xF;
} // namespace edge

struct FillOp {
    Rect rect;
    Colour colour;
};
// A checkerboard of the two colours, the ground of a flat mark.
struct DitherOp {
    Rect rect;
    Colour back;
    Colour fore;
};
struct EdgeOp {
    Rect rect;
    unsigned edge = 0;
    unsigned sides = 0;
};
struct IconOp {
    int image = 0;  // counted from 1, as the image list numbers them
    Point at;       // the picture cell's top-left corner
    bool disabled = false;  // embossed in the system's 3-D colours
    int cell = 16;          // the cell's side; the image is chosen to fit it
    bool faded = false;     // blended into the ground, for a disabled item in a flat look
};
// One 13 x 13 cell of the system check-box sheet; a radio button is first
// cut out with the system's round mask.
struct CheckCellOp {
    Point at;
    Point source;
    bool radio = false;
};
// Item text in the menu font, split at a tab into label and shortcut.
struct ItemTextOp {
    Rect rect;
    std::string text;
    Colour colour;
    bool popup = true;
    bool rightToLeft = false;
};
// Heading text in the heading font, centred on one line.
struct HeadingTextOp {
    Rect rect;
    std::string text;
    Colour colour;
    bool opaque = false;
    std::optional<Colour> back;  // the opaque ground; the DC's own when none
};
// One character of the symbol glyph font, at the geometry's glyph height.
struct GlyphOp {
    char glyph = 0;
    Colour colour;
    Rect rect;
    unsigned format = 0;
};
// Keeps the system from painting its own submenu arrow over ours.
struct ExcludeClipOp {
    Rect rect;
};

using PaintOp = std::variant<FillOp, DitherOp, EdgeOp, IconOp, CheckCellOp, ItemTextOp, HeadingTextOp, GlyphOp,
                             ExcludeClipOp>;
using PaintPlan = std::vector<PaintOp>;

inline constexpr char kGlyphCheck = 'a';
inline constexpr char kGlyphBullet = 'h';
inline constexpr char kGlyphArrowRight = '4';
inline constexpr char kGlyphArrowLeft = '3';

// foreColor, or the system menu-text colour while it is 0.
Colour foreColour(const LookSettings& look);
Colour itemTextColour(const ItemModel& item, const ItemState& state, const LookSettings& look);

// Whether an item without an image gets a mark in its image column.
// ownCheckBitmap: the item has its own check bitmap for its current state.
bool wantsMark(const ItemModel& item, const ItemState& state, const LookSettings& look, bool ownCheckBitmap);

// The mark in image column `column`; nothing when the item has its own bitmap.
PaintPlan planMark(const Rect& column, const ItemState& state, bool asCheck, bool ownCheckBitmap,
                   const LookSettings& look, const MenuGeometry& g = kDesignGeometry);

// The whole item in rectangle `item`, in the look's palette: the classic
// embossed drawing for the light theme, a flat one for the dark theme and
// high contrast.
PaintPlan planItem(const ItemModel& model, const ItemState& state, const LookSettings& look, const Rect& item,
                   bool ownCheckBitmap, const MenuGeometry& g = kDesignGeometry);

} // namespace lumivane::coolmenu
