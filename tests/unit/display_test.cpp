// Resolution arithmetic, the menu's lengths at each resolution, the choice of
// picture size, and the colours of each theme.
#include "coolmenu/menu_geometry.h"
#include "coolmenu/palette.h"
#include "platform/dpi.h"

#include <doctest/doctest.h>

#include <array>
#include <vector>

using namespace lumivane;
using namespace lumivane::coolmenu;

TEST_CASE("lengths designed at 96 dots per inch scale to the nearest pixel, a half away from zero") {
    CHECK(scaleToDpi(16, 96) == 16);
    CHECK(scaleToDpi(16, 120) == 20);
    CHECK(scaleToDpi(16, 144) == 24);
    CHECK(scaleToDpi(16, 192) == 32);
    CHECK(scaleToDpi(1, 144) == 2);    // 1.5
    CHECK(scaleToDpi(3, 120) == 4);    // 3.75
    CHECK(scaleToDpi(21, 144) == 32);  // 31.5
    CHECK(scaleToDpi(-1, 144) == -2);
    CHECK(scaleToDpi(13, 72) == 10);   // 9.75
    CHECK(usableDpi(0) == 96);
    CHECK(usableDpi(-5) == 96);
    CHECK(usableDpi(168) == 168);
}

TEST_CASE("the menu's geometry is the design at 96 dots per inch and grows with the resolution") {
    MenuGeometry at96 = MenuGeometry::forDpi(96);
    CHECK(at96 == MenuGeometry{});  // the design lengths, to the pixel
    CHECK(MenuGeometry::forDpi(0) == at96);

    struct Expected {
        int dpi, cell, inset, column, bar, text;
    };
    for (Expected e : {Expected{120, 20, 1, 22, 23, 26}, Expected{144, 24, 2, 28, 30, 32},
                       Expected{192, 32, 2, 36, 38, 42}}) {
        CAPTURE(e.dpi);
        MenuGeometry g = MenuGeometry::forDpi(e.dpi);
        CHECK(g.dpi == e.dpi);
        CHECK(g.imageCell == e.cell);
        CHECK(g.imageInset == e.inset);
        CHECK(g.columnWidth == e.column);
        CHECK(g.barStart == e.bar);
        CHECK(g.textStart == e.text);
        // The text never starts inside the bar's free pixel or the column.
        CHECK(g.textStart >= g.barStart);
        CHECK(g.glyphFontHeight == scaleToDpi(13, e.dpi));
        CHECK(g.headingFontHeight == scaleToDpi(11, e.dpi));
    }
}

TEST_CASE("a picture is drawn at the largest size that fits its cell, never blown up") {
    const std::array<int, 4> held{16, 20, 24, 32};
    CHECK(chooseImageSize(held, 16) == 16);
    CHECK(chooseImageSize(held, 20) == 20);
    CHECK(chooseImageSize(held, 24) == 24);
    CHECK(chooseImageSize(held, 28) == 24);  // 175 %: the 24 in a 28 cell, not the 32 squeezed
    CHECK(chooseImageSize(held, 32) == 32);
    CHECK(chooseImageSize(held, 40) == 32);  // 250 %
    CHECK(chooseImageSize(held, 12) == 16);  // below 96: the smallest, shrunk to the cell
    const std::vector<int> unordered{32, 0, 16, 24, -3};
    CHECK(chooseImageSize(unordered, 20) == 16);
    CHECK(chooseImageSize(unordered, 31) == 24);
    CHECK(chooseImageSize(std::vector<int>{}, 16) == 0);
    CHECK(chooseImageSize(std::vector<int>{0}, 16) == 0);
}

TEST_CASE("contrast ratios follow WCAG: 21 for black on white, 1 for a colour on itself, either order") {
    CHECK(relativeLuminance(bgr(0, 0, 0)) == doctest::Approx(0.0));
    CHECK(relativeLuminance(bgr(255, 255, 255)) == doctest::Approx(1.0));
    // The channels weigh differently: green most, blue least.
    CHECK(relativeLuminance(bgr(0, 255, 0)) == doctest::Approx(0.7152));
    CHECK(relativeLuminance(bgr(255, 0, 0)) == doctest::Approx(0.2126));
    CHECK(relativeLuminance(bgr(0, 0, 255)) == doctest::Approx(0.0722));
    CHECK(contrastRatio(bgr(0, 0, 0), bgr(255, 255, 255)) == doctest::Approx(21.0));
    CHECK(contrastRatio(bgr(255, 255, 255), bgr(0, 0, 0)) == doctest::Approx(21.0));
    CHECK(contrastRatio(bgr(90, 40, 200), bgr(90, 40, 200)) == doctest::Approx(1.0));
    // Published pairs: #777777 on white just misses AA, #767676 just meets it.
    CHECK(contrastRatio(bgr(0x77, 0x77, 0x77), bgr(255, 255, 255)) < 4.5);
    CHECK(contrastRatio(bgr(0x76, 0x76, 0x76), bgr(255, 255, 255)) >= 4.5);
    // The low-channel branch of the sRGB curve (at or below 0.04045).
    CHECK(relativeLuminance(bgr(10, 10, 10)) == doctest::Approx(10.0 / 255.0 / 12.92));
    CHECK(bgr(0x12, 0x34, 0x56) == 0x00563412u);
}

