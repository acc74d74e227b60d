#include "coolmenu/palette.h"

#include <algorithm>
#include <cmath>

namespace lumivane::coolmenu {

namespace {
double linear(std::uint32_t channel) {
    double c = static_cast<double>(channel & 0xFF) / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}
} // namespace

double relativeLuminance(std::uint32_t colour) {
    return 0.2126 * linear(colour) + 0.7152 * linear(colour >> 8) + 0.0722 * linear(colour >> 16);
}

double contrastRatio(std::uint32_t a, std::uint32_t b) {
    double la = relativeLuminance(a), lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Theme chooseTheme(const ThemeSettings& settings) {
    if (settings.highContrast) return Theme::highContrast;
    return settings.appsUseLightTheme ? Theme::light : Theme::dark;
}

Palette paletteFor(Theme theme, const LookSettings& look) {
    Palette p;
    switch (theme) {
    case Theme::light:
        p.ground = Colour::sys(syscolor::kMenu);
        p.text = look.foreColor != 0 ? Colour::rgb(look.foreColor) : Colour::sys(syscolor::kMenuText);
        p.selection = Colour::rgb(look.selectColor);
        p.selectionText = Colour::sys(syscolor::kHighlightText);
        p.disabledText = Colour::sys(syscolor::kGrayText);
        p.heading = Colour::sys(syscolor::kButtonShadow);
        p.line = Colour::sys(syscolor::kButtonShadow);
        p.checkedGround = Colour::sys(syscolor::kLight3D);
        break;
    case Theme::dark:
        p.ground = Colour::rgb(dark::kGround);
        p.text = Colour::rgb(dark::kText);
        p.selection = Colour::rgb(dark::kSelection);
        p.selectionText = Colour::rgb(dark::kSelectionText);
        p.disabledText = Colour::rgb(dark::kDisabledText);
        p.heading = Colour::rgb(dark::kHeading);
        p.line = Colour::rgb(dark::kLine);
        p.checkedGround = Colour::rgb(dark::kCheckedGround);
        p.embossed = false;
        p.paintsGround = true;
        p.fadesDisabledPictures = true;
        break;
    case Theme::highContrast:
        p.ground = Colour::sys(syscolor::kMenu);
        p.text = Colour::sys(syscolor::kMenuText);
        p.selection = Colour::sys(syscolor::kHighlight);
        p.selectionText = Colour::sys(syscolor::kHighlightText);
        p.disabledText = Colour::sys(syscolor::kGrayText);
        p.heading = Colour::sys(syscolor::kMenuText);
        p.line = Colour::sys(syscolor::kMenuText);
        p.checkedGround = Colour::sys(syscolor::kMenu);
        p.embossed = false;
        p.paintsGround = true;
        break;
    }
    return p;
}

} // namespace lumivane::coolmenu
