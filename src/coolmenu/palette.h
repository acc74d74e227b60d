#pragma once
#include "coolmenu/colour.h"
#include "coolmenu/item_model.h"

// The colours a popup is drawn in: the classic light look, a dark one for
// users whose apps use the dark theme, and the user's own high-contrast colours.
namespace lumivane::coolmenu {

// What the system says about the user's choice.
struct ThemeSettings {
    bool highContrast = false;      // SPI_GETHIGHCONTRAST has HCF_HIGHCONTRASTON
    bool appsUseLightTheme = true;  // Personalize\AppsUseLightTheme, 1 when absent
};

// High contrast wins over the dark theme: its colours are the user's own.
Theme chooseTheme(const ThemeSettings& settings);

struct Palette {
    Colour ground;         // the item's background
    Colour text;
    Colour selection;      // the bar behind a selected item
    Colour selectionText;
    Colour disabledText;
    Colour heading;        // heading captions
    Colour line;           // heading lines and frames, when drawn flat
    Colour checkedGround;  // the picture column of a checked item
    // The classic look: 3-D edges, engraved headings and disabled text,
    // dithered marks, the system's check boxes. Off, everything is drawn flat
    // in the colours above.
    bool embossed = true;
    // Each item paints its own ground: the system's is the light one.
    bool paintsGround = false;
    // Disabled pictures drawn faded; otherwise embossed (light) or as they are
    // (high contrast, where only the text colour may say "disabled").
    bool fadesDisabledPictures = false;
};

// The dark theme's colours. Text on its ground, and on the selection, keeps
// at least the 4.5:1 contrast of WCAG AA; lines keep 3:1.
namespace dark {
inline constexpr std::uint32_t kGround = bgr(43, 43, 43);
inline constexpr std::uint32_t kText = bgr(242, 242, 242);
inline constexpr std::uint32_t kSelection = bgr(38, 79, 120);
inline constexpr std::uint32_t kSelectionText = bgr(255, 255, 255);
inline constexpr std::uint32_t kDisabledText = bgr(150, 150, 150);
inline constexpr std::uint32_t kHeading = bgr(176, 176, 176);
inline constexpr std::uint32_t kLine = bgr(120, 120, 120);
inline constexpr std::uint32_t kCheckedGround = bgr(64, 64, 64);
} // namespace dark

// The light palette is the window's own settings (ForeColor, SelectColor) over
// the system's menu colours, as the engine has always drawn. The dark and
// high-contrast palettes ignore those settings: a colour chosen for a light
// menu may be unreadable on a dark one, and high contrast is the user's.
Palette paletteFor(Theme theme, const LookSettings& look);

} // namespace lumivane::coolmenu