TEST_CASE("high contrast wins over the dark theme; the light theme when nothing is said") {
    CHECK(chooseTheme({}) == Theme::light);
    CHECK(chooseTheme({.highContrast = false, .appsUseLightTheme = false}) == Theme::dark);
    CHECK(chooseTheme({.highContrast = true, .appsUseLightTheme = false}) == Theme::highContrast);
    CHECK(chooseTheme({.highContrast = true, .appsUseLightTheme = true}) == Theme::highContrast);
}

TEST_CASE("the light palette is the window's settings over the system's menu colours") {
    const LookSettings look{.selectColor = bgr(1, 2, 3), .foreColor = 0};
    Palette p = paletteFor(Theme::light, look);
    CHECK(p.ground == Colour::sys(syscolor::kMenu));
    CHECK(p.text == Colour::sys(syscolor::kMenuText));
    CHECK(p.selection == Colour::rgb(bgr(1, 2, 3)));
    CHECK(p.selectionText == Colour::sys(syscolor::kHighlightText));
    CHECK(p.disabledText == Colour::sys(syscolor::kGrayText));
    CHECK(p.heading == Colour::sys(syscolor::kButtonShadow));
    CHECK(p.checkedGround == Colour::sys(syscolor::kLight3D));
    CHECK(p.embossed);
    CHECK_FALSE(p.paintsGround);
    CHECK_FALSE(p.fadesDisabledPictures);
    // A host's text colour is kept in the light look only.
    const LookSettings red{.selectColor = 7, .foreColor = bgr(200, 0, 0)};
    CHECK(paletteFor(Theme::light, red).text == Colour::rgb(bgr(200, 0, 0)));
    CHECK(paletteFor(Theme::dark, red).text == Colour::rgb(dark::kText));
    CHECK(paletteFor(Theme::highContrast, red).text == Colour::sys(syscolor::kMenuText));
    CHECK(paletteFor(Theme::highContrast, red).selection == Colour::sys(syscolor::kHighlight));
}

TEST_CASE("the dark palette keeps WCAG AA: 4.5:1 for every text on its ground, 3:1 for lines") {
    Palette p = paletteFor(Theme::dark, LookSettings{.selectColor = bgr(0, 120, 215)});
    std::vector<Colour> all{p.ground, p.text, p.selection, p.selectionText, p.disabledText,
                            p.heading, p.line, p.checkedGround};
    for (const Colour& c : all) CHECK_FALSE(c.system);  // the system's colours are the light ones
    auto ratio = [](Colour a, Colour b) { return contrastRatio(a.value, b.value); };
    CHECK(ratio(p.text, p.ground) >= 4.5);
    CHECK(ratio(p.selectionText, p.selection) >= 4.5);
    CHECK(ratio(p.disabledText, p.ground) >= 4.5);
    CHECK(ratio(p.heading, p.ground) >= 4.5);
    CHECK(ratio(p.text, p.checkedGround) >= 4.5);  // a check mark on a checked column
    CHECK(ratio(p.line, p.ground) >= 3.0);
    // The ground is dark, and the selection, headings and disabled text each
    // look different from what they sit beside.
    CHECK(relativeLuminance(p.ground.value) < 0.05);
    CHECK(p.selection != p.ground);
    CHECK(relativeLuminance(p.heading.value) < relativeLuminance(p.text.value));
    CHECK(relativeLuminance(p.disabledText.value) < relativeLuminance(p.heading.value));
    CHECK_FALSE(p.embossed);
    CHECK(p.paintsGround);
    CHECK(p.fadesDisabledPictures);
}

TEST_CASE("the high-contrast palette uses only the user's system colours, flat, with its pictures as they are") {
    Palette p = paletteFor(Theme::highContrast, LookSettings{.selectColor = bgr(9, 9, 9), .foreColor = 5});
    for (const Colour& c : {p.ground, p.text, p.selection, p.selectionText, p.disabledText, p.heading, p.line,
                            p.checkedGround})
        CHECK(c.system);
    CHECK(p.ground == Colour::sys(syscolor::kMenu));
    CHECK(p.text == Colour::sys(syscolor::kMenuText));
    CHECK(p.selectionText == Colour::sys(syscolor::kHighlightText));
    CHECK(p.disabledText == Colour::sys(syscolor::kGrayText));
    CHECK_FALSE(p.embossed);
    CHECK_FALSE(p.fadesDisabledPictures);
}
