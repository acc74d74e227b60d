#pragma once
#include "coolmenu/item_layout.h"
#include "coolmenu/item_model.h"

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

// What to paint for one owner-drawn menu item, decided without a device
// context: a short list of operations that the GDI layer carries out in order.
namespace lumivane::coolmenu {

// System colour indices, as GetSysColor numbers them.
namespace syscolor {
inline constexpr int kMenu = 4;
inline constexpr int kMenuText = 7;
inline constexpr int kHighlightText = 14;
inline constexpr int kButtonShadow = 16;
inline constexpr int kGrayText = 17;
inline constexpr int kHilight3D = 20;
inline constexpr int kLight3D = 22;
} // namespace syscolor

// Either a system colour index or a fixed 0x00BBGGRR value.
struct Colour {
    bool system = true;
    std::uint32_t value = 0;
    static Colour sys(int index) { return {true, static_cast<std::uint32_t>(index)}; }
    static Colour rgb(std::uint32_t bgr) { return {false, bgr}; }
    bool operator==(const Colour&) const = default;
};

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
    Point at;
    bool disabled = false;
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
};
// One character of the symbol glyph font.
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
                   const LookSettings& look);

// The whole item in rectangle `item`.
PaintPlan planItem(const ItemModel& model, const ItemState& state, const LookSettings& look, const Rect& item,
                   bool ownCheckBitmap);

} // namespace lumivane::coolmenu
