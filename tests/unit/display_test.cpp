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

TEST_CASE("lengths scale from 96 dots per inch to the nearest pixel, and the menu's geometry with them") {
    // {length, dpi, pixels}: halves go away from zero.
    for (auto [length, dpi, pixels] : std::vector<std::array<int, 3>>{
             {16, 120, 20}, {16, 192, 32}, {1, 144, 2}, {3, 120, 4}, {21, 144, 32}, {-1, 144, -2}, {13, 72, 10}}) {
        CAPTURE(length);
        CHECK(scaleToDpi(length, dpi) == pixels);
    }
    CHECK(usableDpi(0) == 96);
    CHECK(usableDpi(-5) == 96);
    CHECK(usableDpi(168) == 168);

    CHECK(MenuGeometry::forDpi(96) == MenuGeometry{});  // the design lengths, to the pixel
    CHECK(MenuGeometry::forDpi(0) == MenuGeometry{});
    struct Expected {
        int dpi, cell, inset, column, bar, text;
    };
    for (Expected e : {Expected{120, 20, 1, 22, 23, 26}, Expected{144, 24, 2, 28, 30, 32},
                       Expected{192, 32, 2, 36, 38, 42}}) {
        CAPTURE(e.dpi);
        MenuGeometry g = MenuGeometry::forDpi(e.dpi);
        CHECK(std::array{g.dpi, g.imageCell, g.imageInset, g.columnWidth, g.barStart, g.textStart} ==
              std::array{e.dpi, e.cell, e.inset, e.column, e.bar, e.text});
        CHECK(g.glyphFontHeight == scaleToDpi(13, e.dpi));
        CHECK(g.headingFontHeight == scaleToDpi(11, e.dpi));
    }
}

TEST_CASE("a picture is drawn at the largest size that fits its cell, never blown up") {
    const std::array<int, 4> held{16, 20, 24, 32};
    // 28 (175 %): the 24 in its cell, not the 32 squeezed; 12: the smallest, shrunk.
    for (auto [cell, size] : std::vector<std::array<int, 2>>{{16, 16}, {20, 20}, {28, 24}, {32, 32}, {40, 32}, {12, 16}})
        CHECK(chooseImageSize(held, cell) == size);
    const std::vector<int> unordered{32, 0, 16, 24, -3};
    CHECK(chooseImageSize(unordered, 20) == 16);
    CHECK(chooseImageSize(unordered, 31) == 24);
    CHECK(chooseImageSize(std::vector<int>{}, 16) == 0);
    CHECK(chooseImageSize(std::vector<int>{0}, 16) == 0);
}

TEST_CASE("the theme and its palette: high contrast over dark, and the dark palette keeps WCAG AA") {
    CHECK(chooseTheme({}) == Theme::light);
    CHECK(chooseTheme({.highContrast = false, .appsUseLightTheme = false}) == Theme::dark);
    CHECK(chooseTheme({.highContrast = true, .appsUseLightTheme = false}) == Theme::highContrast);
    CHECK(chooseTheme({.highContrast = true, .appsUseLightTheme = true}) == Theme::highContrast);

    // The ratio the check below rests on: 21 for black on white either way, 1 for a colour on
    // itself, and the published pair where #777777 on white just misses AA and #767676 meets it.
    CHECK(contrastRatio(bgr(0, 0, 0), bgr(255, 255, 255)) == doctest::Approx(21.0));
    CHECK(contrastRatio(bgr(255, 255, 255), bgr(0, 0, 0)) == doctest::Approx(21.0));
    CHECK(contrastRatio(bgr(90, 40, 200), bgr(90, 40, 200)) == doctest::Approx(1.0));
    CHECK(contrastRatio(bgr(0x77, 0x77, 0x77), bgr(255, 255, 255)) < 4.5);
    CHECK(contrastRatio(bgr(0x76, 0x76, 0x76), bgr(255, 255, 255)) >= 4.5);
    CHECK(relativeLuminance(bgr(0, 255, 0)) == doctest::Approx(0.7152));  // green weighs most
    CHECK(relativeLuminance(bgr(10, 10, 10)) == doctest::Approx(10.0 / 255.0 / 12.92));  // the curve's low branch

    Palette p = paletteFor(Theme::dark, LookSettings{.selectColor = bgr(0, 120, 215)});
    for (const Colour& c : {p.ground, p.text, p.selection, p.selectionText, p.disabledText, p.heading, p.line,
                            p.checkedGround})
        CHECK_FALSE(c.system);  // the system's colours are the light ones
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

    // A host's text colour is kept in the light look only.
    const LookSettings red{.selectColor = 7, .foreColor = bgr(200, 0, 0)};
    CHECK(paletteFor(Theme::light, red).text == Colour::rgb(bgr(200, 0, 0)));
    CHECK(paletteFor(Theme::dark, red).text == Colour::rgb(dark::kText));
    CHECK(paletteFor(Theme::highContrast, red).text == Colour::sys(syscolor::kMenuText));
    CHECK(paletteFor(Theme::highContrast, red).selection == Colour::sys(syscolor::kHighlight));
}
